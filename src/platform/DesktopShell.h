#pragma once
// Hands documents and addresses to the desktop's handlers and starts programs
// directly with their argument lists.

#include "platform/Shell.h"

#include <QUrl>

class DesktopShell : public Shell {
public:
    using Shell::launch;
    using Shell::open;

    // A text beginning with http:, https:, mailto:, file: or ftp: is an
    // address; anything else is a local file, which must exist.
    bool open(const QString& documentOrAddress, QString* error) override;
    bool launch(const QString& program, const QStringList& arguments, QString* error) override;

    // The address open() hands to the desktop for a text; invalid when it
    // names no existing local file and no known kind of address.
    static QUrl urlFor(const QString& documentOrAddress);
};
