#include "document/HandOver.h"

#include "support/FakeMessages.h"
#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;
using namespace handover;

static void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace handover {
static void PrintTo(const Launch& launch, std::ostream* os) {
    static const char* const kinds[] = {"Nothing", "Open", "Start"};
    *os << kinds[int(launch.kind)] << ' ' << launch.target.toStdString() << " {";
    for (const QString& argument : launch.arguments)
        *os << '[' << argument.toStdString() << ']';
    *os << '}';
}
static void PrintTo(const ServiceChoice& choice, std::ostream* os) {
    static const char* const kinds[] = {"Open", "Message", "Registration"};
    *os << kinds[int(choice.kind)] << ' ' << choice.target.toStdString() << choice.text.toStdString() << " / "
        << choice.caption.toStdString();
}
} // namespace handover

namespace {

const AuthorAddresses NoSite;
const AuthorAddresses Site(u"https://diary.example.net/oribel/"_s, u"help@example.net"_s,
                           u"me@example.net"_s);

void putFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct Box {
    QString text;
    QString caption;
    MsgIcon icon;
};

} // namespace

// ---- Deciding what to hand over ------------------------------------------------

TEST(HandOver, PrepareAsksAboutAModifiedDocumentAndFallsBackToTheErrorPage) {
    struct Case {
        const char* situation;
        bool hasText;
        std::optional<SaveAnswer> answer; // the save question's answer; none: it must not be asked
        bool errorHtmlOff;
        HandOver result;
        std::optional<Box> box;
    };
    const Box notSaved{
        u"編集中のHTMLファイルを保存して下さい。\n保存しないと外部アプリケーションへは渡せません。"_s,
        u"HTML Send Error."_s, MsgIcon::Error};
    const Box nothing{u"外部アプリケーションへ送るHTMLがありません。"_s, u"HTML Send Error."_s,
                      MsgIcon::Error};
    const Case cases[] = {
        {"saved or saved now", true, SaveAnswer::Proceed, false, HandOver::SendFile, {}},
        {"saved, messages chosen", true, SaveAnswer::Proceed, true, HandOver::SendFile, {}},
        {"cancelled", true, SaveAnswer::Cancel, false, HandOver::Abort, {}},
        {"cancelled, messages chosen", true, SaveAnswer::Cancel, true, HandOver::Abort, {}},
        {"not saved", true, SaveAnswer::ProceedUnsaved, false, HandOver::SendErrorPage, {}},
        {"not saved, messages chosen", true, SaveAnswer::ProceedUnsaved, true, HandOver::Stop, notSaved},
        {"no document or no text", false, {}, false, HandOver::SendErrorPage, {}},
        {"no document or no text, messages chosen", false, {}, true, HandOver::Stop, nothing},
    };
    for (const Case& c : cases) {
        FakeMessages messages;
        int asked = 0;
        const HandOver result = PrepareHandOver(
            c.hasText,
            [&] {
                ++asked;
                return c.answer.value_or(SaveAnswer::Proceed);
            },
            c.errorHtmlOff, messages);
        EXPECT_EQ(result, c.result) << c.situation;
        EXPECT_EQ(asked, c.answer ? 1 : 0) << c.situation;
        ASSERT_EQ(messages.count(), c.box ? 1 : 0) << c.situation;
        if (c.box) {
            EXPECT_EQ(messages.last().text, c.box->text) << c.situation;
            EXPECT_EQ(messages.last().caption, c.box->caption) << c.situation;
            EXPECT_EQ(messages.last().icon, c.box->icon) << c.situation;
            EXPECT_EQ(messages.last().buttons, MsgButtons::Ok) << c.situation;
        }
    }
}

TEST(HandOver, EachCommandStartsItsProgramWithTheRightPath) {
    const QString doc = u"/home/u/diary/index.html"_s;
    const QString page = u"/opt/oribel/error.html"_s;
    const QString found = u"/usr/bin/firefox"_s;
    const QString user = u"/home/u/bin/my browser"_s;
    const QString editor = u"/usr/bin/gedit"_s;
    FakeMessages messages; // only the editor may speak, once
    struct Case {
        const char* command;
        Launch launch;
        Launch expected;
    };
    const Case cases[] = {
        {"default browser, saved page", DefaultBrowserLaunch(HandOver::SendFile, doc, page),
         Launch::open(doc)},
        {"default browser, error page", DefaultBrowserLaunch(HandOver::SendErrorPage, doc, page),
         Launch::open(page)},
        {"default browser, stopped", DefaultBrowserLaunch(HandOver::Stop, doc, page), Launch::nothing()},
        {"default browser, cancelled", DefaultBrowserLaunch(HandOver::Abort, doc, page), Launch::nothing()},
        {"named browser, found path", NamedBrowserLaunch(HandOver::SendFile, doc, page, found, user, false),
         Launch::start(found, {doc})},
        {"named browser, user's path", NamedBrowserLaunch(HandOver::SendFile, doc, page, found, user, true),
         Launch::start(user, {doc})},
        {"named browser, error page with the user's path set",
         NamedBrowserLaunch(HandOver::SendErrorPage, doc, page, found, user, true),
         Launch::start(found, {page})},
        {"named browser, stopped", NamedBrowserLaunch(HandOver::Stop, doc, page, found, user, true),
         Launch::nothing()},
        {"named browser, cancelled", NamedBrowserLaunch(HandOver::Abort, doc, page, found, user, false),
         Launch::nothing()},
        {"editor, saved page", EditorLaunch(HandOver::SendFile, doc, editor, messages),
         Launch::start(editor, {doc})},
        {"editor, stopped", EditorLaunch(HandOver::Stop, doc, editor, messages), Launch::nothing()},
        {"editor, cancelled", EditorLaunch(HandOver::Abort, doc, editor, messages), Launch::nothing()},
        {"editor, nothing saved: no error page", EditorLaunch(HandOver::SendErrorPage, doc, editor, messages),
         Launch::nothing()},
        {"FTP program", FtpToolLaunch(u"/usr/bin/ftp tool"_s), Launch::start(u"/usr/bin/ftp tool"_s, {})},
        {"FTP program unset", FtpToolLaunch(QString()), Launch::start(QString(), {})},
        {"unnamed document: an empty name", DefaultBrowserLaunch(HandOver::SendFile, QString(), page),
         Launch::open(QString())},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.launch, c.expected) << c.command;
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              u"エディタへ送るべきHTMLが存在しないか、もしくは編集中のHTMLが保存されていません。"_s);
    EXPECT_EQ(messages.last().caption, u"HTML Send Error"_s);
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
}

TEST(HandOver, PathsReachTheProgramAsOneArgumentUnchanged) {
    QTemporaryDir dir;
    const QString current = QDir::currentPath();
    struct Case {
        QString path;
        QString handed;
    };
    const Case cases[] = {
        {dir.filePath(u"my diary.html"_s), dir.filePath(u"my diary.html"_s)},
        {dir.filePath(u"say \"hi\" & 'bye'.html"_s), dir.filePath(u"say \"hi\" & 'bye'.html"_s)},
        {dir.filePath(u"$HOME;rm -rf x;`id`.html"_s), dir.filePath(u"$HOME;rm -rf x;`id`.html"_s)},
        {dir.filePath(u"-new-window.html"_s), dir.filePath(u"-new-window.html"_s)},
        // Relative names become absolute: a leading "-" is then no option and
        // a leading "mailto:" no address.
        {u"-new-window.html"_s, current + u"/-new-window.html"_s},
        {u"mailto:x.html"_s, current + u"/mailto:x.html"_s},
        {u"日記 #1.htm"_s, current + u"/日記 #1.htm"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HandedPath(c.path), c.handed) << c.path.toStdString();

        FakeShell shell;
        FakeMessages messages;
        ASSERT_TRUE(RunLaunch(
            NamedBrowserLaunch(HandOver::SendFile, c.path, {}, u"/usr/bin/opera"_s, {}, false), shell));
        ASSERT_TRUE(RunLaunch(EditorLaunch(HandOver::SendFile, c.path, u"/usr/bin/vi"_s, messages), shell));
        ASSERT_TRUE(RunLaunch(DefaultBrowserLaunch(HandOver::SendFile, c.path, {}), shell));
        EXPECT_EQ(shell.launched(),
                  (QList<LaunchRecord>{{u"/usr/bin/opera"_s, {c.handed}}, {u"/usr/bin/vi"_s, {c.handed}}}))
            << c.path.toStdString();
        EXPECT_EQ(shell.opened(), QStringList{c.handed});
    }
}

// ---- The error page -----------------------------------------------------------

TEST(HandOverErrorPage, Cp932LinesEndingInCrLfWithTheSiteLinkWhileThereIsASite) {
    // Line 2 in CP932: "<BODY><H1>表示すべきファイルがありません。</H1>"; 表 is 0x95 0x5C.
    const QByteArray line2 =
        "<BODY><H1>\x95\x5C\x8E\xA6\x82\xB7\x82\xD7\x82\xAB\x83\x74\x83\x40\x83\x43\x83\x8B"
        "\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42</H1>\r\n";
    const QByteArray line1 = "<HTML><HEAD><TITLE>Error from Oribel</TITLE></HEAD>\r\n";
    const QByteArray line6 = "</BODY></HTML>\r\n";

    const QByteArray withSite = ErrorPageBytes(Site);
    const QByteArray withoutSite = ErrorPageBytes(NoSite);
    for (const QByteArray& page : {withSite, withoutSite}) {
        EXPECT_TRUE(page.startsWith(line1 + line2));
        EXPECT_TRUE(page.endsWith(line6));
        EXPECT_EQ(page.count("\r\n"), page.count('\n'));
    }
    const QList<QByteArray> lines = withSite.split('\n');
    ASSERT_EQ(lines.size(), 7);
    // "<P><A HREF="…">Oribel ホームページ</A></P>"
    EXPECT_EQ(lines[4], "<P><A HREF=\"https://diary.example.net/oribel/\">Oribel "
                        "\x83\x7A\x81\x5B\x83\x80\x83\x79\x81\x5B\x83\x57</A></P>\r");
    // Without a site there is nothing to link to: the link line is left out.
    QList<QByteArray> linkless = lines;
    linkless.removeAt(4);
    EXPECT_EQ(withoutSite.split('\n'), linkless);
}

TEST(HandOverErrorPage, WrittenWholeOrReportedAndDeletedWhenDue) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"error.html"_s);
    FakeMessages messages;
    putFile(path, "old page");
    ASSERT_TRUE(WriteErrorPage(path, messages, Site));
    EXPECT_EQ(contents(path), ErrorPageBytes(Site));
    EXPECT_EQ(messages.count(), 0);

    // A program folder that is no folder: the failure is shown, nothing written.
    const QString notAFolder = dir.filePath(u"file"_s);
    putFile(notAFolder, "x");
    EXPECT_FALSE(WriteErrorPage(notAFolder + u"/error.html"_s, messages, Site));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              u"警告HTMLの作成に失敗。\n書き込み禁止メディア上で実行されている可能性があります。"_s);
    EXPECT_EQ(messages.last().caption, u"Oribel"_s);
    EXPECT_EQ(messages.last().icon, MsgIcon::Error);

    messages.clear();
    EXPECT_TRUE(DeleteErrorPage(path, messages));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(DeleteErrorPage(path, messages)) << "nothing left to delete";
    EXPECT_EQ(messages.count(), 0);

    // Something that cannot be removed as a file stays and is reported.
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"error.html/inner"_s));
    EXPECT_FALSE(DeleteErrorPage(path, messages));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, u"エラーHTMLの削除に失敗。"_s);
    EXPECT_EQ(messages.last().caption, u"Oribel 3"_s);
    EXPECT_EQ(messages.last().icon, MsgIcon::None);
}

TEST(HandOverErrorPage, KeptForTheBrowserUntilExitOrThirtySeconds) {
    const QDateTime written(QDate(2024, 5, 1), QTime(10, 0, 0));
    struct Case {
        qint64 secondsLater;
        bool exiting;
        bool due;
    };
    const Case cases[] = {
        {0, false, false}, {29, false, false}, {30, false, true}, {3600, false, true},
        {0, true, true},   {-5, false, false}, {-5, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorPageDue(written, written.addSecs(c.secondsLater), c.exiting), c.due)
            << c.secondsLater << (c.exiting ? " exiting" : "");
    EXPECT_TRUE(ErrorPageDue(QDateTime(), written, false)) << "no time known: nothing to wait for";
}

// ---- The Internet-service menu -----------------------------------------------------

TEST(HandOverServices, ServiceItemsOpenTheAuthorsPagesOrSayThereAreNone) {
    const ServiceChoice noSite = ServiceChoice::message(
        u"Oribel の公式ウェブサイトは、まだ公開されていません。"_s, u"Oribel 3"_s, MsgIcon::Information);
    const ServiceChoice registerSite = ServiceChoice::message(
        u"「動作設定」の「ブックマーク」内、「自分の日記ページURL」項目に、URLを登録して下さい。"_s,
        u"Oribel 3"_s, MsgIcon::None);
    struct Case {
        int tag;
        QString userSite;
        const AuthorAddresses* author;
        ServiceChoice expected;
    };
    const QString service = u"https://diary.example.net/oribel/service?"_s;
    const Case cases[] = {
        {1, {}, &Site, ServiceChoice::open(service + u"332_ver"_s)},
        {2, {}, &Site, ServiceChoice::open(service + u"332_top"_s)},
        {12, {}, &Site, ServiceChoice::open(service + u"332_msg"_s)},
        {22, {}, &Site, ServiceChoice::open(service + u"332_link"_s)},
        {11, {}, &Site, ServiceChoice::open(u"mailto:help@example.net"_s)},
        {1, {}, &NoSite, noSite},
        {2, {}, &NoSite, noSite},
        {12, {}, &NoSite, noSite},
        {22, {}, &NoSite, noSite},
        {11,
         {},
         &NoSite,
         ServiceChoice::message(u"作者宛のメール窓口は、まだ用意されていません。"_s, u"Oribel 3"_s,
                                MsgIcon::Information)},
        {21, u"http"_s, &Site, registerSite},
        {21, u"日記ページ"_s, &NoSite, ServiceChoice::open(u"日記ページ"_s)}, // five characters, ten bytes
        {21, u"日本語"_s, &Site, ServiceChoice::open(u"日本語"_s)},           // three characters, six bytes
        {21, u"日本"_s, &Site, registerSite},                                 // four bytes
        {21, u"a.com"_s, &Site, ServiceChoice::open(u"a.com"_s)},
        {21, QString(), &Site, registerSite},
        {31, u"http://friend.example/"_s, &Site, ServiceChoice::open(u"http://friend.example/"_s)},
        {32, u"\t"_s, &NoSite, ServiceChoice::registration()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServiceItemChoice(c.tag, c.tag > 30 ? c.userSite : QString(), c.userSite, *c.author),
                  c.expected)
            << c.tag << ' ' << c.userSite.toStdString();
}

TEST(HandOverServices, BookmarkTargetsPassTheSecurityChecks) {
    QTemporaryDir dir;
    const auto file = [&](const QString& name) {
        const QString path = dir.filePath(name);
        putFile(path, "<html></html>");
        return path;
    };
    const QString page = file(u"friend diary.html"_s);
    const QString htm = file(u"old.htm"_s);
    const QString text = file(u"notes.txt"_s);
    const QString script = file(u"run.sh"_s);
    const QString entry = file(u"start.desktop"_s);
    const QString disguised = dir.filePath(u"link.html"_s); // a link named like a page, leading to a script
    ASSERT_TRUE(QFile::link(script, disguised));
    const QString folder = dir.filePath(u"pages.html"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString upper = file(u"PAGE.HTML"_s);

    const ServiceChoice program = ServiceChoice::message(u"ここからプログラムを実行することはできません。"_s,
                                                         u"セキュリティによる中止"_s, MsgIcon::Error);
    const ServiceChoice local =
        ServiceChoice::message(u"ローカル上のファイルは、HTMLファイルしか参照できません。"_s,
                               u"セキュリティによる中止"_s, MsgIcon::Error);
    struct Case {
        QString target;
        ServiceChoice expected;
    };
    const Case cases[] = {
        {u"\tanything"_s, ServiceChoice::registration()},
        // The checks as written: exact bytes anywhere, case matters.
        {page, ServiceChoice::open(page)},
        {u"/home/u/setup.exe"_s, program},
        {u"http://example.com/setup.exe"_s, program},
        {u"/home/u/command.com"_s, program},
        {u"http://www.example.com/"_s, ServiceChoice::open(u"http://www.example.com/"_s)},
        {text, local},
        {u"HTTP://EXAMPLE.NET/"_s, local},
        {u"HTTP://example.net/diary.htm"_s, ServiceChoice::open(u"HTTP://example.net/diary.htm"_s)},
        {u"ftp://example.net/"_s, local},
        // "https://" counts as "http://".
        {u"https://www.example.com/"_s, ServiceChoice::open(u"https://www.example.com/"_s)},
        {u"https://example.net/~me/"_s, ServiceChoice::open(u"https://example.net/~me/"_s)},
        {u"https://example.net/tool.exe"_s, program},
        // Local targets must be existing page files.
        {htm, ServiceChoice::open(htm)},
        {script, local},
        {entry, local},
        {disguised, local},
        {folder, local},
        {upper, local},
        {dir.filePath(u"missing.html"_s), local},
        {u"/tmp/http://x/evil.desktop"_s, local},
        {u"file:///etc/passwd.html"_s, local},
        // The entry written while the author has no site.
        {u"作者の日記ページは、まだ公開されていません。"_s,
         ServiceChoice::message(u"Oribel の公式ウェブサイトは、まだ公開されていません。"_s, u"Oribel 3"_s,
                                MsgIcon::Information)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BookmarkChoice(c.target), c.expected) << c.target.toStdString();
}
