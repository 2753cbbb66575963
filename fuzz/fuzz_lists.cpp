// Arbitrary bytes as the three list files: the readers must keep every piece
// and field within its byte limit, and what the dialog would write back from
// the entries must settle after the first writings.

#include "FuzzCheck.h"
#include "document/ListFile.h"
#include "platform/SjisCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

bool within(const QString& text, qsizetype maxBytes) {
    return sjis::byteLength(text) <= maxBytes && !text.contains(u'\n');
}

QList<QStringList> bookmarkRows(const QList<listfile::Bookmark>& bookmarks) {
    QList<QStringList> rows;
    for (const listfile::Bookmark& b : bookmarks)
        rows.append({b.name, b.url});
    return rows;
}

QList<QStringList> snippetRows(const QList<listfile::Snippet>& snippets) {
    QList<QStringList> rows;
    for (const listfile::Snippet& s : snippets)
        rows.append({s.name, s.start, s.shownEnd()});
    return rows;
}

QList<QStringList> projectRows(const QStringList& paths) {
    QList<QStringList> rows;
    for (const QString& path : paths)
        rows.append({u"Default"_s, path});
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/oribel-fuzz-XXXXXX"_s
                                                          : QDir::tempPath() + u"/oribel-fuzz-XXXXXX"_s);
    const QString path = dir.filePath(u"list"_s);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }

    for (const QString& line : listfile::splitLines(bytes))
        CHECK(within(line, listfile::PieceBytes));

    fuzz::CountingMessages messages;
    const AuthorAddresses author;

    const QList<listfile::Bookmark> bookmarks = listfile::readBookmarks(path);
    for (const listfile::Bookmark& b : bookmarks) {
        CHECK(!b.url.isEmpty() && within(b.url, listfile::BookmarkUrlBytes));
        CHECK(!b.name.isEmpty() && within(b.name, listfile::BookmarkNameBytes));
    }
    const QList<listfile::Snippet> snippets = listfile::readSnippets(path);
    for (const listfile::Snippet& s : snippets) {
        CHECK(!s.name.isEmpty() && within(s.name, listfile::SnippetNameBytes));
        CHECK(!s.start.isEmpty() && within(s.start, listfile::SnippetStartBytes));
        CHECK(!s.end.isEmpty() && within(s.end, listfile::SnippetEndBytes));
        CHECK(s.isSentence == s.end.startsWith(u'#'));
    }
    const QStringList paths = listfile::readProjectMenuPaths(path);

    // Written by the dialog's rules and read again, the entries settle. The
    // first writings may still change them: a snippet without a name takes
    // its start untrimmed, trimmed only at the next writing, which may turn
    // it into a comment; a list left empty then gets its default entry.
    const QString written = dir.filePath(u"written"_s);
    const auto settles = [&](auto entries, auto rowsOf, auto write, auto read) {
        for (int round = 0; round < 3; ++round) {
            write(rowsOf(entries));
            entries = read();
        }
        write(rowsOf(entries));
        CHECK(read() == entries);
    };
    settles(
        bookmarks, bookmarkRows,
        [&](const QList<QStringList>& rows) { listfile::writeBookmarks(written, rows, messages, author); },
        [&] { return listfile::readBookmarks(written); });
    settles(
        snippets, snippetRows,
        [&](const QList<QStringList>& rows) { listfile::writeSnippets(written, rows, messages, author); },
        [&] { return listfile::readSnippets(written); });
    settles(
        paths, projectRows,
        [&](const QList<QStringList>& rows) { listfile::writeProjects(written, rows, messages); },
        [&] { return listfile::readProjectMenuPaths(written); });

    CHECK(messages.shown == 0);
    return 0;
}
