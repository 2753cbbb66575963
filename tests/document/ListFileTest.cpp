#include "document/ListFile.h"

#include "platform/SjisCodec.h"
#include "support/FakeMessages.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

static void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace listfile {
static void PrintTo(const Bookmark& b, std::ostream* os) {
    *os << '{' << b.url.toStdString() << " | " << b.name.toStdString() << '}';
}
static void PrintTo(const Snippet& s, std::ostream* os) {
    *os << '{' << s.name.toStdString() << " | " << s.start.toStdString() << " | " << s.end.toStdString()
        << (s.isSentence ? " | sentence}" : "}");
}
} // namespace listfile

namespace {

using listfile::Bookmark;
using listfile::Snippet;

// "あ" and "漢" in CP932: two bytes each.
const QByteArray A = "\x82\xA0";
const QByteArray Kan = "\x8A\xBF";

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString xs(qsizetype n) {
    return QString(n, u'x');
}

// The bytes of the list headers, spelled out here rather than taken from the
// program: "# Oribel 用ブックマーク記録ファイル," and "# Oribel 用任意タグ・単文登録ファイル,".
const QByteArray BookmarkHeader = "# Oribel \x97\x70\x83\x75\x83\x62\x83\x4E\x83\x7D\x81\x5B\x83\x4E\x8B\x4C"
                                  "\x98\x5E\x83\x74\x83\x40\x83\x43\x83\x8B,\r\n";
const QByteArray SnippetHeader = "# Oribel \x97\x70\x94\x43\x88\xD3\x83\x5E\x83\x4F\x81\x45\x92\x50\x95\xB6"
                                 "\x93\x6F\x98\x5E\x83\x74\x83\x40\x83\x43\x83\x8B,\r\n";

const AuthorAddresses NoSite;
const AuthorAddresses Site(u"https://diary.example.net/oribel"_s, u"help@example.net"_s, u"me@example.net"_s);

} // namespace

// ---- Reading ----------------------------------------------------------------

TEST(ListFileReading, LinesFollowThePieceRules) {
    struct Case {
        const char* rule;
        QByteArray bytes;
        QStringList lines;
    };
    const QString x510 = xs(510), x511 = xs(511);
    const Case cases[] = {
        {"CR LF and lone CRs are dropped", "ab\r\ncd\r\ne\rf\r\n", {u"ab"_s, u"cd"_s, u"ef"_s}},
        {"the last line needs no LF", "a\nb", {u"a"_s, u"b"_s}},
        {"an empty line stays a line", "a\n\nb\n", {u"a"_s, QString(), u"b"_s}},
        {"0x1A ends the file",
         "a\nb\x1A"
         "c\nd\n",
         {u"a"_s, u"b"_s}},
        {"0x1A at the start leaves nothing",
         "\x1A"
         "a\n",
         {}},
        {"510 bytes and the LF make one piece", x510.toLatin1() + "\n", {x510}},
        {"511 bytes fill a piece; the LF comes alone", x511.toLatin1() + "\n", {x511, QString()}},
        {"511 bytes at the end without an LF", x511.toLatin1(), {x511}},
        {"a long line reads as several", xs(1030).toLatin1() + "\n", {x511, x511, xs(8)}},
        {"a piece never ends inside a double-byte character", x510.toLatin1() + A + "\n", {x510, u"あ"_s}},
        {"a double-byte character just fitting",
         xs(509).toLatin1() + A + "\n",
         {xs(509) + u"あ"_s, QString()}},
        {"CRs do not count towards the piece",
         xs(255).toLatin1() + "\r\r" + xs(255).toLatin1() + "\r\n",
         {x510}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listfile::splitLines(c.bytes), c.lines) << c.rule;
}

TEST(ListFileReading, FieldsSplitAtCommasAndRunsOfCommasCountAsOne) {
    struct Case {
        QString line;
        QStringList fields;
    };
    const Case cases[] = {
        {u"a,b,c"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {u"a,,b"_s, {u"a"_s, u"b"_s}},
        {u",a,,,b,"_s, {u"a"_s, u"b"_s}},
        {u",,,"_s, {}},
        {QString(), {}},
        {u" a , b "_s, {u" a "_s, u" b "_s}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listfile::splitFields(c.line), c.fields) << c.line.toStdString();
}

TEST(ListFileReading, BookmarksSkipCommentsAndKeepTheirByteLimits) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bookmark.csv"_s);
    const QByteArray url200 = "http://" + QByteArray(193, 'u');
    putFile(path, BookmarkHeader +                                      // comment
                      "http://a.example/,Alpha\r\n"                     // plain entry
                      "#http://hidden.example/,Hidden\r\n"              // a URL beginning with "#" is lost
                      "\r\n"                                            // empty line
                      "http://b.example/,,Beta,extra\r\n"               // runs of commas, extra field
                      "http://only.example/\r\n"                        // URL only
                      + url200 + "," + QByteArray(27, 'n') + A + "\r\n" // both over their limits
                      + ",,\r\n");
    const QList<Bookmark> expected = {
        {u"http://a.example/"_s, u"Alpha"_s},
        {u"http://b.example/"_s, u"Beta"_s},
        {u"http://only.example/"_s, u"http://only.example/"_s}, // a URL-only line is named by its URL
        {QString::fromLatin1(url200.left(160)), QString(27, u'n')},
    };
    EXPECT_EQ(listfile::readBookmarks(path), expected);
}

TEST(ListFileReading, SnippetsTellSentencesFromTagPairs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sentence.csv"_s);
    putFile(path, SnippetHeader +               //
                      "Bold,<B>,</B>\r\n"       // tag pair
                      "Hello,Hello world,#\r\n" // sentence
                      "Note,<!-- ,#keep\r\n"    // an end beginning with "#"
                      "Two,Two fields\r\n"      // no end: a sentence
                      "Single\r\n"              // cannot tell name from start
                      "#Commented,<I>,</I>\r\n" // comment
                      + QByteArray(60, 'n') + Kan + "," + QByteArray(225, 's') + ",#\r\n" // over the limits
                      + "End,s," + QByteArray(223, 'e') + A + "\r\n");
    const QList<Snippet> expected = {
        {u"Bold"_s, u"<B>"_s, u"</B>"_s, false},
        {u"Hello"_s, u"Hello world"_s, u"#"_s, true},
        {u"Note"_s, u"<!-- "_s, u"#keep"_s, true},
        {u"Two"_s, u"Two fields"_s, u"#"_s, true},
        {QString(60, u'n'), QString(224, u's'), u"#"_s, true},
        {u"End"_s, u"s"_s, QString(223, u'e'), false},
    };
    const QList<Snippet> read = listfile::readSnippets(path);
    EXPECT_EQ(read, expected);
    ASSERT_EQ(read.size(), 6);
    EXPECT_EQ(read[0].shownEnd(), u"</B>"_s);
    EXPECT_EQ(read[2].shownEnd(), QString()) << "a sentence's end shows empty in the grid";
}

TEST(ListFileReading, ProjectMenusSkipCommentsButTheDialogTakesEveryLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"default.str"_s);
    putFile(path, "/home/u/a b.html\r\n#/home/u/old.html\r\n\r\n/home/u/R&D,1.html\r\n/home/u/" + A + ".htm");
    EXPECT_EQ(listfile::readProjectMenuPaths(path),
              QStringList({u"/home/u/a b.html"_s, u"/home/u/R&D,1.html"_s, u"/home/u/あ.htm"_s}));
    EXPECT_EQ(listfile::readProjectRows(path),
              QStringList({u"/home/u/a b.html"_s, u"#/home/u/old.html"_s, QString(), u"/home/u/R&D,1.html"_s,
                           u"/home/u/あ.htm"_s}));
}

TEST(ListFileReading, MissingOrUnreadableFilesAreEmptyLists) {
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath(u"missing.csv"_s), dir.path()}) {
        EXPECT_TRUE(listfile::readBookmarks(path).isEmpty()) << path.toStdString();
        EXPECT_TRUE(listfile::readSnippets(path).isEmpty()) << path.toStdString();
        EXPECT_TRUE(listfile::readProjectMenuPaths(path).isEmpty()) << path.toStdString();
        EXPECT_TRUE(listfile::readProjectRows(path).isEmpty()) << path.toStdString();
    }
}

// ---- Writing ----------------------------------------------------------------

TEST(ListFileWriting, SnippetRowsAreTrimmedFilledInAndCut) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sentence.csv"_s);
    FakeMessages messages;
    const QList<QStringList> rows = {
        {u"  Bold\t"_s, u"<B>"_s, u"</B>"_s},
        {QString(), u"Only start"_s, QString()},
        {u" Dropped "_s, QString(), u"</I>"_s},
        {u"Short"_s}, // a row without its cells
        {QString(70, u'n'), xs(223) + u"漢漢"_s, QString(120, u'漢')},
        {u"Breaks"_s, u"a\nb\x1A"_s, u"c\u2029"_s},
    };
    const listfile::WriteResult result = listfile::writeSnippets(path, rows, messages, NoSite);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(messages.count(), 0);

    // Name cut to 61 bytes, start to 223 (224 would split a character), end to
    // 224 (112 characters); the line is then cut to 509 bytes, which would
    // split the end's last character: 508.
    QByteArray endBytes;
    for (int i = 0; i < 111; ++i)
        endBytes += Kan;
    const QByteArray longLine = QByteArray(61, 'n') + "," + QByteArray(223, 'x') + "," + endBytes;
    ASSERT_EQ(longLine.size(), 508);
    EXPECT_EQ(contents(path), SnippetHeader +         //
                                  "Bold,<B>,</B>\r\n" //
                                  "Only start,Only start,#\r\n" +
                                  longLine +
                                  "\r\n"
                                  "Breaks,a b ,c \r\n");

    const QList<QStringList> expectedRows = {
        {u"Bold"_s, u"<B>"_s, u"</B>"_s},
        {u"Only start"_s, u"Only start"_s, u"#"_s},
        {u"Dropped"_s, QString(), u"</I>"_s},
        {u"Short"_s, QString(), QString()},
        {QString(70, u'n'), xs(223) + u"漢漢"_s, QString(120, u'漢')},
        {u"Breaks"_s, u"a b "_s, u"c "_s},
    };
    EXPECT_EQ(result.rows, expectedRows);

    // What was written reads back as written.
    const QList<Snippet> read = listfile::readSnippets(path);
    ASSERT_EQ(read.size(), 4);
    EXPECT_EQ(read[1], (Snippet{u"Only start"_s, u"Only start"_s, u"#"_s, true}));
}

TEST(ListFileWriting, BookmarkRowsBecomeUrlThenName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bookmark.csv"_s);
    FakeMessages messages;
    const QString url200 = u"http://"_s + QString(193, u'u');
    const QList<QStringList> rows = {
        {u" Alpha "_s, u" http://a.example/ "_s},
        {QString(), u"http://only.example/"_s},
        {u"No URL"_s, u"  "_s},
        {u"x"_s + QString(14, u'漢'), url200},
        {QString(), QString()},
    };
    const listfile::WriteResult result = listfile::writeBookmarks(path, rows, messages, NoSite);
    EXPECT_TRUE(result.saved);
    // 29 bytes of name: cut to 27, not inside the last character.
    QByteArray name27 = "x";
    for (int i = 0; i < 13; ++i)
        name27 += Kan;
    EXPECT_EQ(contents(path), BookmarkHeader +                  //
                                  "http://a.example/,Alpha\r\n" //
                                  "http://only.example/,http://only.example/\r\n" +
                                  url200.left(160).toLatin1() + "," + name27 + "\r\n");
    EXPECT_EQ(result.rows, (QList<QStringList>{{u"Alpha"_s, u"http://a.example/"_s},
                                               {u"http://only.example/"_s, u"http://only.example/"_s},
                                               {u"No URL"_s, QString()},
                                               {u"x"_s + QString(14, u'漢'), url200},
                                               {QString(), QString()}}));
}

TEST(ListFileChecking, CharactersCp932CannotHoldAreFound) {
    struct Case {
        QString text;
        char32_t found;
    };
    const Case cases[] = {
        {u"/p/caf\u00e9.html"_s, 0xE9}, {u"/p/日記①.html"_s, 0},
        {u"\U00020BB7野家"_s, 0x20BB7}, {u"/p/caf&#xE9;.html"_s, 0},
        {QString(QChar(0xF781)), 0}, // a stray byte as read, written back as that byte
        {u"ok\u2014\uAC00"_s, 0x2014},  {QString(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listfile::unwritableCharacter(c.text), c.found) << c.text.toStdString();
}

TEST(ListFileWriting, EmptyListsGetTheirDefaultEntry) {
    struct Case {
        const char* what;
        const AuthorAddresses* author;
        QByteArray snippets;
        QByteArray bookmarks;
    };
    const auto cp932 = [](const QString& text) { return sjis::encode(text); };
    const QByteArray link = cp932(u"Oribel リンク"_s);
    const QByteArray diaryPage = cp932(u"作者の日記ページ"_s);
    const Case cases[] = {
        // Nothing to link to: the header alone, never an entry that does something else.
        {"without a site", &NoSite, "", ""},
        {"with a site", &Site, link + ",<A HREF=\"https://diary.example.net/oribel/download/\">,</A>\r\n",
         "https://diary.example.net/oribel/diary/," + diaryPage + "\r\n"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        FakeMessages messages;
        // A grid focused once but left empty, and one whose only row has no start/URL.
        for (const QList<QStringList>& rows : {QList<QStringList>{}, QList<QStringList>{{u"name"_s}}}) {
            listfile::writeSnippets(dir.filePath(u"sentence.csv"_s), rows, messages, *c.author);
            listfile::writeBookmarks(dir.filePath(u"bookmark.csv"_s), rows, messages, *c.author);
            EXPECT_EQ(contents(dir.filePath(u"sentence.csv"_s)), SnippetHeader + c.snippets) << c.what;
            EXPECT_EQ(contents(dir.filePath(u"bookmark.csv"_s)), BookmarkHeader + c.bookmarks) << c.what;
        }
        EXPECT_EQ(messages.count(), 0);
    }
}

TEST(ListFileWriting, ProjectRowsAreAllWrittenTheBottomOneIncluded) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"default.str"_s);
    FakeMessages messages;
    const QString longPath = u"/"_s + xs(508) + u"あ"_s; // 511 bytes
    const QList<QStringList> rows = {
        {u"Default"_s, u"/home/u/a b.html"_s}, {u"Default"_s, QString()},
        {u"ignored"_s, u"#kept as typed"_s},   {u"Default"_s, longPath},
        {QString(), u"/home/u/pasted.html"_s}, // the bottom row, pasted without a key press
    };
    EXPECT_TRUE(listfile::writeProjects(path, rows, messages).saved);
    EXPECT_EQ(contents(path), "/home/u/a b.html\r\n#kept as typed\r\n/" + QByteArray(508, 'x') +
                                  "\r\n/home/u/pasted.html\r\n");

    EXPECT_TRUE(listfile::writeProjects(path, {{u"Default"_s, QString()}}, messages).saved);
    EXPECT_EQ(contents(path), QByteArray()) << "no default entry";
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(entries(dir.path()), QStringList{u"default.str"_s});
}

TEST(ListFileWriting, FailuresAreReportedAndTheOldFileStaysWhole) {
    struct Case {
        const char* list;
        std::function<listfile::WriteResult(const QString&, const QList<QStringList>&, MessageService&)>
            write;
        QString openText;
        QString openCaption;
        QString writeText;
    };
    const QString projectFailed =
        u"[default.str]に書き込めませんでした。\n\n書き込み禁止メディア上で実行されている可能性があります。"_s;
    const Case cases[] = {
        {"snippets",
         [](const QString& p, const QList<QStringList>& r, MessageService& m) {
             return listfile::writeSnippets(p, r, m, NoSite);
         },
         u"任意タグ,単文情報ファイルを開けませんでした。\n\nRead Only属性が付いていたり、メディアがライトプロテクトされていませんか？"_s,
         u"FILE OPEN ERROR"_s, u"任意タグ,単文情報をファイルに書き込めませんでした。"_s},
        {"bookmarks",
         [](const QString& p, const QList<QStringList>& r, MessageService& m) {
             return listfile::writeBookmarks(p, r, m, NoSite);
         },
         u"ブックマークファイルを開けませんでした。\n\nRead Only属性が付いていたり、メディアがライトプロテクトされていませんか？"_s,
         u"FILE OPEN ERROR"_s, u"ブックマーク情報をファイルに書き込めませんでした。"_s},
        {"projects",
         [](const QString& p, const QList<QStringList>& r, MessageService& m) {
             return listfile::writeProjects(p, r, m);
         },
         projectFailed, u"致命的なエラー"_s, projectFailed},
    };
    // Enough rows to pass a small file size limit, as a full disk would stop them.
    QList<QStringList> rows;
    for (int i = 0; i < 200; ++i)
        rows.append({u"entry"_s, u"http://example.com/"_s + xs(100), u"end"_s});
    const auto expectBox = [](const FakeMessages& messages, const QString& text, const QString& caption,
                              const char* list) {
        ASSERT_EQ(messages.count(), 1) << list;
        EXPECT_EQ(messages.last().text, text) << list;
        EXPECT_EQ(messages.last().caption, caption) << list;
        EXPECT_EQ(messages.last().icon, MsgIcon::Error) << list;
    };

    for (const Case& c : cases) {
        QTemporaryDir dir;
        // The program folder is a file: nothing can be created below it.
        const QString notAFolder = dir.filePath(u"folder"_s);
        putFile(notAFolder, "a file");
        FakeMessages cannotOpen;
        EXPECT_FALSE(c.write(notAFolder + u"/list"_s, rows, cannotOpen).saved) << c.list;
        expectBox(cannotOpen, c.openText, c.openCaption, c.list);
        EXPECT_EQ(contents(notAFolder), "a file") << c.list;

        // A write failing part way leaves the old list as it was.
        const QString path = dir.filePath(u"list"_s);
        putFile(path, "old list\r\n");
        FakeMessages cannotWrite;
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool ok = c.write(path, rows, cannotWrite).saved;
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        EXPECT_FALSE(ok) << c.list;
        EXPECT_EQ(contents(path), "old list\r\n") << c.list;
        EXPECT_EQ(entries(dir.path()), QStringList({u"folder"_s, u"list"_s}))
            << c.list << ": no temporary file left";
        expectBox(cannotWrite, c.writeText, u"致命的なエラー"_s, c.list);
    }
}
