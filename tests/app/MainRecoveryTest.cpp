// Recovery copies, kept entries and two running copies, driven through the
// main window.

#include "app/MainFormFixture.h"

#include "platform/TextFile.h"
#include "resources/Messages.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class MainRecoveryTest : public MainFormTest {
protected:
    // The copy's timer waits 10 s after the last change; the test lets it fire.
    void writeCopyNow(const char* timerName) {
        auto* timer = form->findChild<QTimer*>(QString::fromLatin1(timerName));
        ASSERT_TRUE(timer);
        EXPECT_TRUE(timer->isActive());
        EXPECT_LE(timer->interval(), 10000);
        timer->start(0);
        EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }));
        fake.recovery->waitForWrites();
    }
    // The program dies: no close sequence; the next run gets a store of its own.
    void crash() {
        form.reset();
        fake.restartRecovery();
    }
    QStringList setAside() const { return QDir(fake.recoveryFolder()).entryList({u"*.aside-*"_s}); }
};

} // namespace

TEST_F(MainRecoveryTest, ACopyIsWrittenWhileTextIsUnsafeAndRemovedOnceItIsSafe) {
    struct Case {
        const char* what;
        RecoveryKind kind;
        std::function<void(TMainForm&)> makeSafe;
    };
    const QList<Case> cases = {
        {"today's body composed", RecoveryKind::TodayBody,
         [this](TMainForm& w) {
             w.BoxWeather1->setCurrentIndex(0);
             showDocumentTab();
             w.InsertDiaryAction->trigger();
         }},
        {"today's body discarded for a new entry", RecoveryKind::TodayBody,
         [this](TMainForm& w) {
             fake.messages.answerNext(MsgAnswer::Yes);
             w.FileTodayNew->trigger();
         }},
        {"today's body discarded at exit", RecoveryKind::TodayBody,
         [this](TMainForm&) {
             fake.messages.answerNext(MsgAnswer::No);
             EXPECT_TRUE(closeForm());
         }},
        {"the page saved", RecoveryKind::Page, [](TMainForm& w) { w.SaveAction->trigger(); }},
        {"the page discarded at exit", RecoveryKind::Page,
         [this](TMainForm&) {
             fake.messages.answerNext(MsgAnswer::No);
             EXPECT_TRUE(closeForm());
         }},
    };
    const QString page = writeFile(u"page.htm"_s, "<html>\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMainForm& w = start();
        openDocument(page);
        if (c.kind == RecoveryKind::Page) {
            testsupport::typeText(w.RAll, u"<p>追記"_s);
            writeCopyNow("PageRecoveryTimer");
        } else {
            showTodayTab();
            testsupport::typeText(w.MToday, u"今日の本文"_s);
            writeCopyNow("TodayRecoveryTimer");
        }
        EXPECT_TRUE(fake.recovery->hasCopy(c.kind));
        c.makeSafe(w);
        EXPECT_FALSE(fake.recovery->hasCopy(c.kind));
        form.reset();
        fake.messages.clear();
    }
}

// Steady typing never puts the copy off: its timer starts at the first change
// the copy does not hold and later keystrokes leave it running, so a crash at
// any moment loses at most the last 10 s of writing.
TEST_F(MainRecoveryTest, SteadyTypingLosesAtMostTheLastTenSeconds) {
    TMainForm& w = start();
    showTodayTab();
    auto* timer = w.findChild<QTimer*>(u"TodayRecoveryTimer"_s);
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->isActive()) << "before any change";
    testsupport::typeText(w.MToday, u"#"_s);
    ASSERT_TRUE(timer->isActive());
    const int interval = timer->interval();
    EXPECT_LE(interval, 10000);

    // Typing without a pause: the copy comes all the same (the timer shortened
    // so that the test need not wait for it).
    timer->start(300);
    QElapsedTimer typing;
    typing.start();
    while (timer->isActive() && typing.elapsed() < 5000) {
        testsupport::typeText(w.MToday, u"#"_s);
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(timer->isActive()) << "typing put the copy off";
    timer->setInterval(interval);

    // 40 s of typing, four characters a second, in simulated time: the timer
    // fires once the simulated time since it was started reaches its interval.
    const auto copiedCharacters = [this] {
        fake.recovery->waitForWrites();
        const std::optional<QByteArray> copy =
            textfile::readBytes(fake.recovery->copyPath(RecoveryKind::TodayBody));
        return copy ? copy->count('#') : 0;
    };
    constexpr int StepMs = 250;
    QList<std::pair<int, qsizetype>> typedAt{{0, w.MToday->toPlainText().count(u'#')}};
    int startedAt = 0;
    for (int now = StepMs; now <= 40000; now += StepMs) {
        const bool wasActive = timer->isActive();
        testsupport::typeText(w.MToday, u"#"_s);
        typedAt.append({now, typedAt.last().second + 1});
        if (!wasActive && timer->isActive())
            startedAt = now;
        if (timer->isActive() && now - startedAt >= timer->interval()) {
            timer->start(0);
            ASSERT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }));
        }
        // Killed now: what was typed 10 s ago is in the copy.
        qsizetype typedTenSecondsAgo = 0;
        for (const auto& [time, count] : typedAt)
            if (time <= now - 10000)
                typedTenSecondsAgo = count;
        ASSERT_GE(copiedCharacters(), typedTenSecondsAgo) << "killed at " << now << " ms";
    }
}

// A page being rewritten in place when the program died may be torn; the old
// page kept aside before the rewrite is offered back at the next start.
TEST_F(MainRecoveryTest, APageWhoseRewriteInPlaceDiedIsOfferedBack) {
    const QString page = writeFile(u"page.htm"_s, "new start, old end");
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        SCOPED_TRACE(answer == MsgAnswer::Yes ? "restored" : "put aside");
        QDir().mkpath(fake.recoveryFolder());
        const QString guard = fake.recoveryFolder() + u"/.rewrite.oribel-save-abcdef.rewrite"_s;
        ASSERT_TRUE(
            textfile::writeBytes(guard, "ORIBEL-REWRITE 1\n" + QFile::encodeName(page) + "\nold page"));
        fake.messages.clear();
        fake.messages.answerNext(answer);
        start();
        ASSERT_GE(fake.messages.count(), 1);
        EXPECT_EQ(fake.messages.requests()[0].caption, msg::InterruptedRewriteCaption);
        EXPECT_EQ(fake.messages.requests()[0].text,
                  msg::interruptedRewriteOffer(QDir::toNativeSeparators(page),
                                               QDir::toNativeSeparators(fake.recoveryFolder())));
        EXPECT_EQ(textfile::readBytes(page), answer == MsgAnswer::Yes ? "old page" : "new start, old end");
        EXPECT_FALSE(QFileInfo::exists(guard));
        EXPECT_EQ(QDir(fake.recoveryFolder())
                      .entryList({u"*.rewrite.aside-*"_s}, QDir::Files | QDir::Hidden)
                      .size(),
                  1);
        form.reset();
    }
}

TEST_F(MainRecoveryTest, AfterACrashTheCopiesAreOfferedBack) {
    // A UTF-8 page with LF line ends: the restored text keeps that form.
    const QString page = writeFile(u"page.htm"_s, u"<html>\n<p>日記</p>\n"_s.toUtf8());
    QString typedPage;
    {
        TMainForm& w = start();
        openDocument(page);
        testsupport::typeText(w.RAll, u"<p>消えては困る"_s);
        typedPage = w.RAll->toPlainText();
        writeCopyNow("PageRecoveryTimer");
        showTodayTab();
        w.BoxWeather1->setCurrentIndex(2);
        w.setDiaryTitle(u"題"_s);
        testsupport::typeText(w.MToday, u"書きかけ\n二行目"_s);
        writeCopyNow("TodayRecoveryTimer");
        crash();
    }
    // Both offered, newest first, each with one question naming it and the
    // copy's time; Yes brings each back as modified text.
    fake.messages.answerNext(MsgAnswer::Yes);
    fake.messages.answerNext(MsgAnswer::Yes);
    TMainForm& w = start();
    ASSERT_EQ(fake.messages.count(), 2);
    const QString time = fake.messages.requests()[0].text.section(u'（', 1).section(u" の時点"_s, 0, 0);
    EXPECT_TRUE(QDateTime::fromString(time, msg::CopyTimeFormat).isValid()) << time.toStdString();
    for (const MessageRequest& request : fake.messages.requests()) {
        EXPECT_EQ(request.caption, u"編集内容の復元"_s);
        EXPECT_EQ(request.buttons, MsgButtons::YesNo);
    }
    EXPECT_TRUE(fake.messages.requests()[0].text.contains(u"「今日の日記」本文"_s));
    EXPECT_TRUE(fake.messages.requests()[1].text.contains(QDir::toNativeSeparators(page)));
    EXPECT_EQ(w.MToday->toPlainText(), u"書きかけ\n二行目"_s);
    EXPECT_TRUE(w.MToday->document()->isModified());
    EXPECT_EQ(w.BoxWeather1->currentText(), u"雨"_s);
    EXPECT_EQ(w.diaryTitle(), u"題"_s);
    EXPECT_EQ(w.document().fileName(), page);
    EXPECT_EQ(w.RAll->toPlainText(), typedPage);
    EXPECT_TRUE(w.RAll->document()->isModified());
    EXPECT_EQ(w.document().format().encoding, pagecodec::PageEncoding::Utf8);
    EXPECT_EQ(w.document().format().lineEnding, pagecodec::LineEnding::Lf);

    // The copies now belong to this run: another crash offers them again; No
    // puts them aside, and they are never offered again.
    crash();
    fake.messages.clear();
    fake.messages.answerNext(MsgAnswer::No);
    fake.messages.answerNext(MsgAnswer::No);
    EXPECT_TRUE(start().MToday->toPlainText().isEmpty());
    EXPECT_EQ(fake.messages.count(), 2);
    EXPECT_EQ(setAside().size(), 2);
    crash();
    start();
    EXPECT_EQ(fake.messages.count(), 2);
}

TEST_F(MainRecoveryTest, TwoCopiesKeepTwoEntriesAndBothComeBack) {
    fake.clock.setNow(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    auto first = std::make_unique<TMainForm>(fake.platform());
    first->show();
    TMainForm& second = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->startupRestored(); }));
    // Characters CP932 lacks come back as typed, from the entry moved aside too.
    const QString firstBody = u"一つ目の窓 😀𠮷\n한ά"_s;
    const QString secondBody = u"二つ目の窓 Ⅻ"_s;
    testsupport::typeText(first->MToday, firstBody);
    testsupport::typeText(second.MToday, secondBody);
    fake.messages.answerNext(MsgAnswer::Yes);
    ASSERT_TRUE(first->close());
    first.reset();
    {
        // Kept a minute before the other.
        QFile kept(fake.programFile(u"DIARY.TMP"_s));
        ASSERT_TRUE(kept.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            kept.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    fake.messages.answerNext(MsgAnswer::Yes);
    ASSERT_TRUE(closeForm());
    form.reset();
    // DIARY.TMP itself stays CP932, for the program's older readers.
    EXPECT_EQ(textfile::readBytes(fake.programFile(u"DIARY.TMP"_s)),
              QByteArray("\x93\xf1\x82\xc2\x96\xda\x82\xcc\x91\x8b &#x216B;"));

    // The newest first; the one not taken waits for the next start.
    fake.messages.clear();
    fake.messages.answerNext(MsgAnswer::No);
    fake.messages.answerNext(MsgAnswer::Yes);
    TMainForm& w = start();
    ASSERT_EQ(fake.messages.count(), 2);
    EXPECT_EQ(fake.messages.requests()[0].caption, u"一時保存された日記"_s);
    EXPECT_TRUE(
        fake.messages.requests()[0].text.startsWith(u"一時保存された「今日の日記」が 2 件あります。"_s));
    EXPECT_EQ(w.MToday->toPlainText(), firstBody);
    fake.messages.answerNext(MsgAnswer::No);
    ASSERT_TRUE(closeForm());

    fake.messages.clear();
    EXPECT_EQ(start().MToday->toPlainText(), secondBody);
    EXPECT_EQ(fake.messages.count(), 0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QDir(fake.programFolder()).entryList({u"DIARY*"_s}).isEmpty(); }));
}

TEST_F(MainRecoveryTest, TwoCopiesKeepEachOthersSettingsHistoryAndCounts) {
    // Each copy saves a page, composes an entry and changes a setting; the
    // one started first exits last.
    std::unique_ptr<TMainForm> windows[2];
    const QString pages[2] = {fake.programFile(u"first.htm"_s), fake.programFile(u"second.htm"_s)};
    for (int i = 0; i < 2; ++i) {
        windows[i] = std::make_unique<TMainForm>(fake.platform());
        windows[i]->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return windows[i]->startupRestored(); }));
    }
    for (int i = 0; i < 2; ++i) {
        TMainForm& w = *windows[i];
        testsupport::typeText(w.MToday, u"本文"_s);
        w.BoxWeather1->setCurrentIndex(0);
        w.PageControlMain->setCurrentWidget(w.TabSheetAll);
        w.NewAction->trigger();
        w.InsertDiaryAction->trigger();
        fake.fileDialogs.chooseNext(pages[i]);
        w.SaveAction->trigger();
        (i == 0 ? w.htmlSet.HtmlDate1 : w.htmlSet.HtmlHRTag) = u"changed"_s;
    }
    for (int i : {1, 0}) {
        ASSERT_TRUE(windows[i]->close());
        windows[i].reset();
    }
    HtmlSet html;
    AppSet app;
    LoadSettings(*fake.registry, fake.browsers, html, app);
    EXPECT_EQ(app.WriteDiaryTime, 2);
    EXPECT_EQ((QStringList{app.FileHistory1, app.FileHistory2}), (QStringList{pages[0], pages[1]}));
    EXPECT_EQ(html.HtmlDate1, u"changed"_s);
    EXPECT_EQ(html.HtmlHRTag, u"changed"_s) << "not written over by the copy that exited last";
    EXPECT_EQ(fake.messages.count(), 0);
}

TEST_F(MainRecoveryTest, FilesAndKeysThatAreNotWhatTheyShouldBeAreNamed) {
    const QString temp = u"\\software\\mervane\\Pagora\\Temp"_s;
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::function<QString()> expected;
    };
    const QList<Case> cases = {
        {"a FIFO named DIARY.TMP",
         [this] { ASSERT_EQ(::mkfifo(QFile::encodeName(fake.programFile(u"DIARY.TMP"_s)), 0600), 0); },
         [this] {
             return u"ファイル %1 を読み込めませんでした。\n理由: 通常のファイルではなく、名前付きパイプ（FIFO）です。"_s
                 .arg(fake.programFile(u"DIARY.TMP"_s));
         }},
        {"DIARY.TMP without its Temp subkey", [this] { writeFile(u"DIARY.TMP"_s, "body"); },
         [this, temp] {
             return u"Registory Load Error. -TD\nHKEY_CURRENT_USER"_s + temp +
                    u" が見つかりません。本文は "_s + fake.programFile(u"DIARY.TMP"_s) +
                    u" から読み込みました。日付・曜日・天気・タイトルは今日のものです。"_s;
         }},
        {"the last saved page is a folder",
         [this] {
             HtmlSet html;
             AppSet app;
             bool cleared = false;
             ApplySettingDefaults(html, app, cleared);
             app.setFlag(AutoOpenFlag, '1');
             app.FileHistory1 = fake.programFolder();
             SaveSettings(*fake.registry, fake.messages, html, app, LoadedSettings{}, QString(),
                          QDate(2026, 12, 8));
         },
         [this] {
             return u"最後に保存されたファイル ["_s + fake.programFolder() + u"] を開けませんでした。\n"_s +
                    fake.programFolder() + u": 通常のファイルではなく、フォルダです。"_s;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSettings(*fake.registry);
        c.prepare();
        start();
        ASSERT_GE(fake.messages.count(), 1);
        EXPECT_EQ(fake.messages.requests()[0].text, c.expected());
        form.reset();
        QFile::remove(fake.programFile(u"DIARY.TMP"_s));
        fake.messages.clear();
    }

    // Chosen in the open dialog: a FIFO or an endless device is refused at once.
    const QString fifo = fake.programFile(u"page.fifo"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    start();
    for (const QString& path : {fifo, u"/dev/zero"_s}) {
        openDocument(path);
        EXPECT_TRUE(fake.messages.last().text.endsWith(textfile::notRegularReason(textfile::fileKind(path))))
            << fake.messages.last().text.toStdString();
        EXPECT_FALSE(form->document().exists());
    }

    // A settings folder that cannot be made: the kept text, then where and why.
    const QString blocker = writeFile(u"blocker"_s, "");
    JsonRegistry unusable(blocker + u"/registry.json"_s);
    fake.registry = &unusable;
    start();
    ASSERT_TRUE(closeForm());
    form.reset();
    fake.registry = fake.store.get();
    EXPECT_EQ(fake.messages.last().text, u"レジストリに書き込めませんでした。\n"_s + unusable.lastError());
    EXPECT_TRUE(unusable.lastError().startsWith(blocker));
}
