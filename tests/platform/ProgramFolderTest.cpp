#include "platform/ProgramFolder.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString& folder) {
    return QDir::toNativeSeparators(QDir::cleanPath(folder)) + QDir::separator();
}

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(ProgramFolder, SideFilesStayBesideABuildOrCopyAndMoveToTheDataHomeWhenInstalled) {
    enum class Expect { ExecutableFolder, DataHome };
    struct Row {
        const char* name;
        QString executable;  // folder of the program, relative to the sandbox
        QStringList folders; // folders made before the call
        bool readOnly;
        Expect expect;
    };
    const std::vector<Row> rows = {
        {"build folder", u"build/src"_s, {u"build/src"_s}, false, Expect::ExecutableFolder},
        {"copy in a bin folder of its own", u"home/bin"_s, {u"home/bin"_s}, false, Expect::ExecutableFolder},
        {"installed prefix the user may write to",
         u"usr/local/bin"_s,
         {u"usr/local/bin"_s, u"usr/local/share/oribel/manual"_s},
         false,
         Expect::DataHome},
        {"installed prefix, read-only",
         u"usr/bin"_s,
         {u"usr/bin"_s, u"usr/share/oribel"_s},
         true,
         Expect::DataHome},
        {"read-only folder of a copy", u"cdrom/oribel"_s, {u"cdrom/oribel"_s}, true, Expect::DataHome},
        {"folder that does not exist", u"gone/bin"_s, {}, false, Expect::DataHome},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Permissions do not stop root: a read-only row proves nothing there.
        if (row.readOnly && geteuid() == 0)
            continue;
        QTemporaryDir sandbox;
        for (const QString& folder : row.folders)
            ASSERT_TRUE(QDir(sandbox.path()).mkpath(folder));
        const QString executable = sandbox.filePath(row.executable);
        if (row.readOnly)
            QFile::setPermissions(executable, QFile::ReadOwner | QFile::ExeOwner);
        const QString dataHome = sandbox.filePath(u"data"_s);

        const QString folder = resolveProgramFolder(executable, dataHome);

        if (row.expect == Expect::ExecutableFolder) {
            EXPECT_EQ(folder, native(executable));
            EXPECT_FALSE(QFileInfo::exists(dataHome + u"/Oribel"_s));
        } else {
            EXPECT_EQ(folder, native(dataHome + u"/Oribel"_s));
            EXPECT_TRUE(QFileInfo(folder).isDir());
            EXPECT_TRUE(QFileInfo(folder).isWritable());
        }
        QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(ProgramFolder, AnInstalledPrefixIsABinFolderBesideShareOribel) {
    QTemporaryDir sandbox;
    const QDir root(sandbox.path());
    root.mkpath(u"usr/bin"_s);
    root.mkpath(u"usr/share/oribel"_s);
    root.mkpath(u"opt/tool/bin"_s);
    root.mkpath(u"opt/tool/share/other"_s);
    root.mkpath(u"build/src"_s);
    root.mkpath(u"build/share/oribel"_s);

    EXPECT_TRUE(isInstalledProgramFolder(root.filePath(u"usr/bin"_s)));
    EXPECT_TRUE(isInstalledProgramFolder(root.filePath(u"usr/bin/"_s)));
    EXPECT_FALSE(isInstalledProgramFolder(root.filePath(u"opt/tool/bin"_s)));
    EXPECT_FALSE(isInstalledProgramFolder(root.filePath(u"build/src"_s)))
        << "only a bin folder is a prefix's";
    EXPECT_FALSE(isInstalledProgramFolder(root.filePath(u"missing/bin"_s)));
}

TEST(ProgramFolder, FindsTheManualInstalledOrBesideTheProgram) {
    struct Row {
        const char* name;
        QString executable;
        QStringList files; // files made before the call
        QString found;     // relative to the sandbox; empty: no manual
        QString named;     // the place named first when reporting a missing manual
    };
    const std::vector<Row> rows = {
        {"installed",
         u"usr/bin"_s,
         {u"usr/share/oribel/manual/index.html"_s},
         u"usr/share/oribel/manual/index.html"_s,
         u"usr/share/oribel/manual/index.html"_s},
        {"build folder",
         u"build/src"_s,
         {u"build/src/manual/index.html"_s},
         u"build/src/manual/index.html"_s,
         u"build/src/manual/index.html"_s},
        {"installed one wins over a stray copy",
         u"usr/bin"_s,
         {u"usr/share/oribel/manual/index.html"_s, u"usr/bin/manual/index.html"_s},
         u"usr/share/oribel/manual/index.html"_s,
         u"usr/share/oribel/manual/index.html"_s},
        {"copy beside an installed program whose manual was removed",
         u"usr/bin"_s,
         {u"usr/bin/manual/index.html"_s},
         u"usr/bin/manual/index.html"_s,
         u"usr/share/oribel/manual/index.html"_s},
        {"nothing installed", u"usr/bin"_s, {}, QString(), u"usr/share/oribel/manual/index.html"_s},
        {"nothing built", u"build/src"_s, {}, QString(), u"build/src/manual/index.html"_s},
        {"a folder named index.html is no manual",
         u"build/src"_s,
         {u"build/src/manual/index.html/x"_s},
         QString(),
         u"build/src/manual/index.html"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir sandbox;
        QDir(sandbox.path()).mkpath(row.executable);
        for (const QString& file : row.files)
            touch(sandbox.filePath(file));
        const QString executable = sandbox.filePath(row.executable);

        const QString expected =
            row.found.isEmpty() ? QString() : QDir::cleanPath(sandbox.filePath(row.found));
        EXPECT_EQ(findManual(executable), expected);
        const QStringList candidates = manualCandidates(executable);
        ASSERT_EQ(candidates.size(), 2);
        EXPECT_EQ(candidates.first(), QDir::cleanPath(sandbox.filePath(row.named)));
        EXPECT_TRUE(QFileInfo(candidates.first()).isAbsolute());
    }
}
