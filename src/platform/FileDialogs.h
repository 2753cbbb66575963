#pragma once
// Seam: the main window's shared open and save dialogs and the colour dialog.
// Callers configure a FileDialog object the way the program's commands describe
// it (title, "desc|pattern|desc|pattern" filter, options …) and call execute();
// a FileDialogRunner shows it (the real QFileDialog, or a scripted fake in tests).

#include <QFlags>
#include <QList>
#include <QString>
#include <optional>

enum class FileDialogKind { Open, Save };

enum class FileDialogOption {
    OverwritePrompt = 0x01, // ask before replacing an existing file (save)
    HideReadOnly = 0x02,    // no "open read-only" box
    PathMustExist = 0x04,
    FileMustExist = 0x08,    // open
    NoReadOnlyReturn = 0x10, // refuse a read-only file
    EnableSizing = 0x20,
};
Q_DECLARE_FLAGS(FileDialogOptions, FileDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileDialogOptions)

class FileDialog;

class FileDialogRunner {
public:
    virtual ~FileDialogRunner() = default;
    // Shows the dialog; on acceptance stores the chosen path in dialog.fileName
    // (and the chosen filter in dialog.filterIndex) and returns true.
    virtual bool run(FileDialog& dialog) = 0;
    // A chosen file was read or written: its folder is where a later dialog
    // that names no initial folder starts.
    virtual void rememberFolderOf(const QString& filePath) = 0;
};

class FileDialog {
public:
    FileDialog(FileDialogKind kind, FileDialogRunner* runner) : kind_(kind), runner_(runner) {}

    FileDialogKind kind() const { return kind_; }
    bool execute() { return runner_ && runner_->run(*this); }
    // Tells the dialogs that the chosen file (fileName) was read or written,
    // so that later dialogs start in its folder. Callers skip it when the
    // file operation failed: a folder where nothing could be saved is not
    // worth coming back to.
    void remember() {
        if (runner_)
            runner_->rememberFolderOf(fileName);
    }

    QString title;
    QString filter;      // "desc|pattern;pattern|desc|pattern"
    int filterIndex = 1; // 1-based, as the filter list counts
    QString initialDir;  // empty: the dialog's current folder
    QString defaultExt;  // without the dot; added to a name typed without extension
    QString fileName;    // in: preset name; out: the chosen full path
    FileDialogOptions options;

private:
    FileDialogKind kind_;
    FileDialogRunner* runner_;
};

// True for a path in a file system the kernel makes up (/proc, /sys, /dev and
// everything below, links followed): listing such a folder can hang on files
// that never end, so no dialog starts there.
bool isPseudoFileSystemPath(const QString& path);

// The pattern of a filter entry that lists the files the user may run, the
// programs, whatever their names ("プログラム|" + ExecutableFilesPattern): on
// Linux a program has no extension, only its executable mark.
inline const QString ExecutableFilesPattern = QStringLiteral("<executable>");

// Converts "desc|pattern;pattern|desc|pattern" into Qt's name filters
// ("desc (pattern pattern)"), one per pair, in order.
QStringList toQtNameFilters(const QString& filter);

// Seam: the colour chooser. Colours are 0xRRGGBB here.
class ColorDialogService {
public:
    virtual ~ColorDialogService() = default;
    // initial: the colour selected when the chooser opens (none: the chooser's own).
    // customColors: preset custom colours, in order. Returns the chosen colour, or
    // nothing when the user cancels.
    virtual std::optional<quint32> pick(std::optional<quint32> initial,
                                        const QList<quint32>& customColors) = 0;
};
