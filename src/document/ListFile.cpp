#include "document/ListFile.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace listfile {

namespace {

constexpr char EndOfFile = 0x1A;
const QString LineEnd = u"\r\n"_s;

QString cut(const QString& text, qsizetype maxBytes) {
    return sjis::truncateToBytes(text, maxBytes);
}

// Appends the pieces of one line (without its LF) to lines. hasLf: the line
// ended in an LF, which belongs to the last piece when there is room for it.
void appendPieces(QStringView rest, bool hasLf, QStringList& lines) {
    while (true) {
        QString piece = sjis::truncateToBytes(rest, PieceBytes);
        if (piece.isEmpty() && !rest.isEmpty())
            piece = rest.first(1).toString(); // no character is that long; never loop forever
        if (piece.size() < rest.size()) {
            rest = rest.sliced(piece.size());
            lines.append(piece);
            continue;
        }
        // The rest fits. Its LF does too, unless the rest fills the piece:
        // then the LF comes as a piece (an empty line) of its own.
        if (!piece.isEmpty() || hasLf)
            lines.append(piece);
        if (hasLf && sjis::byteLength(piece) == PieceBytes)
            lines.append(QString());
        return;
    }
}

// A cell as it may be written: a line break would split the entry and a 0x1A
// would end the file for every later reader, so both become blanks.
QString writable(const QString& cell) {
    QString text = cell;
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == 0x1A || u == 0x2028 || u == 0x2029)
            c = u' ';
    }
    return text;
}

// Removes blanks and control characters (everything up to the space) at both ends.
QString trimmedCell(const QString& cell) {
    qsizetype begin = 0;
    qsizetype end = cell.size();
    while (begin < end && cell[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && cell[end - 1].unicode() <= 0x20)
        --end;
    return cell.sliced(begin, end - begin);
}

QList<QStringList> padded(const QList<QStringList>& rows, qsizetype columns) {
    QList<QStringList> result = rows;
    for (QStringList& row : result) {
        while (row.size() < columns)
            row.append(QString());
        for (qsizetype column = 0; column < columns; ++column)
            row[column] = writable(row[column]);
    }
    return result;
}

QString snippetLine(const QString& name, const QString& start, const QString& end) {
    const QString line =
        cut(name, SnippetNameBytes) + u',' + cut(start, SnippetStartBytes) + u',' + cut(end, SnippetEndBytes);
    return cut(line, WrittenLineBytes) + LineEnd;
}

QString bookmarkLine(const QString& url, const QString& name) {
    return cut(url, BookmarkUrlBytes) + u',' + cut(name, BookmarkNameBytes) + LineEnd;
}

// The default entries link to the author's pages; while the author has no
// site there is nothing to link to, and the list stays without an entry.
QString defaultSnippetLine(const AuthorAddresses& author) {
    if (!author.hasSite())
        return QString();
    return snippetLine(msg::DefaultSnippetName, u"<A HREF=\""_s + author.downloadUrl() + u"\">"_s,
                       msg::DefaultSnippetEnd);
}

QString defaultBookmarkLine(const AuthorAddresses& author) {
    if (!author.hasSite())
        return QString();
    return bookmarkLine(author.diaryUrl(), msg::DefaultBookmarkName);
}

// Writes text and reports a failure with the list's own messages.
bool save(const QString& path, const QString& text, MessageService& messages, const QString& openFailed,
          const QString& openCaption, const QString& writeFailed) {
    switch (writeWhole(path, sjis::encode(text))) {
    case WriteFailure::None:
        return true;
    case WriteFailure::Open:
        messages.show(openFailed, openCaption, MsgIcon::Error);
        return false;
    case WriteFailure::Write:
        messages.show(writeFailed, msg::ListFileFatalErrorCaption, MsgIcon::Error);
        return false;
    }
    return false;
}

} // namespace

// ---- Reading ----------------------------------------------------------------

QStringList splitLines(QByteArrayView bytes) {
    QByteArray cleaned;
    cleaned.reserve(bytes.size());
    for (const char b : bytes) {
        if (b == EndOfFile)
            break;
        if (b != '\r')
            cleaned.append(b);
    }
    // No trail byte of a double-byte character is an LF or a comma, so the
    // decoded text splits exactly where the bytes would.
    const QString text = sjis::decode(cleaned);
    QStringList lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype lf = text.indexOf(u'\n', pos);
        const qsizetype lineEnd = lf < 0 ? text.size() : lf;
        appendPieces(QStringView(text).sliced(pos, lineEnd - pos), lf >= 0, lines);
        pos = lf < 0 ? text.size() : lf + 1;
    }
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return splitLines(bytes);
}

QStringList splitFields(const QString& line) {
    return line.split(u',', Qt::SkipEmptyParts);
}

QList<Bookmark> readBookmarks(const QString& path) {
    QList<Bookmark> bookmarks;
    for (const QString& line : readLines(path)) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = splitFields(line);
        if (fields.isEmpty())
            continue;
        const QString& name = fields.size() > 1 ? fields[1] : fields[0];
        bookmarks.append(Bookmark{cut(fields[0], BookmarkUrlBytes), cut(name, BookmarkNameBytes)});
    }
    return bookmarks;
}

QList<Snippet> readSnippets(const QString& path) {
    QList<Snippet> snippets;
    for (const QString& line : readLines(path)) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = splitFields(line);
        if (fields.size() < 2)
            continue;
        Snippet snippet;
        snippet.name = cut(fields[0], SnippetNameBytes);
        snippet.start = cut(fields[1], SnippetStartBytes);
        snippet.end = fields.size() > 2 ? cut(fields[2], SnippetEndBytes) : u"#"_s;
        snippet.isSentence = snippet.end.startsWith(u'#');
        snippets.append(snippet);
    }
    return snippets;
}

QStringList readProjectMenuPaths(const QString& path) {
    QStringList paths;
    for (const QString& line : readLines(path)) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            paths.append(line);
    }
    return paths;
}

QStringList readProjectRows(const QString& path) {
    return readLines(path);
}

// ---- Checking ---------------------------------------------------------------

char32_t unwritableCharacter(QStringView text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = text.sliced(i, length);
        // A character survives when its written bytes read back as itself.
        if (sjis::decode(sjis::encode(character)) != character)
            return QStringView(character).toUcs4().value(0);
        i += length;
    }
    return 0;
}

// ---- Writing ----------------------------------------------------------------

WriteFailure writeWhole(const QString& path, QByteArrayView bytes) {
    // QSaveFile writes beside the target and renames over it only on commit;
    // it also refuses to open over an existing read-only file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteFailure::Open;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return WriteFailure::Write;
    }
    return file.commit() ? WriteFailure::None : WriteFailure::Write;
}

WriteResult writeSnippets(const QString& path, const QList<QStringList>& rows, MessageService& messages,
                          const AuthorAddresses& author) {
    WriteResult result{padded(rows, 3), false};
    QString text = msg::SnippetListHeader + LineEnd;
    int written = 0;
    for (QStringList& row : result.rows) {
        row[0] = trimmedCell(row[0]);
        if (row[1].isEmpty())
            continue;
        if (row[0].isEmpty())
            row[0] = row[1];
        if (row[2].isEmpty())
            row[2] = u"#"_s;
        text += snippetLine(row[0], row[1], row[2]);
        ++written;
    }
    if (written == 0)
        text += defaultSnippetLine(author);
    result.saved = save(path, text, messages, msg::SnippetListOpenFailed, msg::ListFileOpenErrorCaption,
                        msg::SnippetListWriteFailed);
    return result;
}

WriteResult writeBookmarks(const QString& path, const QList<QStringList>& rows, MessageService& messages,
                           const AuthorAddresses& author) {
    WriteResult result{padded(rows, 2), false};
    QString text = msg::BookmarkListHeader + LineEnd;
    int written = 0;
    for (QStringList& row : result.rows) {
        row[0] = trimmedCell(row[0]);
        row[1] = trimmedCell(row[1]);
        if (row[1].isEmpty())
            continue;
        if (row[0].isEmpty())
            row[0] = row[1];
        text += bookmarkLine(row[1], row[0]);
        ++written;
    }
    if (written == 0)
        text += defaultBookmarkLine(author);
    result.saved = save(path, text, messages, msg::BookmarkListOpenFailed, msg::ListFileOpenErrorCaption,
                        msg::BookmarkListWriteFailed);
    return result;
}

WriteResult writeProjects(const QString& path, const QList<QStringList>& rows, MessageService& messages) {
    WriteResult result{padded(rows, 2), false};
    QString text;
    for (const QStringList& row : std::as_const(result.rows)) {
        if (!row[1].isEmpty())
            text += cut(row[1], WrittenLineBytes) + LineEnd;
    }
    result.saved = save(path, text, messages, msg::ProjectListWriteFailed, msg::ListFileFatalErrorCaption,
                        msg::ProjectListWriteFailed);
    return result;
}

} // namespace listfile
