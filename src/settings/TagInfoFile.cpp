#include "settings/TagInfoFile.h"

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/SjisCodec.h"
#include "resources/Messages.h"
#include "settings/IntText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

namespace taginfo {

using enum TagItem;
using enum TagItemKind;

const std::array<TagItemInfo, 34> TagItems = {{
    {EditDate1, Text, false},        {EditDate2, Text, false},
    {RadioDateType, Index, false},   {CheckDateYear, Flag, false},
    {CheckDateMonth, Flag, false},   {CheckWea, Flag, false},
    {RadioWea1, Flag, false},        {RadioWea2, Flag, false},
    {RadioWea3, Flag, false},        {RadioWea4, Flag, false},
    {CheckAnchorName, Flag, true},   {EditWea1, Text, false},
    {EditWea2, Text, false},         {EditWea3, Text, false},
    {EditWea4, Text, false},         {EditWeaL, Text, false},
    {EditWeaChar, Text, false},      {EditWeaE, Text, false},
    {CheckWeather, Flag, false},     {CheckWeatherCharOff, Flag, true},
    {EditTitle1, Text, false},       {EditTitle2, Text, false},
    {CheckTitle, Flag, true},        {EditDiary1, Text, false},
    {EditDiary2, Text, false},       {CheckHR, Flag, false},
    {CheckBR, Flag, true},           {CheckAllTag, Flag, false},
    {EditAll1, Text, false},         {EditAll2, Text, true},
    {RadioInsertType1, Flag, false}, {RadioInsertType2, Flag, false},
    {RadioInsertType3, Flag, true},  {ComboBoxBR, Text, true},
}};

namespace {

// The reader of old files wants no more than this in the required-version field.
constexpr int RequiredReaderVersion = 0;
// RadioDateType has six visible items.
constexpr int DateTypeCount = 6;

const TagItemInfo* findItem(int number) {
    for (const TagItemInfo& info : TagItems) {
        if (int(info.item) == number)
            return &info;
    }
    return nullptr;
}

// ---- Writing ----

// The bytes of a text value. The four bytes that delimit items or end the
// file cannot be carried inside a value (they would end it early and shift
// every later item), so they are left out; CP932 text never holds them.
QByteArray textValue(const QString& text) {
    QByteArray bytes = sjis::encode(text);
    bytes.removeIf(
        [](char c) { return c == ItemSeparator || c == FileEnd || c == GroupEnd || c == char(0xFF); });
    return bytes;
}

QByteArray itemValue(const TagInfoControls& controls, const TagItemInfo& info) {
    switch (info.kind) {
    case Text:
        return textValue(controls.itemText(info.item));
    case Index:
        return QByteArray::number(controls.dateTypeIndex());
    case Flag:
        return QByteArray(1, controls.itemChecked(info.item) ? FlagOn : FlagOff);
    }
    return {};
}

void configure(FileDialog& dialog, const QString& title, const QString& programFolder) {
    dialog.title = title;
    dialog.filter = msg::TagFileFilter;
    dialog.filterIndex = 1;
    dialog.initialDir = programFolder;
    // A name left from another command would take the dialog to that file's
    // folder, and the save dialog would offer to replace that file.
    dialog.fileName.clear();
}

// ---- Reading ----

// Hands out the bytes of a file one at a time. 0xFF, the end of the data and
// anything past InputLimit read as End; the reader goes on after a 0xFF.
class ByteReader {
public:
    static constexpr int End = -1;

    explicit ByteReader(QByteArrayView bytes) : chunk_(bytes.first(qMin<qint64>(bytes.size(), InputLimit))) {}
    explicit ByteReader(QIODevice& device) : device_(&device), buffer_(ChunkSize, Qt::Uninitialized) {}

    int next() {
        if (pos_ == chunk_.size() && !refill())
            return End;
        const auto byte = uchar(chunk_[pos_++]);
        return byte == 0xFF ? End : byte;
    }

private:
    static constexpr qint64 ChunkSize = 64 * 1024;

    bool refill() {
        if (!device_)
            return false;
        const qint64 wanted = qMin(ChunkSize, InputLimit - consumed_);
        const qint64 got = wanted > 0 ? device_->read(buffer_.data(), wanted) : 0;
        if (got <= 0) {
            device_ = nullptr; // the end stays the end
            return false;
        }
        consumed_ += got;
        chunk_ = QByteArrayView(buffer_.constData(), got);
        pos_ = 0;
        return true;
    }

    QIODevice* device_ = nullptr;
    QByteArray buffer_;
    QByteArrayView chunk_;
    qsizetype pos_ = 0;
    qint64 consumed_ = 0;
};

bool isLeadByte(uchar byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Keeps at most ValueLimit bytes of an overlong value, cut before a
// double-byte character that would not fit whole.
void cutToLimit(QByteArray& bytes) {
    if (bytes.size() <= ValueLimit)
        return;
    qsizetype keep = 0;
    while (keep < ValueLimit) {
        const qsizetype step = isLeadByte(uchar(bytes[keep])) ? 2 : 1;
        if (keep + step > ValueLimit)
            break;
        keep += step;
    }
    bytes.truncate(keep);
}

// Collects bytes until one of the stop bytes or the end; returns the byte
// that stopped it (End included). Only the first ValueLimit + 1 bytes are
// kept, so a value of any length takes bounded memory.
template <typename IsStop> int collect(ByteReader& in, QByteArray& out, IsStop isStop) {
    for (;;) {
        const int byte = in.next();
        if (byte == ByteReader::End || isStop(byte)) {
            cutToLimit(out);
            return byte;
        }
        if (out.size() <= ValueLimit)
            out.append(char(byte));
    }
}

ParsedTagFile parse(ByteReader& in) {
    ParsedTagFile file;

    // The header line is for people only.
    int byte = in.next();
    while (byte != ByteReader::End && byte != '\n')
        byte = in.next();

    // An absent field takes the content of the field before it.
    QByteArray previous;
    auto readField = [&](char opener) {
        HeaderField field;
        if (in.next() == uchar(opener)) {
            field.present = true;
            collect(in, field.bytes, [opener](int byte) { return byte == uchar(opener); });
        } else {
            field.bytes = previous;
        }
        previous = field.bytes;
        return field;
    };
    file.writerVersion = readField(WriterVersionMark);
    file.requiredVersion = readField(RequiredVersionMark);
    file.setName = readField(SetNameMark);

    if (in.next() != BodyStart) {
        file.end = BodyEnd::NoBody;
        return file;
    }
    int number = 100;
    int g = in.next();
    if (g == ByteReader::End) {
        file.end = BodyEnd::Empty;
        return file;
    }
    // Every round reads at least one byte, and every item raises the number,
    // so the numbers leave the table after a bounded count of items.
    for (;;) {
        if (g == ItemSeparator) {
            ParsedItem item{number, {}};
            g = collect(in, item.value, [](int byte) {
                return byte == ItemSeparator || byte == GroupEnd || byte == FileEnd;
            });
            file.items.append(std::move(item));
            if (itemNumberKind(number) == ItemNumberKind::Unknown) {
                file.end = BodyEnd::UnknownItem;
                return file;
            }
            ++number;
        }
        if (g == GroupEnd) {
            number = number / 100 * 100 + 100;
            g = ItemSeparator;
        }
        if (g == FileEnd) {
            file.end = BodyEnd::EndMark;
            return file;
        }
        if (g == ItemSeparator)
            continue;
        // A stray byte between items, or the end right after a value.
        g = in.next();
        if (g == ByteReader::End) {
            file.end = BodyEnd::UnexpectedEnd;
            return file;
        }
    }
}

int versionNumber(const HeaderField& field) {
    return intOr(sjis::decode(field.bytes), 0);
}

void applyItem(TagInfoControls& controls, const TagItemInfo& info, QByteArrayView value) {
    switch (info.kind) {
    case Text:
        controls.setItemText(info.item, itemTextFromValue(value));
        break;
    case Index: {
        const int index = intOr(itemTextFromValue(value), -1);
        controls.setDateTypeIndex(index >= 0 && index < DateTypeCount ? index : -1);
        break;
    }
    case Flag:
        controls.setItemChecked(info.item, !value.isEmpty() && value.front() == FlagOn);
        break;
    }
}

void showPlain(MessageService& messages, const QString& text) {
    messages.show(text, msg::AppTitle, MsgIcon::None, MsgButtons::Ok);
}

} // namespace

// ---- Writing ----

QByteArray encodeTagFile(const TagInfoControls& controls) {
    QByteArray out = sjis::encode(msg::TagFileHeaderLine) + "\r\n";
    out += WriterVersionMark + QByteArray::number(FormatVersion) + WriterVersionMark;
    out += RequiredVersionMark + QByteArray::number(RequiredReaderVersion) + RequiredVersionMark;
    out += SetNameMark;
    out += SetNameFromFile;
    out += SetNameMark;
    out += BodyStart;
    out += ItemSeparator;
    for (std::size_t i = 0; i < TagItems.size(); ++i) {
        const TagItemInfo& info = TagItems[i];
        out += itemValue(controls, info);
        out += i + 1 == TagItems.size() ? FileEnd : info.endsGroup ? GroupEnd : ItemSeparator;
    }
    return out;
}

bool exportTagFile(const TagInfoControls& controls, FileDialog& saveDialog, MessageService& messages,
                   const QString& programFolder) {
    configure(saveDialog, msg::TagFileSaveTitle, programFolder);
    saveDialog.defaultExt = msg::TagFileDefaultExt;
    saveDialog.options = FileDialogOption::OverwritePrompt | FileDialogOption::HideReadOnly |
                         FileDialogOption::PathMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;
    if (!saveDialog.execute())
        return false;
    const QString path = saveDialog.fileName;
    const QString shownPath = QDir::toNativeSeparators(path);
    const QByteArray bytes = encodeTagFile(controls);

    // The file is written beside the target and renamed over it only when
    // everything was written, so a failure leaves an existing file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        showPlain(messages, msg::tagFileCreateFailed(shownPath, file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        messages.show(msg::fileWriteError(shownPath, reason), msg::TagFileExportFailedCaption,
                      MsgIcon::Error);
        return false;
    }
    saveDialog.remember();
    messages.show(msg::tagFileExported(shownPath), msg::TagFileExportedCaption, MsgIcon::Information);
    return true;
}

// ---- Reading ----

int ParsedTagFile::writerVersionNumber() const {
    return versionNumber(writerVersion);
}

int ParsedTagFile::requiredVersionNumber() const {
    return versionNumber(requiredVersion);
}

int ParsedTagFile::presentHeaderFields() const {
    return int(writerVersion.present) + int(requiredVersion.present) + int(setName.present);
}

ParsedTagFile parseTagFile(QByteArrayView bytes) {
    ByteReader in(bytes);
    return parse(in);
}

ParsedTagFile parseTagFile(QIODevice& device) {
    ByteReader in(device);
    return parse(in);
}

ItemNumberKind itemNumberKind(int number) {
    if (findItem(number))
        return ItemNumberKind::Item;
    if (number >= 199 && number <= 799 && number % 100 == 99)
        return ItemNumberKind::Reserved;
    return ItemNumberKind::Unknown;
}

QString itemTextFromValue(QByteArrayView value) {
    if (value.isEmpty())
        return {};
    if (uchar(value.front()) <= 0x1A)
        return msg::TagFileBadText;
    return sjis::decode(value);
}

QString setNameFromField(QByteArrayView field, const QString& filePath) {
    if (!field.isEmpty() && field.front() == SetNameFromFile)
        return QFileInfo(filePath).fileName();
    if (!field.isEmpty() && field.front() == SetNameDefault)
        return msg::TagFileDefaultSetName;
    return sjis::decode(field);
}

void applyTagFile(const ParsedTagFile& file, const QString& filePath, TagInfoControls& controls,
                  MessageService& messages) {
    if (file.writerVersionNumber() < FormatVersion &&
        messages.show(msg::TagFileOldFormat, msg::ConfirmCaption, MsgIcon::Question, MsgButtons::OkCancel) !=
            MsgAnswer::Ok)
        return;
    if (file.requiredVersionNumber() > FormatVersion) {
        messages.show(msg::TagFileTooNew, msg::TagFileTooNewCaption, MsgIcon::Error);
        return;
    }

    controls.setSetName(setNameFromField(file.setName.bytes, filePath));
    // From here on the caption follows the new name, however the import ends.
    struct CaptionRefresh {
        TagInfoControls& controls;
        ~CaptionRefresh() { controls.refreshCaption(); }
    } captionRefresh{controls};

    if (file.presentHeaderFields() < 3 &&
        messages.show(msg::TagFileDamaged, msg::ConfirmCaption, MsgIcon::Exclamation, MsgButtons::YesNo,
                      MsgAnswer::No) != MsgAnswer::Yes)
        return;

    int skipped = 0;
    for (const ParsedItem& item : file.items) {
        switch (itemNumberKind(item.number)) {
        case ItemNumberKind::Item:
            applyItem(controls, *findItem(item.number), item.value);
            break;
        case ItemNumberKind::Reserved:
            ++skipped;
            break;
        case ItemNumberKind::Unknown:
            showPlain(messages, msg::tagFileUnknownItem(item.number));
            messages.show(msg::TagFileFatal, msg::TagFileFatalCaption, MsgIcon::Error);
            return;
        }
    }
    if (file.end == BodyEnd::UnexpectedEnd)
        showPlain(messages, msg::TagFileUnexpectedEnd);
    if (skipped > 0)
        messages.show(msg::tagFileUnusedItems(skipped), msg::TagFileUnusedCaption, MsgIcon::Information);
}

void importTagFile(TagInfoControls& controls, FileDialog& openDialog, MessageService& messages,
                   const QString& programFolder) {
    controls.setLoadingGuard(true);
    struct GuardOff {
        TagInfoControls& controls;
        ~GuardOff() { controls.setLoadingGuard(false); }
    } guardOff{controls};

    if (controls.setName().isEmpty() && messages.show(msg::TagFileImportConfirm, msg::TagFileImportCaption,
                                                      MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;

    configure(openDialog, msg::TagFileOpenTitle, programFolder);
    openDialog.defaultExt.clear();
    openDialog.options = FileDialogOption::HideReadOnly | FileDialogOption::PathMustExist |
                         FileDialogOption::FileMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;
    if (!openDialog.execute())
        return;
    const QString path = openDialog.fileName;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showPlain(messages, msg::tagFileOpenFailed(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    openDialog.remember();
    const ParsedTagFile parsed = parseTagFile(file);
    file.close();
    applyTagFile(parsed, path, controls, messages);
}

} // namespace taginfo
