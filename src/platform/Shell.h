#pragma once
// Seam: hands documents, addresses and programs to the desktop.

#include <QString>
#include <QStringList>

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a local file with its default handler, or an address ("http…",
    // "mailto:…") with the desktop's handler. Returns false when nothing took
    // it; error (when given) then says why, in words for the status line.
    virtual bool open(const QString& documentOrAddress, QString* error) = 0;
    // Starts a program with the given arguments, detached. Never through a
    // shell command line. Returns false when it could not be started; error
    // (when given) then says why, in words for the status line.
    virtual bool launch(const QString& program, const QStringList& arguments, QString* error) = 0;

    bool open(const QString& documentOrAddress) { return open(documentOrAddress, nullptr); }
    bool launch(const QString& program, const QStringList& arguments) {
        return launch(program, arguments, nullptr);
    }
};
