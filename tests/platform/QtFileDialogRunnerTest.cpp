#include "platform/QtFileDialogRunner.h"

#include "resources/Messages.h"
#include "support/FakeDialogs.h"
#include "support/ModalDriver.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString DiaryFilter =
    u"HTMLファイル(*.html,*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|テキストファイル(*.txt)|*.txt|すべてのファイル|*.*"_s;

// What the dialog's Open or Save button does (QFileDialog hides accept()).
void accept(QFileDialog* dialog) {
    static_cast<QDialog*>(dialog)->accept();
}

// Puts name in the file name box, as typing it would.
void typeName(QFileDialog* dialog, const QString& name) {
    dialog->selectFile(name);
    auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), name);
}

// Types name and accepts; the dialog must then refuse it with a box showing
// expectedText, and stay open.
void expectRefused(QFileDialog* dialog, const QString& name, const QString& expectedText) {
    typeName(dialog, name);
    bool boxShown = false;
    const auto driver = testsupport::onNextModal<QMessageBox>([&](QMessageBox* box) {
        boxShown = true;
        EXPECT_EQ(box->text(), expectedText);
        EXPECT_EQ(box->windowTitle(), dialog->windowTitle());
        box->button(QMessageBox::Ok)->click();
    });
    accept(dialog);
    EXPECT_TRUE(boxShown) << name.toStdString();
    EXPECT_TRUE(dialog->isVisible()) << name.toStdString();
}

// Runs the dialog while act drives it.
bool executeWith(FileDialog& dialog, const std::function<void(QFileDialog*)>& act) {
    const auto driver = testsupport::onNextModal<QFileDialog>(act);
    return dialog.execute();
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool makeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

class QtFileDialogRunnerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QtFileDialogRunner runner;
    QString path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(QtFileDialogRunnerTest, SaveDialogAppliesTheConfigurationAndReturnsThePath) {
    FileDialog save(FileDialogKind::Save, &runner);
    save.title = u"日記HTMLファイルを保存"_s;
    save.filter = DiaryFilter;
    save.filterIndex = 2;
    save.initialDir = dir.path();
    save.defaultExt = u"htm"_s;

    ASSERT_TRUE(executeWith(save, [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), save.title);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        // "*.*" lists every file, also those without an extension.
        EXPECT_EQ(
            dialog->nameFilters(),
            (QStringList{u"HTMLファイル(*.html,*.htm) (*.html *.htm)"_s, u"XMLファイル(*.xml) (*.xml)"_s,
                         u"テキストファイル(*.txt) (*.txt)"_s, u"すべてのファイル (*)"_s}));
        EXPECT_TRUE(dialog->selectedNameFilter().startsWith(u"XMLファイル(*.xml)"_s));
        EXPECT_EQ(dialog->defaultSuffix(), u"htm"_s);
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        // The user picks the last filter and types a name without extension.
        dialog->selectNameFilter(dialog->nameFilters().last());
        typeName(dialog, u"日記 2024"_s);
        accept(dialog);
    }));
    EXPECT_EQ(save.fileName, native(path(u"日記 2024.htm"_s)));
    EXPECT_EQ(save.filterIndex, 4);
    // The folder counts once the caller wrote the file there.
    EXPECT_TRUE(runner.lastFolder().isEmpty());
    save.remember();
    EXPECT_EQ(runner.lastFolder(), QFileInfo(path(u"x"_s)).absolutePath());
}

TEST_F(QtFileDialogRunnerTest, CancelLeavesTheDialogUnchanged) {
    FileDialog open(FileDialogKind::Open, &runner);
    open.filter = DiaryFilter;
    open.fileName = u"preset.htm"_s;
    open.filterIndex = 3;
    EXPECT_FALSE(executeWith(open, [](QFileDialog* dialog) { dialog->reject(); }));
    EXPECT_EQ(open.fileName, u"preset.htm"_s);
    EXPECT_EQ(open.filterIndex, 3);
    EXPECT_TRUE(runner.lastFolder().isEmpty());
}

TEST_F(QtFileDialogRunnerTest, OpenDialogRefusesMissingAndReadOnlyFiles) {
    ASSERT_TRUE(makeFile(path(u"page.htm"_s)));
    ASSERT_TRUE(makeFile(path(u"locked.htm"_s)));
    ASSERT_TRUE(QFile::setPermissions(path(u"locked.htm"_s), QFile::ReadOwner | QFile::ReadGroup));

    FileDialog open(FileDialogKind::Open, &runner);
    open.title = u"日記HTMLファイルを開く"_s;
    open.filter = DiaryFilter;
    open.initialDir = dir.path();
    open.options = FileDialogOption::PathMustExist | FileDialogOption::FileMustExist |
                   FileDialogOption::NoReadOnlyReturn | FileDialogOption::HideReadOnly |
                   FileDialogOption::EnableSizing;

    ASSERT_TRUE(executeWith(open, [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        expectRefused(dialog, u"missing.htm"_s,
                      msg::FileDialogFileNotFound.arg(native(path(u"missing.htm"_s))));
        expectRefused(dialog, u"nofolder/page.htm"_s,
                      msg::FileDialogPathNotFound.arg(native(path(u"nofolder/page.htm"_s))));
        expectRefused(dialog, u"locked.htm"_s, msg::FileDialogReadOnly.arg(native(path(u"locked.htm"_s))));
        typeName(dialog, u"page.htm"_s);
        accept(dialog);
    }));
    EXPECT_EQ(open.fileName, native(path(u"page.htm"_s)));
    EXPECT_EQ(open.filterIndex, 1);
}

TEST_F(QtFileDialogRunnerTest, SaveDialogAsksBeforeReplacingAFile) {
    ASSERT_TRUE(makeFile(path(u"page.htm"_s)));
    FileDialog save(FileDialogKind::Save, &runner);
    save.title = u"保存"_s;
    save.initialDir = dir.path();
    save.options = FileDialogOption::OverwritePrompt | FileDialogOption::PathMustExist;

    ASSERT_TRUE(executeWith(save, [&](QFileDialog* dialog) {
        expectRefused(dialog, u"nofolder/new.htm"_s,
                      msg::FileDialogPathNotFound.arg(native(path(u"nofolder/new.htm"_s))));
        typeName(dialog, u"page.htm"_s);
        const auto answerQuestion = [&](QMessageBox::StandardButton answer) {
            const auto driver = testsupport::onNextModal<QMessageBox>([&, answer](QMessageBox* box) {
                EXPECT_EQ(box->text(), msg::FileDialogConfirmOverwrite.arg(native(path(u"page.htm"_s))));
                EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                box->button(answer)->click();
            });
            accept(dialog);
        };
        answerQuestion(QMessageBox::No);
        EXPECT_TRUE(dialog->isVisible());
        answerQuestion(QMessageBox::Yes);
    }));
    EXPECT_EQ(save.fileName, native(path(u"page.htm"_s)));

    // Without the option an existing file is taken as it is.
    save.options = {};
    ASSERT_TRUE(executeWith(save, [&](QFileDialog* dialog) {
        typeName(dialog, u"page.htm"_s);
        accept(dialog);
    }));
    EXPECT_EQ(save.fileName, native(path(u"page.htm"_s)));
}

TEST_F(QtFileDialogRunnerTest, WithoutInitialFolderTheLastFolderIsShown) {
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir(u"sub"_s));
    const QString sub = QDir(other.path()).filePath(u"sub"_s);

    FileDialog open(FileDialogKind::Open, &runner);
    open.initialDir = sub;
    ASSERT_TRUE(executeWith(open, [&](QFileDialog* dialog) {
        typeName(dialog, u"a.txt"_s);
        accept(dialog);
    }));
    open.remember();

    open.initialDir.clear();
    open.fileName.clear();
    EXPECT_FALSE(executeWith(open, [&](QFileDialog* dialog) {
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(sub).canonicalPath());
        dialog->reject();
    }));

    // A preset full path names the folder itself.
    open.fileName = native(path(u"b.txt"_s));
    ASSERT_TRUE(executeWith(open, [&](QFileDialog* dialog) {
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        accept(dialog);
    }));
    EXPECT_EQ(open.fileName, native(path(u"b.txt"_s)));
}

TEST_F(QtFileDialogRunnerTest, NeverStartsInAPseudoFileSystem) {
    // Listing such a folder can hang the dialog on a file that never ends.
    ASSERT_TRUE(makeFile(path(u"kept.htm"_s)));
    runner.rememberFolderOf(path(u"kept.htm"_s));
    runner.rememberFolderOf(u"/proc/x.htm"_s); // not even after a save there
    const QString kept = QFileInfo(path(u"kept.htm"_s)).absolutePath();
    EXPECT_EQ(runner.lastFolder(), kept);

    struct Row {
        const char* name;
        bool remembered; // kept.htm's folder is remembered
        QString initialDir, preset, current;
        QString expectedFolder, expectedName;
    };
    const QString current = QDir::currentPath();
    const Row rows[] = {
        {"initial folder", true, u"/proc"_s, QString(), current, kept, QString()},
        {"preset full name", true, QString(), u"/proc/self/status"_s, current, kept, u"status"_s},
        {"current folder", false, u"/sys"_s, QString(), u"/proc"_s, QDir::homePath(), QString()},
    };
    for (const Row& row : rows) {
        QtFileDialogRunner fresh;
        if (row.remembered)
            fresh.rememberFolderOf(path(u"kept.htm"_s));
        ASSERT_TRUE(QDir::setCurrent(row.current)) << row.name;
        FileDialog open(FileDialogKind::Open, &fresh);
        open.initialDir = row.initialDir;
        open.fileName = row.preset;
        executeWith(open, [&](QFileDialog* dialog) {
            EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(row.expectedFolder).canonicalPath())
                << row.name;
            if (!row.expectedName.isEmpty()) {
                EXPECT_EQ(dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->text(), row.expectedName)
                    << row.name;
            }
            dialog->reject();
        });
        QDir::setCurrent(current);
    }

    // Files listed there get their types from their names: reading some of
    // them never ends (/proc/kmsg).
    const QString pseudoFile = u"/proc/self/status"_s;
    const QString byName =
        QMimeDatabase().mimeTypeForFile(pseudoFile, QMimeDatabase::MatchExtension).comment();
    ASSERT_NE(byName, QMimeDatabase().mimeTypeForFile(pseudoFile).comment());
    FileDialog open(FileDialogKind::Open, &runner);
    executeWith(open, [&](QFileDialog* dialog) {
        auto* model = dialog->findChild<QFileSystemModel*>(u"qt_filesystem_model"_s);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->type(model->index(pseudoFile)), byName);
        dialog->reject();
    });
}

TEST_F(QtFileDialogRunnerTest, FiltersShowTheirTextOnceAndSizesWhole) {
    {
        QFile page(path(u"a.html"_s));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(QByteArray(123456, 'x')); // "120.6 KiB", "123,456 bytes"
    }
    FileDialog open(FileDialogKind::Open, &runner);
    open.filter = DiaryFilter;
    open.initialDir = dir.path();
    executeWith(open, [](QFileDialog* dialog) {
        auto* types = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
        ASSERT_NE(types, nullptr);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        EXPECT_EQ(shown, (QStringList{u"HTMLファイル(*.html,*.htm)"_s, u"XMLファイル(*.xml)"_s,
                                      u"テキストファイル(*.txt)"_s, u"すべてのファイル"_s}));

        auto* files = dialog->findChild<QTreeView*>(u"treeView"_s);
        ASSERT_NE(files, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([files] { return files->model()->rowCount(files->rootIndex()) > 0; }));
        const auto sizeFits = [files] {
            const QModelIndex size = files->model()->index(0, 1, files->rootIndex());
            return files->columnWidth(1) > files->fontMetrics().horizontalAdvance(size.data().toString());
        };
        EXPECT_TRUE(QTest::qWaitFor(sizeFits)) << "the size column fits its figures";
        dialog->reject();
    });
}

TEST_F(QtFileDialogRunnerTest, TheProgramsEntryListsExecutableFilesOnly) {
    ASSERT_TRUE(makeFile(path(u"tool"_s)) && makeFile(path(u"notes.txt"_s)));
    QFile(path(u"tool"_s))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"bin"_s));
    FileDialog open(FileDialogKind::Open, &runner);
    open.filter = u"プログラム|"_s + ExecutableFilesPattern + u"|すべてのファイル|*.*"_s;
    open.initialDir = dir.path();
    const auto shown = [](QFileDialog* dialog) {
        auto* view = dialog->findChild<QAbstractItemView*>(u"listView"_s);
        QStringList names;
        for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    };
    executeWith(open, [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters().first(), u"プログラム (*)"_s);
        const QStringList programs = {u"bin"_s, u"tool"_s};
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown(dialog) == programs; }))
            << shown(dialog).join(u' ').toStdString();
        dialog->selectNameFilter(dialog->nameFilters().last());
        emit dialog->filterSelected(dialog->nameFilters().last());
        const QStringList all = {u"bin"_s, u"notes.txt"_s, u"tool"_s};
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown(dialog) == all; }))
            << shown(dialog).join(u' ').toStdString();
        dialog->reject();
    });
}
