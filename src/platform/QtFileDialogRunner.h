#pragma once
// The shared open and save dialogs as Qt's own (non-native) QFileDialog.
//
// The non-native dialog is used everywhere: it needs no desktop portal or
// platform theme, behaves the same on every desktop, and lets the program make
// its own checks (folder and file must exist, read-only files refused, the
// overwrite question) with its own Japanese messages before the dialog closes.

#include "platform/FileDialogs.h"

#include <QPointer>
#include <QString>

class QWidget;

class QtFileDialogRunner : public FileDialogRunner {
public:
    // parent: the window that owns the dialogs; none: the active window at the
    // moment each dialog is shown.
    explicit QtFileDialogRunner(QWidget* parent = nullptr);

    bool run(FileDialog& dialog) override;
    // Remembers the file's folder, unless it lies in a pseudo file system.
    void rememberFolderOf(const QString& filePath) override;

    // The folder of the file last read or written through a dialog (shown
    // next when a dialog names no initial folder); empty before the first.
    QString lastFolder() const { return lastFolder_; }

private:
    QString startFolder(const QString& initialDir) const;

    QPointer<QWidget> parent_;
    bool fixedParent_;
    QString lastFolder_;
};
