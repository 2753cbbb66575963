#pragma once
// Seam: hands documents, addresses and programs to the desktop.

#include <QString>
#include <QStringList>

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a local file with its default handler, or an address ("http…",
    // "mailto:…") with the desktop's handler. Returns false when nothing took it.
    virtual bool open(const QString& documentOrAddress) = 0;
    // Starts a program with the given arguments, detached. Never through a
    // shell command line. Returns false when it could not be started.
    virtual bool launch(const QString& program, const QStringList& arguments) = 0;
};
