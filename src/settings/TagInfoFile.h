#pragma once
// The HTML tag information file (".ozt"): one set of HTML conversion templates
// and switches, as the HTML settings dialog shows them, kept in a file so that
// users can keep several page designs and exchange them.
//
// The file is CP932 text and single control bytes:
//   the line "手動改変厳禁！" CR LF,
//   16 writer-version 16, 0C required-reader-version 0C, 04 set-name 04,
//   13 (body start), 03, then 34 items in 7 groups: 03 between the items of a
//   group, 0E after a group's last item and 05 after the last item of the file.
// An item's number is not stored; it follows from its position (100, 101, …,
// each group starting at the next hundred).
//
// The dialog's controls are reached through TagInfoControls, so the reading,
// the questions and the writing live here and the dialog only supplies its
// controls.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>

class FileDialog;
class MessageService;
class QIODevice;

namespace taginfo {

// The data-format version this program writes and reads.
inline constexpr int FormatVersion = 310;

// Control bytes of the format.
inline constexpr char WriterVersionMark = 0x16;
inline constexpr char RequiredVersionMark = 0x0C;
inline constexpr char SetNameMark = 0x04;
inline constexpr char SetNameFromFile = 0x15; // set name: the file's own name
inline constexpr char SetNameDefault = 0x19;  // set name: "デフォルト設定"
inline constexpr char BodyStart = 0x13;
inline constexpr char ItemSeparator = 0x03; // starts an item; between items of a group
inline constexpr char GroupEnd = 0x0E;      // after a group's last item
inline constexpr char FileEnd = 0x05;       // after the file's last item
inline constexpr char FlagOn = 0x14;
inline constexpr char FlagOff = 0x06;

// Values are read up to their delimiter whatever their length; a value (or a
// header field) longer than this keeps only this many bytes, cut before a
// double-byte character that would not fit. A line edit's longest text fits.
inline constexpr qsizetype ValueLimit = 256 * 1024;
// Bytes after this many are read as the end of the file, so that a device
// that never ends (or a huge file) cannot keep the reader busy. A file this
// program writes is far shorter.
inline constexpr qint64 InputLimit = 16 * 1024 * 1024;

// The items of the file, numbered as the reader numbers them and named after
// the dialog control each one shows.
enum class TagItem : int {
    EditDate1 = 100,
    EditDate2 = 101,
    RadioDateType = 102,
    CheckDateYear = 103,
    CheckDateMonth = 104,
    CheckWea = 105,
    RadioWea1 = 106,
    RadioWea2 = 107,
    RadioWea3 = 108,
    RadioWea4 = 109,
    CheckAnchorName = 110,
    EditWea1 = 200,
    EditWea2 = 201,
    EditWea3 = 202,
    EditWea4 = 203,
    EditWeaL = 204,
    EditWeaChar = 205,
    EditWeaE = 206,
    CheckWeather = 207,
    CheckWeatherCharOff = 208,
    EditTitle1 = 300,
    EditTitle2 = 301,
    CheckTitle = 302,
    EditDiary1 = 400,
    EditDiary2 = 401,
    CheckHR = 402,
    CheckBR = 403,
    CheckAllTag = 500,
    EditAll1 = 501,
    EditAll2 = 502,
    RadioInsertType1 = 600,
    RadioInsertType2 = 601,
    RadioInsertType3 = 602,
    ComboBoxBR = 700,
};

enum class TagItemKind {
    Text,  // the field's text
    Index, // the selected item index of RadioDateType, in decimal
    Flag,  // ticked / selected (0x14) or not (0x06)
};

struct TagItemInfo {
    TagItem item;
    TagItemKind kind;
    bool endsGroup; // followed by 0x0E (or 0x05 for the file's last item)
};

// All items in file order.
extern const std::array<TagItemInfo, 34> TagItems;

// The dialog's controls as the file sees them. The export reads the values to
// write through the getters; the import sets them through the setters (each
// setter runs the control's ordinary rules: previews, enabling).
class TagInfoControls {
public:
    virtual ~TagInfoControls() = default;

    // Text items: EditDate1 … ComboBoxBR.
    virtual QString itemText(TagItem item) const = 0;
    virtual void setItemText(TagItem item, const QString& text) = 0;

    // Flag items: a check box ticked, or a radio button selected. Deselecting
    // a radio button leaves the other buttons of its group as they are.
    virtual bool itemChecked(TagItem item) const = 0;
    virtual void setItemChecked(TagItem item, bool checked) = 0;

    // RadioDateType: the selected item 0-5, or -1 when no visible item is
    // selected. The import passes -1 for any number outside 0-5.
    virtual int dateTypeIndex() const = 0;
    virtual void setDateTypeIndex(int index) = 0;

    // The dialog's set name (empty: a user-defined set) and its caption.
    virtual QString setName() const = 0;
    virtual void setSetName(const QString& name) = 0;
    virtual void refreshCaption() = 0;

    // The loading guard: while it is on, changing a template field does not
    // clear the set name.
    virtual void setLoadingGuard(bool on) = 0;
};

// ---- Writing ----

// The whole file for the controls' current values.
QByteArray encodeTagFile(const TagInfoControls& controls);

// "設定書出(&F)": asks for a file in saveDialog, writes it atomically (an
// existing file stays whole when anything fails) and reports success or the
// failure with the file and the reason. Returns whether a file was written.
bool exportTagFile(const TagInfoControls& controls, FileDialog& saveDialog, MessageService& messages,
                   const QString& programFolder);

// ---- Reading ----

struct HeaderField {
    bool present = false;
    // The field's bytes; for an absent field the bytes of the field before it
    // (empty before the first field).
    QByteArray bytes;
};

struct ParsedItem {
    int number = 0;
    QByteArray value;
};

enum class BodyEnd {
    NoBody,        // no body start after the header: nothing to apply
    Empty,         // the file ends right after the body start
    EndMark,       // 0x05 closed the body
    UnexpectedEnd, // the file ends inside the body
    UnknownItem,   // the last item's number is neither an item nor reserved; nothing follows it
};

struct ParsedTagFile {
    HeaderField writerVersion;
    HeaderField requiredVersion;
    HeaderField setName;
    QList<ParsedItem> items; // in file order
    BodyEnd end = BodyEnd::NoBody;

    // The version fields as decimal integers, 0 when they are not one.
    int writerVersionNumber() const;
    int requiredVersionNumber() const;
    int presentHeaderFields() const;
};

// Reads a file's bytes. A byte 0xFF reads as the end of the file wherever it
// stands; the reader does not stop at it but reads the next byte when it
// reads on.
ParsedTagFile parseTagFile(QByteArrayView bytes);
// The same, reading from device as far as the file's grammar needs.
ParsedTagFile parseTagFile(QIODevice& device);

enum class ItemNumberKind { Item, Reserved, Unknown };
// 199, 299, … 799 are reserved: such an item is counted, not applied.
ItemNumberKind itemNumberKind(int number);

// The text a value gives its field: the value itself, empty for an empty
// value, and "ERR" when it begins with a control byte (0x00-0x1A).
QString itemTextFromValue(QByteArrayView value);

// The set name a set-name field gives: the chosen file's name (with its
// extension, without its folder) for 0x15, "デフォルト設定" for 0x19, else the
// field's text.
QString setNameFromField(QByteArrayView field, const QString& filePath);

// "設定読込(&L)": asks before replacing a user-defined set, asks for a file in
// openDialog, reads it and applies its items to the controls, asking and
// reporting as the file requires. Whatever happens, the loading guard is off
// afterwards and the caption shows the set name.
void importTagFile(TagInfoControls& controls, FileDialog& openDialog, MessageService& messages,
                   const QString& programFolder);

// The import once the file has been read: the questions about its versions
// and header, the set name, the items applied to the controls and the reports
// about the body. The caption is refreshed once the set name has changed,
// however the import ends. The loading guard is the caller's.
void applyTagFile(const ParsedTagFile& file, const QString& filePath, TagInfoControls& controls,
                  MessageService& messages);

} // namespace taginfo
