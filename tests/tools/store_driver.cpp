// One running copy of the program as far as the settings store sees it, for
// tests/two_copies.sh, which starts two of them on one store at once.
//
//   store_driver cycles <store file> <name> <cycles>
//       Each cycle loads the settings as a start does, makes the changes a run
//       makes (saves a diary page "/diary/<name>-<n>.htm", which puts it on top
//       of the history; composes an entry of n % 7 + 1 lines; sets the tag
//       builder's DecoInfo<k> to "<name>-<n>", k being 0 for the first name
//       and 1 for the other), waits up to a millisecond as a run would, and
//       saves them as an exit does. At each load it
//       checks that nothing of its own earlier cycles was lost: its setting is
//       its last value, and its last page is still in the history unless three
//       saves came after it. Prints "done <cycles> <lines composed>".
//   store_driver check <store file> <name>:<cycles>:<lines>...
//       Checks the store after all copies ended: the entries and lines
//       composed add up, each copy's setting is its last value, and the
//       history begins with a page of the copy that saved last and holds no
//       page twice.
//   store_driver rounds <store file> <name> <other name> <rounds> <meeting folder>
//       Two copies that run at the same time, each turning its own switch:
//       each round loads the settings as a start does (after the first, it
//       checks that its two switches hold the last round's values), meets the
//       other copy (each leaves a mark in the meeting folder and waits for the
//       other's), so that both have loaded before either saves; then turns its
//       two switches, one in each flag string, on in odd rounds and off in
//       even ones, saves as an exit does and meets the other copy again, so
//       that both have saved before the next round loads. Prints
//       "done <rounds>".
//   store_driver switches <store file> <name>:<rounds>...
//       Checks that each copy's switches hold the values of its last round.
//   store_driver seed <store file>
//       A first start and exit: the defaults pass fills every flag position.
//
// The first name given to "cycles" decides the setting: names starting with
// "A" use DecoInfo0 and the switches of today's wrap and the rule after an
// entry, any other DecoInfo1 and the switches of the document's wrap and the
// automatic line breaks.

#include "document/DocumentHistory.h"
#include "platform/BrowserLookup.h"
#include "platform/JsonRegistry.h"
#include "platform/Messages.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "today/Statistics.h"

#include <QByteArray>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Any box the store would show is a failure.
class FailingMessages : public MessageService {
public:
    using MessageService::show;
    MsgAnswer show(const MessageRequest& request) override {
        std::fprintf(stderr, "store_driver: message: %s\n", request.text.toUtf8().constData());
        ++shown;
        return MsgAnswer::Ok;
    }
    int shown = 0;
};

struct NoBrowsers : BrowserLookup {
    std::optional<QString> internetExplorer() const override { return std::nullopt; }
    std::optional<QString> netscape() const override { return std::nullopt; }
    std::optional<QString> opera() const override { return std::nullopt; }
};

const QDate Today(2026, 12, 8);

int fail(const QByteArray& why) {
    std::fprintf(stderr, "store_driver: FAILED: %s\n", why.constData());
    return 1;
}

QString pageOf(const QString& name, int cycle) {
    return u"/diary/%1-%2.htm"_s.arg(name).arg(cycle);
}
QString valueOf(const QString& name, int cycle) {
    return u"%1-%2"_s.arg(name).arg(cycle);
}
QString AppSet::*settingOf(const QString& name) {
    return name.startsWith(u'A') ? &AppSet::DecoInfo0 : &AppSet::DecoInfo1;
}
AppFlag appSwitchOf(const QString& name) {
    return name.startsWith(u'A') ? TodayWrapFlag : AllWrapFlag;
}
HtmlFlag htmlSwitchOf(const QString& name) {
    return name.startsWith(u'A') ? HrFlag : AutoBrFlag;
}
char switchOf(int round) {
    return round % 2 ? '1' : '0';
}
// Empty when the copy's switches hold what its round set, else what they hold.
QString wrongSwitches(const HtmlSet& html, const AppSet& app, const QString& name, int round) {
    const char appSwitch = app.flag(appSwitchOf(name));
    const char htmlSwitch = html.flag(htmlSwitchOf(name));
    if (appSwitch == switchOf(round) && htmlSwitch == switchOf(round))
        return {};
    return u"%1's switches are '%2' and '%3' after its round %4, not '%5'"_s.arg(name)
        .arg(QChar::fromLatin1(appSwitch))
        .arg(QChar::fromLatin1(htmlSwitch))
        .arg(round)
        .arg(QChar::fromLatin1(switchOf(round)));
}

int runCycles(const QString& storeFile, const QString& name, int cycles) {
    JsonRegistry registry(storeFile);
    FailingMessages messages;
    NoBrowsers browsers;
    qint64 linesComposed = 0;
    qint32 entriesAtLastLoad = -1;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        HtmlSet html;
        AppSet app;
        LoadSettings(registry, browsers, html, app);
        const LoadedSettings loaded{html, app};

        if (cycle > 1) {
            if (app.*settingOf(name) != valueOf(name, cycle - 1))
                return fail(u"cycle %1: %2's setting is \"%3\""_s.arg(cycle)
                                .arg(name, app.*settingOf(name))
                                .toUtf8());
            // The entries composed since the last load, this copy's own one
            // included, are the saves since then; fewer than four cannot have
            // pushed this copy's page out of a history of three.
            const QStringList history{app.FileHistory1, app.FileHistory2, app.FileHistory3};
            if (app.WriteDiaryTime - entriesAtLastLoad <= 3 && !history.contains(pageOf(name, cycle - 1)))
                return fail(u"cycle %1: %2 lost from the history [%3]"_s.arg(cycle)
                                .arg(pageOf(name, cycle - 1), history.join(u", "_s))
                                .toUtf8());
        }
        entriesAtLastLoad = app.WriteDiaryTime;

        PushHistory(app, pageOf(name, cycle));
        const int lines = cycle % 7 + 1;
        CountInsertion(app, lines);
        linesComposed += lines;
        app.*settingOf(name) = valueOf(name, cycle);
        // A run lasts a while: the other copy saves in between.
        QThread::usleep(QRandomGenerator::global()->bounded(1000));

        if (!SaveSettings(registry, messages, html, app, loaded, u"/usr/bin/oribel"_s, Today))
            return fail(u"cycle %1: the save failed: %2"_s.arg(cycle).arg(registry.lastError()).toUtf8());
        if (messages.shown > 0)
            return fail("the store reported a problem");
    }
    std::printf("done %d %lld\n", cycles, static_cast<long long>(linesComposed));
    return 0;
}

int check(const QString& storeFile, const QStringList& copies) {
    JsonRegistry registry(storeFile);
    NoBrowsers browsers;
    HtmlSet html;
    AppSet app;
    LoadSettings(registry, browsers, html, app);

    qint64 entries = 0, lines = 0;
    QStringList lastPages;
    for (const QString& copy : copies) {
        const QStringList parts = copy.split(u':');
        if (parts.size() != 3)
            return fail("a copy is given as <name>:<cycles>:<lines>");
        const QString& name = parts[0];
        const int cycles = parts[1].toInt();
        entries += cycles;
        lines += parts[2].toLongLong();
        lastPages << pageOf(name, cycles);
        if (app.*settingOf(name) != valueOf(name, cycles))
            return fail(
                u"%1's setting is \"%2\", not its last value"_s.arg(name, app.*settingOf(name)).toUtf8());
    }
    if (app.WriteDiaryTime != entries || app.InsertDiaryTime != entries)
        return fail(u"%1 entries composed, the store counts %2 (and %3 since the last thanks)"_s.arg(entries)
                        .arg(app.WriteDiaryTime)
                        .arg(app.InsertDiaryTime)
                        .toUtf8());
    if (app.WriteDiaryLines != lines)
        return fail(u"%1 lines composed, the store counts %2"_s.arg(lines).arg(app.WriteDiaryLines).toUtf8());
    const QStringList history{app.FileHistory1, app.FileHistory2, app.FileHistory3};
    if (!lastPages.contains(history.first()))
        return fail(u"the history begins with %1, no copy's last page"_s.arg(history.first()).toUtf8());
    if (QStringList(history).removeDuplicates() != 0)
        return fail(u"the history holds a page twice: %1"_s.arg(history.join(u", "_s)).toUtf8());
    std::printf("store: %lld entries, %lld lines, history %s\n", static_cast<long long>(entries),
                static_cast<long long>(lines), history.join(u", "_s).toUtf8().constData());
    return 0;
}

int runRounds(const QString& storeFile, const QString& name, const QString& other, int rounds,
              const QString& meeting) {
    JsonRegistry registry(storeFile);
    FailingMessages messages;
    NoBrowsers browsers;
    // Leaves this copy's mark of a step and waits for the other copy's.
    const auto meet = [&](const QString& step) {
        QFile mark(u"%1/%2 %3"_s.arg(meeting, name, step));
        if (!mark.open(QIODevice::WriteOnly)) {
            fail(u"cannot leave the mark %1"_s.arg(mark.fileName()).toUtf8());
            return false;
        }
        mark.close();
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(u"%1/%2 %3"_s.arg(meeting, other, step))) {
            if (QFileInfo::exists(u"%1/%2 failed"_s.arg(meeting, other))) {
                fail(u"%1 failed"_s.arg(other).toUtf8());
                return false;
            }
            if (waited.elapsed() > 30000) {
                fail(u"%1 never %2"_s.arg(other, step).toUtf8());
                return false;
            }
            QThread::usleep(200);
        }
        return true;
    };
    for (int round = 1; round <= rounds; ++round) {
        HtmlSet html;
        AppSet app;
        LoadSettings(registry, browsers, html, app);
        const LoadedSettings loaded{html, app};
        if (round > 1) {
            if (const QString wrong = wrongSwitches(html, app, name, round - 1); !wrong.isEmpty()) {
                QFile(u"%1/%2 failed"_s.arg(meeting, name)).open(QIODevice::WriteOnly);
                return fail(wrong.toUtf8());
            }
        }
        if (!meet(u"loaded %1"_s.arg(round)))
            return 1;
        app.setFlag(appSwitchOf(name), switchOf(round));
        html.setFlag(htmlSwitchOf(name), switchOf(round));
        if (!SaveSettings(registry, messages, html, app, loaded, u"/usr/bin/oribel"_s, Today))
            return fail(u"round %1: the save failed: %2"_s.arg(round).arg(registry.lastError()).toUtf8());
        if (!meet(u"saved %1"_s.arg(round)))
            return 1;
    }
    std::printf("done %d\n", rounds);
    return 0;
}

int checkSwitches(const QString& storeFile, const QStringList& copies) {
    JsonRegistry registry(storeFile);
    NoBrowsers browsers;
    HtmlSet html;
    AppSet app;
    LoadSettings(registry, browsers, html, app);
    for (const QString& copy : copies) {
        const QStringList parts = copy.split(u':');
        if (parts.size() != 2)
            return fail("a copy is given as <name>:<rounds>");
        if (const QString wrong = wrongSwitches(html, app, parts[0], parts[1].toInt()); !wrong.isEmpty())
            return fail(wrong.toUtf8());
    }
    return 0;
}

int seed(const QString& storeFile) {
    JsonRegistry registry(storeFile);
    FailingMessages messages;
    NoBrowsers browsers;
    HtmlSet html;
    AppSet app;
    LoadSettings(registry, browsers, html, app);
    const LoadedSettings loaded{html, app};
    bool cleared = false;
    ApplySettingDefaults(html, app, cleared);
    if (!SaveSettings(registry, messages, html, app, loaded, u"/usr/bin/oribel"_s, Today))
        return fail(u"the save failed: %1"_s.arg(registry.lastError()).toUtf8());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "cycles" && argc == 5)
        return runCycles(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                         QByteArray(argv[4]).toInt());
    if (mode == "rounds" && argc == 7)
        return runRounds(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]), QByteArray(argv[5]).toInt(),
                         QString::fromLocal8Bit(argv[6]));
    if (mode == "seed" && argc == 3)
        return seed(QString::fromLocal8Bit(argv[2]));
    if (mode == "switches" && argc > 3) {
        QStringList copies;
        for (int i = 3; i < argc; ++i)
            copies << QString::fromLocal8Bit(argv[i]);
        return checkSwitches(QString::fromLocal8Bit(argv[2]), copies);
    }
    if (mode == "check" && argc > 3) {
        QStringList copies;
        for (int i = 3; i < argc; ++i)
            copies << QString::fromLocal8Bit(argv[i]);
        return check(QString::fromLocal8Bit(argv[2]), copies);
    }
    return fail(
        "usage: store_driver cycles <store> <name> <cycles> | check <store> <name>:<cycles>:<lines>... | "
        "rounds <store> <name> <other> <rounds> <folder> | switches <store> <name>:<rounds>... | seed "
        "<store>");
}
