// Drives page saves and recovery writes for tests/kill_saves.sh, which kills
// it at random moments and then asks it to check what is on the disk.
//
//   save_driver page <file> <megabytes> <first generation> [--once]
//       Saves the page of each generation in turn, through textfile::write,
//       printing "ready" once the texts are made and "saved <generation>
//       <milliseconds>" after each save; with --once, one save only.
//   save_driver check-page <file> <megabytes> <generation>...
//       Prints the generation the page holds; fails unless it is one of those
//       given and the page is that generation's text byte for byte.
//   save_driver recovery <folder> <kilobytes> <first generation>
//       Writes today's body of each generation as a recovery copy, printing
//       "ready" and then "wrote <generation>" after each write.
//   save_driver check-recovery <folder> <kilobytes> <generation or "none">...
//       Looks for the copy a killed writer left, as the next start would;
//       prints its generation (or "none"); fails unless it is one of those
//       given, byte for byte, and no temporary file is left.
//
// Generation n's text: the line "generation <n>", a long body of mixed ASCII
// and Japanese lines, and the line "end of generation <n>", so a page cut
// short or made of two saves would not pass as either.

#include "platform/RecoveryStore.h"
#include "platform/SjisCodec.h"
#include "platform/TextFile.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString body(qint64 bytes) {
    QString block;
    for (int line = 0; block.size() < 4096; ++line)
        block += u"<p>今日の日記、%1 行目。abcdefg xyz</p>\n"_s.arg(line);
    // Roughly the asked size in bytes (Japanese characters take two).
    const qint64 blockBytes = sjis::byteLength(block);
    return block.repeated(qMax<qint64>(1, bytes / blockBytes));
}

QString generationText(qint64 generation, const QString& body) {
    const QString number = QString::number(generation);
    return u"generation "_s + number + u'\n' + body + u"end of generation "_s + number;
}

QByteArray generationBytes(qint64 generation, const QByteArray& encodedBody) {
    const QByteArray number = QByteArray::number(generation);
    return "generation " + number + "\r\n" + encodedBody + "end of generation " + number;
}

QByteArray encodedBody(qint64 bytes) {
    return sjis::encode(body(bytes), sjis::LineBreaks::CrLf);
}

// The generation a text's first line names, or -1.
qint64 generationOf(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf("\r\n");
    if (!bytes.startsWith("generation ") || end < 0)
        return -1;
    bool ok = false;
    const qint64 generation = bytes.sliced(11, end - 11).toLongLong(&ok);
    return ok ? generation : -1;
}

void say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int fail(const QByteArray& why) {
    std::fprintf(stderr, "save_driver: %s\n", why.constData());
    return 1;
}

QStringList leftoversIn(const QString& folder) {
    QStringList found;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (name.contains(u".oribel-save-"_s))
            found.append(name);
    }
    return found;
}

int savePages(const QString& file, qint64 bytes, qint64 first, bool once) {
    const QString pageBody = body(bytes);
    say("ready");
    for (qint64 generation = first;; ++generation) {
        const QString text = generationText(generation, pageBody);
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!textfile::write(file, text, &error))
            return fail(error.toUtf8());
        say("saved " + QByteArray::number(generation) + ' ' + QByteArray::number(timer.elapsed()));
        if (once)
            return 0;
    }
}

int checkPage(const QString& file, qint64 bytes, const QList<qint64>& allowed) {
    const std::optional<QByteArray> found = textfile::readBytes(file);
    if (!found)
        return fail("the page cannot be read");
    const qint64 generation = generationOf(*found);
    say(QByteArray::number(generation));
    if (!allowed.contains(generation))
        return fail("the page holds generation " + QByteArray::number(generation) + ", neither old nor new");
    if (*found != generationBytes(generation, encodedBody(bytes)))
        return fail("the page is not generation " + QByteArray::number(generation) + " byte for byte");
    return 0;
}

int writeRecovery(const QString& folder, qint64 bytes, qint64 first) {
    const QByteArray copyBody = encodedBody(bytes);
    RecoveryStore store(folder);
    if (!store.isUsable())
        return fail(store.lastError().toUtf8());
    say("ready");
    for (qint64 generation = first;; ++generation) {
        if (!store.write(RecoveryKind::TodayBody, generationBytes(generation, copyBody), {}))
            return fail(store.lastError().toUtf8());
        say("wrote " + QByteArray::number(generation));
    }
}

int checkRecovery(const QString& folder, qint64 bytes, const QList<qint64>& allowed) {
    RecoveryStore store(folder);
    const RecoveryScan scan = store.scan();
    if (!scan.setAside.isEmpty())
        return fail("a copy was unreadable: " + scan.setAside.join(u", "_s).toUtf8());
    if (!leftoversIn(folder).isEmpty())
        return fail("temporary files are left: " + leftoversIn(folder).join(u", "_s).toUtf8());
    if (scan.offers.size() > 1)
        return fail("more than one copy is offered");
    if (scan.offers.isEmpty()) {
        say("none");
        return allowed.contains(-1) ? 0 : fail("the previous copy is gone");
    }
    const QByteArray& text = scan.offers.first().text;
    const qint64 generation = generationOf(text);
    say(QByteArray::number(generation));
    if (!allowed.contains(generation))
        return fail("the copy holds generation " + QByteArray::number(generation) + ", neither old nor new");
    if (text != generationBytes(generation, encodedBody(bytes)))
        return fail("the copy is not generation " + QByteArray::number(generation) + " byte for byte");
    return 0;
}

QList<qint64> generations(int argc, char** argv, int from) {
    QList<qint64> list;
    for (int i = from; i < argc; ++i)
        list.append(QByteArray(argv[i]) == "none" ? -1 : QByteArray(argv[i]).toLongLong());
    return list;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5)
        return fail(
            "usage: save_driver page|check-page|recovery|check-recovery <path> <size> <generation>...");
    const QByteArray mode = argv[1];
    const QString path = QString::fromLocal8Bit(argv[2]);
    const qint64 size = QByteArray(argv[3]).toLongLong();
    if (mode == "page")
        return savePages(path, size << 20, QByteArray(argv[4]).toLongLong(),
                         argc > 5 && QByteArray(argv[5]) == "--once");
    if (mode == "check-page")
        return checkPage(path, size << 20, generations(argc, argv, 4));
    if (mode == "recovery")
        return writeRecovery(path, size << 10, QByteArray(argv[4]).toLongLong());
    if (mode == "check-recovery")
        return checkRecovery(path, size << 10, generations(argc, argv, 4));
    return fail("unknown mode " + mode);
}
