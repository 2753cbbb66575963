#include "settings/TagInfoFile.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessages.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace taginfo;

namespace {

// The dialog's controls as plain values; every setter call is logged.
class MapControls : public TagInfoControls {
public:
    QMap<TagItem, QString> texts;
    QMap<TagItem, bool> checks;
    int dateType = 0;
    QString name;
    bool guard = false;
    int captionRefreshes = 0;
    QList<int> applied; // item numbers set, in order
    bool nameSetWithoutGuard = false;

    QString itemText(TagItem item) const override { return texts.value(item); }
    void setItemText(TagItem item, const QString& text) override {
        texts[item] = text;
        applied << int(item);
    }
    bool itemChecked(TagItem item) const override { return checks.value(item); }
    void setItemChecked(TagItem item, bool checked) override {
        checks[item] = checked;
        applied << int(item);
    }
    int dateTypeIndex() const override { return dateType; }
    void setDateTypeIndex(int index) override {
        dateType = index;
        applied << int(TagItem::RadioDateType);
    }
    QString setName() const override { return name; }
    void setSetName(const QString& newName) override {
        name = newName;
        nameSetWithoutGuard = nameSetWithoutGuard || !guard;
    }
    void refreshCaption() override { ++captionRefreshes; }
    void setLoadingGuard(bool on) override { guard = on; }
};

// The file's items as this test reads the layout table: per group, the kinds
// of its items (T text, N number, F flag).
const std::vector<std::string> Groups = {"TTNFFFFFFFF", "TTTTTTTFF", "TTF", "TTFF", "FTT", "FFF", "T"};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

const QByteArray HeaderLine =
    bytes({0x8E, 0xE8, 0x93, 0xAE, 0x89, 0xFC, 0x95, 0xCF, 0x8C, 0xB5, 0x8B, 0xD6, 0x81, 0x49, 0x0D, 0x0A});

QByteArray header(const QByteArray& writer = "310", const QByteArray& required = "0",
                  const QByteArray& setName = bytes({0x15})) {
    return HeaderLine + '\x16' + writer + '\x16' + '\x0C' + required + '\x0C' + '\x04' + setName + '\x04';
}

// File bytes in a readable notation: '^' 0x16, '%' 0x0C, '&' 0x04, '#' body
// start (0x13), '|' 0x03, '/' 0x0E, '$' 0x05, '~' 0xFF; every other character
// stands for itself.
QByteArray body(const char* notation) {
    QByteArray out;
    for (const char* p = notation; *p; ++p) {
        switch (*p) {
        case '^':
            out += '\x16';
            break;
        case '%':
            out += '\x0C';
            break;
        case '&':
            out += '\x04';
            break;
        case '#':
            out += '\x13';
            break;
        case '|':
            out += '\x03';
            break;
        case '/':
            out += '\x0E';
            break;
        case '$':
            out += '\x05';
            break;
        case '~':
            out += '\xFF';
            break;
        default:
            out += *p;
        }
    }
    return out;
}

// A whole file: value(group, index) gives each item's bytes.
QByteArray layoutFile(const std::function<QByteArray(int, int)>& value, const QByteArray& head = header()) {
    QByteArray out = head + '\x13' + '\x03';
    for (int g = 0; g < int(Groups.size()); ++g) {
        for (int i = 0; i < int(Groups[g].size()); ++i) {
            out += value(g, i);
            const bool last = i + 1 == int(Groups[g].size());
            out += !last ? '\x03' : g + 1 == int(Groups.size()) ? '\x05' : '\x0E';
        }
    }
    return out;
}

// Distinct values for every item: text "g<group>i<index>", number 3, flags
// alternating.
QByteArray sampleValue(int g, int i) {
    switch (Groups[g][i]) {
    case 'T':
        return "g" + QByteArray::number(g) + "i" + QByteArray::number(i);
    case 'N':
        return "3";
    default:
        return bytes({(g + i) % 2 ? 0x14 : 0x06});
    }
}

// Every text empty, every flag off, the date form as given.
QByteArray blankValue(int g, int i, const QByteArray& dateType) {
    switch (Groups[g][i]) {
    case 'T':
        return {};
    case 'N':
        return dateType;
    default:
        return bytes({0x06});
    }
}

TagItem itemAt(int g, int i) {
    return TagItem((g + 1) * 100 + i);
}

// Controls holding what sampleValue() describes.
MapControls sampleControls() {
    MapControls c;
    for (int g = 0; g < int(Groups.size()); ++g) {
        for (int i = 0; i < int(Groups[g].size()); ++i) {
            if (Groups[g][i] == 'T')
                c.texts[itemAt(g, i)] = QString::fromLatin1(sampleValue(g, i));
            else if (Groups[g][i] == 'F')
                c.checks[itemAt(g, i)] = (g + i) % 2;
        }
    }
    c.dateType = 3;
    return c;
}

struct Session {
    QTemporaryDir dir;
    FakeMessages messages;
    FakeFileDialogs dialogs;
    FileDialog openDialog{FileDialogKind::Open, &dialogs};
    FileDialog saveDialog{FileDialogKind::Save, &dialogs};

    QString write(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    void import(MapControls& controls, const QString& path) {
        dialogs.chooseNext(path);
        importTagFile(controls, openDialog, messages, dir.path() + u'/');
    }
};

} // namespace

TEST(TagInfoFile, ExportWritesTheLayoutByteForByte) {
    MapControls filled = sampleControls();
    filled.texts[TagItem::EditWeaChar] = u"／"_s; // CP932 81 5E
    filled.texts[TagItem::EditWea4] = u"ｱ雪"_s;   // B1, 90 E1

    MapControls blank; // empty texts, nothing ticked, no date form
    blank.dateType = -1;

    MapControls delimiters; // bytes that would end a value early are left out
    delimiters.texts[TagItem::EditDate1] = u"a\u0003b\u0005c\u000Ed"_s;

    const struct {
        const char* name;
        const MapControls& controls;
        std::function<QByteArray(int, int)> value;
    } cases[] = {
        {"filled", filled,
         [](int g, int i) {
             if (g == 1 && i == 5)
                 return bytes({0x81, 0x5E});
             if (g == 1 && i == 3)
                 return bytes({0xB1, 0x90, 0xE1});
             return sampleValue(g, i);
         }},
        {"blank", blank, [](int g, int i) { return blankValue(g, i, "-1"); }},
        {"delimiters in a text", delimiters,
         [](int g, int i) { return g == 0 && i == 0 ? QByteArray("abcd") : blankValue(g, i, "0"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray expected = layoutFile(c.value);
        EXPECT_EQ(encodeTagFile(c.controls), expected);

        Session s;
        const QString path = s.dir.filePath(u"out.ozt"_s);
        s.dialogs.chooseNext(path);
        EXPECT_TRUE(exportTagFile(c.controls, s.saveDialog, s.messages, s.dir.path() + u'/'));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), expected);

        const FileDialogRecord& dialog = s.dialogs.last();
        EXPECT_EQ(dialog.title, u"保存先HTMLタグ情報ファイルを指定"_s);
        EXPECT_EQ(dialog.filter, u"HTMLタグ情報ファイル(*.ozt)|*.ozt|全てのファイル|*.*"_s);
        EXPECT_EQ(dialog.filterIndex, 1);
        EXPECT_EQ(dialog.initialDir, s.dir.path() + u'/');
        EXPECT_EQ(dialog.defaultExt, u"ozt"_s);
        EXPECT_TRUE(dialog.options & FileDialogOption::OverwritePrompt);
        ASSERT_EQ(s.messages.count(), 1);
        EXPECT_EQ(s.messages.last().text, u"現在のHTMLタグ設定を、ファイル ["_s +
                                              QDir::toNativeSeparators(path) + u"] へ書き出しました。"_s);
        EXPECT_EQ(s.messages.last().caption, u"書き出し完了"_s);
        EXPECT_EQ(s.messages.last().icon, MsgIcon::Information);
    }
}

TEST(TagInfoFile, ExportFailureIsReportedAndNothingIsWritten) {
    Session s;
    const QString missingFolder = s.dir.filePath(u"missing/out.ozt"_s);
    s.dialogs.chooseNext(missingFolder);
    EXPECT_FALSE(exportTagFile(sampleControls(), s.saveDialog, s.messages, s.dir.path()));
    ASSERT_EQ(s.messages.count(), 1);
    EXPECT_TRUE(s.messages.last().text.startsWith(u"出力用FileのOpenに失敗."_s));
    EXPECT_TRUE(s.messages.last().text.contains(QDir::toNativeSeparators(missingFolder)));
    EXPECT_FALSE(s.messages.containsText(u"書き出しました"_s));
    EXPECT_FALSE(QFile::exists(missingFolder));

    // Cancelling the dialog writes and shows nothing.
    s.messages.clear();
    s.dialogs.cancelNext();
    EXPECT_FALSE(exportTagFile(sampleControls(), s.saveDialog, s.messages, s.dir.path()));
    EXPECT_EQ(s.messages.count(), 0);
}

TEST(TagInfoFile, ExportedFileComesBackWhole) {
    MapControls written = sampleControls();
    written.texts[TagItem::EditDate1] = QString();                        // empty stays empty, not "ERR"
    written.texts[TagItem::EditDate2] = u"ｶﾀｶﾅ</b>"_s;                    // half-width katakana first
    written.texts[TagItem::EditAll1] = u"<TABLE>"_s + QString(300, u'x'); // longer than 256 bytes
    written.texts[TagItem::EditTitle1] = u"<font color=\"#008000\">題"_s;

    Session s;
    const QString path = s.dir.filePath(u"mine.ozt"_s);
    s.write(u"mine.ozt"_s, encodeTagFile(written));
    MapControls read;
    read.name = u"前のセット"_s; // a named set is replaced without asking
    read.dateType = 5;
    s.import(read, path);

    EXPECT_EQ(s.messages.count(), 0);
    EXPECT_EQ(read.texts, written.texts);
    EXPECT_EQ(read.checks, written.checks);
    EXPECT_EQ(read.dateType, written.dateType);
    EXPECT_EQ(read.applied.size(), 34);
    EXPECT_EQ(read.name, u"mine.ozt"_s);
    EXPECT_FALSE(read.nameSetWithoutGuard);
    EXPECT_FALSE(read.guard);
    EXPECT_GE(read.captionRefreshes, 1);

    const FileDialogRecord& dialog = s.dialogs.last();
    EXPECT_EQ(dialog.title, u"HTMLタグ情報ファイルを開く"_s);
    EXPECT_EQ(dialog.filter, msg::TagFileFilter);
    EXPECT_EQ(dialog.filterIndex, 1);
    EXPECT_EQ(dialog.initialDir, s.dir.path() + u'/');
}

TEST(TagInfoFile, ItemValueGivesItsFieldText) {
    const struct {
        QByteArray value;
        QString text;
    } cases[] = {
        {"", u""_s},
        {"<B>", u"<B>"_s},
        {bytes({0x1B, '['}), u"\u001B["_s},
        {bytes({0xB1, 0xB2}), u"ｱｲ"_s},
        {bytes({0x82, 0xA0}), u"あ"_s},
        {bytes({0x01, 'a'}), u"ERR"_s},
        {bytes({0x09, '<'}), u"ERR"_s},
        {bytes({0x1A}), u"ERR"_s},
        {bytes({0x00, 'a'}), u"ERR"_s},
        {bytes({0x14}), u"ERR"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toHex().toStdString());
        EXPECT_EQ(itemTextFromValue(c.value), c.text);
    }
    // Bytes that are not CP932 text come back as the same bytes.
    EXPECT_EQ(sjis::encode(itemTextFromValue(bytes({0x80, 0xFD, 'a'}))), bytes({0x80, 0xFD, 'a'}));
}

TEST(TagInfoFile, ImportFollowsTheFileAndTheAnswers) {
    const QByteArray full = layoutFile(sampleValue);
    QList<int> everyItem;
    for (const TagItemInfo& info : TagItems)
        everyItem << int(info.item);
    // The byte where the required version should open is not 0x0C.
    const QByteArray missingRequired =
        HeaderLine + body("^310^") + '\0' + '\x04' + sjis::encode(u"名"_s) + body("&#|a$");
    const QString tooNew =
        u"このデータは、もっと新しいバージョンの「Oribel」で作成されたものです。\n\n互換性がありませんので、取り込むことはできません。"_s;
    const QString damaged = u"このデータファイルは壊れている可能性があります。\n\n処理を続行しますか？"_s;

    const struct {
        const char* name;
        QByteArray file;
        QList<MsgAnswer> answers;
        QStringList texts;  // every box, in order
        QList<int> applied; // item numbers set, in order
        QString setName;
    } cases[] = {
        {"old writer, OK",
         layoutFile(sampleValue, header("300")),
         {MsgAnswer::Ok},
         {u"これは古いデータ形式です。読み込んでもよろしいですか？"_s},
         everyItem,
         u"f.ozt"_s},
        {"old writer, Cancel",
         layoutFile(sampleValue, header("300")),
         {MsgAnswer::Cancel},
         {msg::TagFileOldFormat},
         {},
         u"前"_s},
        {"newer reader required", layoutFile(sampleValue, header("310", "311")), {}, {tooNew}, {}, u"前"_s},
        {"group ends early", header() + body("#|a|b/w$"), {}, {}, {100, 101, 200}, u"f.ozt"_s},
        {"one item too many",
         header() + body("#|0|1|2|3|4|5|6|7|8|9|10|11/w$"),
         {},
         {u"ERROR:111"_s, u"データファイルの記録形式に問題があります。"_s},
         {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110},
         u"f.ozt"_s},
        {"no LF",
         HeaderLine.left(14) + header().mid(16) + full.mid(full.indexOf('\x13')),
         {MsgAnswer::Ok, MsgAnswer::Yes},
         {msg::TagFileOldFormat, damaged},
         {},
         u""_s},
        {"required version missing, No", missingRequired, {MsgAnswer::No}, {damaged}, {}, u"名"_s},
        {"required version missing, Yes", missingRequired, {MsgAnswer::Yes}, {damaged}, {100}, u"名"_s},
        // The byte read in place of an absent field is gone, so the writer's
        // version stands in for both later fields.
        {"two fields missing", HeaderLine + body("^310^&N&#|a$"), {MsgAnswer::Yes}, {damaged}, {}, u"310"_s},
        {"no body start", header(), {}, {}, {}, u"f.ozt"_s},
        {"nothing after the body start", header() + body("#"), {}, {}, {}, u"f.ozt"_s},
        {"ends without 0x05", header() + body("#|a|b"), {}, {u"期待しないEOF"_s}, {100, 101}, u"f.ozt"_s},
        {"0xFF ends the file",
         header() + body("#|a~~|b$"),
         {},
         {msg::TagFileUnexpectedEnd},
         {100},
         u"f.ozt"_s},
        {"stray bytes between items", header() + body("#xy|a/z|b$"), {}, {}, {100, 200, 201}, u"f.ozt"_s},
        {"default set name", header("310", "0", "\x19") + body("#|a$"), {}, {}, {100}, u"デフォルト設定"_s},
        {"named set",
         header("310", "0", sjis::encode(u"私の設定"_s)) + body("#|a$"),
         {},
         {},
         {100},
         u"私の設定"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        for (MsgAnswer answer : c.answers)
            s.messages.answerNext(answer);
        MapControls controls;
        controls.name = u"前"_s;
        s.import(controls, s.write(u"f.ozt"_s, c.file));
        EXPECT_EQ(s.messages.texts(), c.texts);
        EXPECT_EQ(s.messages.pendingAnswers(), 0);
        EXPECT_EQ(controls.applied, c.applied);
        EXPECT_EQ(controls.name, c.setName);
        EXPECT_FALSE(controls.guard);
    }
}

TEST(TagInfoFile, ImportBoxesHaveTheirCaptionsIconsAndButtons) {
    const struct {
        QByteArray file;
        QList<MsgAnswer> answers;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
        std::optional<MsgAnswer> defaultButton;
    } cases[] = {
        {header("300"), {MsgAnswer::Cancel}, u"確認"_s, MsgIcon::Question, MsgButtons::OkCancel, {}},
        {header("310", "311"), {}, u"不適合"_s, MsgIcon::Error, MsgButtons::Ok, {}},
        {HeaderLine + body("^310^"),
         {MsgAnswer::No},
         u"確認"_s,
         MsgIcon::Exclamation,
         MsgButtons::YesNo,
         MsgAnswer::No},
        {header() + body("#|a"), {}, u"Oribel 3"_s, MsgIcon::None, MsgButtons::Ok, {}},
        {header() + body("#|0|1|2|3|4|5|6|7|8|9|10|11$"),
         {},
         u"致命的エラー"_s,
         MsgIcon::Error,
         MsgButtons::Ok,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        Session s;
        for (MsgAnswer answer : c.answers)
            s.messages.answerNext(answer);
        MapControls controls;
        controls.name = u"前"_s;
        s.import(controls, s.write(u"f.ozt"_s, c.file));
        const MessageRequest& box = s.messages.last();
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, c.buttons);
        EXPECT_EQ(box.defaultButton, c.defaultButton);
    }
}

TEST(TagInfoFile, ImportOfAUserDefinedSetAsksFirst) {
    const struct {
        const char* name;
        MsgAnswer answer;
        bool dialogShown;
    } cases[] = {{"Yes", MsgAnswer::Yes, true}, {"No", MsgAnswer::No, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.messages.answerNext(c.answer);
        if (c.dialogShown)
            s.dialogs.cancelNext();
        MapControls controls; // user-defined: empty set name
        importTagFile(controls, s.openDialog, s.messages, s.dir.path());
        ASSERT_GE(s.messages.count(), 1);
        EXPECT_EQ(
            s.messages.requests().first().text,
            u"現在のHTML設定が失われては困る場合は、先に現在の設定をファイルに書き出して下さい。\n\n新しいデータを開きますか？"_s);
        EXPECT_EQ(s.messages.requests().first().caption, u"HTML設定セット取り込み"_s);
        EXPECT_EQ(s.messages.requests().first().buttons, MsgButtons::YesNo);
        EXPECT_EQ(s.dialogs.count(), c.dialogShown ? 1 : 0);
        EXPECT_TRUE(controls.applied.isEmpty());
        EXPECT_FALSE(controls.guard);
    }

    // A file that cannot be opened.
    Session s;
    MapControls controls;
    controls.name = u"前"_s;
    s.import(controls, s.dir.filePath(u"none.ozt"_s));
    EXPECT_TRUE(s.messages.last().text.startsWith(u"取込用FileのOpenに失敗."_s));
    EXPECT_EQ(controls.name, u"前"_s);
}

TEST(TagInfoFile, ReservedItemsAreCountedAndReported) {
    ParsedTagFile file = parseTagFile(header() + body("#|a$"));
    file.items = {{100, "a"}, {199, "x"}, {200, "b"}, {299, "y"}, {799, "z"}};
    FakeMessages messages;
    MapControls controls;
    applyTagFile(file, u"/tmp/f.ozt"_s, controls, messages);
    EXPECT_EQ(controls.applied, (QList<int>{100, 200}));
    EXPECT_EQ(messages.texts(),
              QStringList{
                  u"データファイル中に、このバージョンの「Oribel」では使われない項目が、3個ありました。"_s});
    EXPECT_EQ(messages.last().caption, u"未使用項目数報告"_s);
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
}

TEST(TagInfoFile, DateTypeOutsideTheVisibleItemsSelectsNone) {
    const struct {
        const char* value;
        int index;
    } cases[] = {{"0", 0}, {"5", 5}, {"6", -1}, {"-1", -1}, {"x", -1}, {"", -1}, {"\0012", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        MapControls controls;
        controls.dateType = 2;
        FakeMessages messages;
        applyTagFile(parseTagFile(header() + body("#|a|b|") + c.value + body("$")), u"f"_s, controls,
                     messages);
        EXPECT_EQ(controls.dateType, c.index);
    }
}

TEST(TagInfoFile, ReadingStaysBoundedWhateverTheBytes) {
    // Endless delimiters run out of item numbers.
    const struct {
        const char* name;
        char delimiter;
        int lastNumber;
    } delimiters[] = {{"0x03", '\x03', 111}, {"0x0E", '\x0E', 800}};
    for (const auto& c : delimiters) {
        SCOPED_TRACE(c.name);
        const ParsedTagFile file = parseTagFile(header() + '\x13' + QByteArray(1 << 20, c.delimiter));
        EXPECT_EQ(file.end, BodyEnd::UnknownItem);
        ASSERT_FALSE(file.items.isEmpty());
        EXPECT_EQ(file.items.last().number, c.lastNumber);
        EXPECT_LE(file.items.size(), 12);
    }

    // An overlong value keeps its number and the next item its own; the cut
    // never splits a double-byte character.
    const QByteArray longValue = "a" + sjis::encode(QString(ValueLimit, u'あ'));
    const ParsedTagFile file = parseTagFile(header() + body("#|") + longValue + body("|next$"));
    ASSERT_EQ(file.items.size(), 2);
    EXPECT_EQ(file.items[0].value.size(), ValueLimit - 1);
    EXPECT_EQ(file.items[0].value, longValue.left(ValueLimit - 1));
    EXPECT_EQ(file.items[1].number, 101);
    EXPECT_EQ(file.items[1].value, "next");

    // A device that never ends is read only so far.
    class Endless : public QIODevice {
    public:
        Endless() { open(QIODevice::ReadOnly); }
        bool isSequential() const override { return true; }
        qint64 readData(char* data, qint64 maxSize) override {
            std::memset(data, 'x', size_t(maxSize));
            return maxSize;
        }
        qint64 writeData(const char*, qint64) override { return -1; }
    } endless;
    const ParsedTagFile endlessFile = parseTagFile(endless);
    EXPECT_FALSE(endlessFile.writerVersion.present);
    EXPECT_EQ(endlessFile.end, BodyEnd::NoBody);
}
