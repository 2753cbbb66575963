#include "platform/QtFileDialogRunner.h"

#include "platform/QtMessageService.h"
#include "resources/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMimeDatabase>
#include <QSortFilterProxyModel>
#include <QTreeView>

namespace {

// The columns of the dialog's detailed list.
constexpr int SizeColumn = 1;
constexpr int DateColumn = 3;

// "*.*" means every file, with or without an extension, as users of the
// filter strings expect; Qt's "*.*" would skip names without a dot.
QStringList nameFiltersFor(const QString& filter) {
    QStringList filters = toQtNameFilters(filter);
    for (QString& nameFilter : filters) {
        const qsizetype open = nameFilter.lastIndexOf(u'(');
        if (open < 0)
            continue;
        QStringList patterns = nameFilter.mid(open + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            if (pattern == QStringLiteral("*.*") || pattern == ExecutableFilesPattern)
                pattern = QStringLiteral("*");
        }
        nameFilter = nameFilter.left(open + 1) + patterns.join(u' ') + u')';
    }
    return filters;
}

// Which of filters the dialog reports as chosen: the whole filter, or (as
// the dialog shows it without its patterns) the part before them.
int filterIndexOf(const QStringList& filters, const QString& selected) {
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString& filter = filters[i];
        if (filter == selected || filter.left(filter.lastIndexOf(u'(')).trimmed() == selected.trimmed())
            return int(i);
    }
    return -1;
}

// The index of the filter entry that lists programs only, or -1.
qsizetype executablesEntry(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (parts[i] == ExecutableFilesPattern)
            return i / 2;
    }
    return -1;
}

// While the programs entry is chosen, only folders and executable files show.
class ExecutablesOnly : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setActive(bool active) {
        if (active_ == active)
            return;
        active_ = active;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!active_)
            return true;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }

private:
    bool active_ = false;
};

bool isReadOnly(const QFileInfo& file) {
    // The owner's write bit is the file's own read-only mark; it counts even
    // for a user who could write the file anyway.
    return !file.isWritable() || !file.permission(QFileDevice::WriteOwner);
}

// Types and icons of files in a pseudo file system come from their names
// alone: finding them from the contents reads the file, and some of those
// files never end (/proc/kmsg), which hangs the dialog. Qt's dialog may list
// such a folder before it is told where to start, because it returns to the
// folder it showed last, as it remembers it itself.
class NameOnlyForPseudoFiles : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override {
        if (isPseudoFile(info))
            return QFileIconProvider::icon(QAbstractFileIconProvider::File);
        return QFileIconProvider::icon(info);
    }
    QString type(const QFileInfo& info) const override {
        if (isPseudoFile(info))
            return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
        return QFileIconProvider::type(info);
    }

private:
    static bool isPseudoFile(const QFileInfo& info) {
        return info.isFile() && isPseudoFileSystemPath(info.absoluteFilePath());
    }
};

class CheckedFileDialog : public QFileDialog {
public:
    CheckedFileDialog(QWidget* parent, FileDialogKind kind, FileDialogOptions options)
        : QFileDialog(parent), kind_(kind), options_(options) {}

    void accept() override {
        // A folder only opens the folder; QFileDialog does that itself.
        for (const QString& file : selectedFiles()) {
            if (!QFileInfo(file).isDir() && !acceptable(file))
                return;
        }
        QFileDialog::accept();
    }

private:
    bool acceptable(const QString& path) {
        const QFileInfo file(path);
        const QString shown = QDir::toNativeSeparators(path);
        if ((options_ & (FileDialogOption::PathMustExist | FileDialogOption::FileMustExist)) &&
            !file.absoluteDir().exists()) {
            refuse(msg::FileDialogPathNotFound.arg(shown));
            return false;
        }
        if (kind_ == FileDialogKind::Open && (options_ & FileDialogOption::FileMustExist) && !file.exists()) {
            refuse(msg::FileDialogFileNotFound.arg(shown));
            return false;
        }
        if ((options_ & FileDialogOption::NoReadOnlyReturn) && file.exists() && isReadOnly(file)) {
            refuse(msg::FileDialogReadOnly.arg(shown));
            return false;
        }
        if (kind_ == FileDialogKind::Save && (options_ & FileDialogOption::OverwritePrompt) &&
            file.exists()) {
            return QtMessageService(this).show(msg::FileDialogConfirmOverwrite.arg(shown), windowTitle(),
                                               MsgIcon::Exclamation, MsgButtons::YesNo,
                                               MsgAnswer::No) == MsgAnswer::Yes;
        }
        return true;
    }

    void refuse(const QString& text) {
        QtMessageService(this).show(text, windowTitle(), MsgIcon::Exclamation, MsgButtons::Ok);
    }

    FileDialogKind kind_;
    FileDialogOptions options_;
};

} // namespace

QtFileDialogRunner::QtFileDialogRunner(QWidget* parent) : parent_(parent), fixedParent_(parent != nullptr) {}

bool QtFileDialogRunner::run(FileDialog& dialog) {
    QWidget* parent = fixedParent_ ? parent_.data() : QApplication::activeWindow();
    NameOnlyForPseudoFiles iconProvider;
    CheckedFileDialog box(parent, dialog.kind(), dialog.options);
    box.setIconProvider(&iconProvider);
    box.setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked by CheckedFileDialog itself.
    box.setOption(QFileDialog::DontConfirmOverwrite);
    // The program's filter texts name their patterns already
    // ("HTMLタグ情報ファイル(*.ozt)"): the list shows them as they are.
    box.setOption(QFileDialog::HideNameFilterDetails);
    box.setWindowTitle(dialog.title);
    if (dialog.kind() == FileDialogKind::Save) {
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setFileMode(QFileDialog::AnyFile);
    } else {
        box.setAcceptMode(QFileDialog::AcceptOpen);
        box.setFileMode((dialog.options & FileDialogOption::FileMustExist) ? QFileDialog::ExistingFile
                                                                           : QFileDialog::AnyFile);
    }

    const QStringList filters = nameFiltersFor(dialog.filter);
    const qsizetype programs = executablesEntry(dialog.filter);
    ExecutablesOnly* executablesOnly = nullptr; // the dialog's child, gone with it
    if (programs >= 0 && programs < filters.size()) {
        executablesOnly = new ExecutablesOnly(&box);
        box.setProxyModel(executablesOnly);
        QObject::connect(&box, &QFileDialog::filterSelected, executablesOnly,
                         [executablesOnly, programsFilter = filters[programs]](const QString& chosen) {
                             executablesOnly->setActive(chosen == programsFilter);
                         });
    }
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        const int index =
            dialog.filterIndex >= 1 && dialog.filterIndex <= filters.size() ? dialog.filterIndex : 1;
        box.selectNameFilter(filters[index - 1]);
        if (executablesOnly)
            executablesOnly->setActive(programs == index - 1);
    }

    box.setDirectory(startFolder(dialog.initialDir));
    if (!dialog.defaultExt.isEmpty())
        box.setDefaultSuffix(dialog.defaultExt);
    if (!dialog.fileName.isEmpty()) {
        // A preset full path takes the dialog to its folder: only its name is
        // kept when that folder is in a pseudo file system.
        const QFileInfo preset(QDir::fromNativeSeparators(dialog.fileName));
        box.selectFile(preset.isAbsolute() && isPseudoFileSystemPath(preset.absolutePath())
                           ? preset.fileName()
                           : preset.filePath());
    }

    // The list sets its columns' widths before it knows the figures; once a
    // folder is read, the size and date columns take the width of their texts.
    auto* files = box.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = box.findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    if (files && model) {
        QObject::connect(model, &QFileSystemModel::directoryLoaded, files, [files] {
            for (const int column : {SizeColumn, DateColumn})
                files->resizeColumnToContents(column);
        });
    }

    if (box.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = box.selectedFiles();
    if (chosen.isEmpty())
        return false;

    const QFileInfo file(chosen.first());
    dialog.fileName = QDir::toNativeSeparators(file.absoluteFilePath());
    if (!filters.isEmpty()) {
        const int index = filterIndexOf(filters, box.selectedNameFilter());
        if (index >= 0)
            dialog.filterIndex = index + 1;
    }
    return true;
}

void QtFileDialogRunner::rememberFolderOf(const QString& filePath) {
    if (filePath.isEmpty())
        return;
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!isPseudoFileSystemPath(folder))
        lastFolder_ = folder;
}

// The dialog's own initial folder, else the folder of the file last read or
// written, else the current folder, else the home folder; never a folder that
// is gone or lies in a pseudo file system.
QString QtFileDialogRunner::startFolder(const QString& initialDir) const {
    for (const QString& folder : {initialDir, lastFolder_, QDir::currentPath()}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir() && !isPseudoFileSystemPath(folder))
            return folder;
    }
    return QDir::homePath();
}
