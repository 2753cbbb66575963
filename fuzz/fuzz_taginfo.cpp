// Arbitrary bytes as an HTML tag information file: reading must neither crash
// nor run away, reading from a device must give what reading the bytes gives,
// and whatever an import puts into the controls must survive an export and a
// second import unchanged.

#include "FuzzCheck.h"
#include "platform/Messages.h"
#include "settings/TagInfoFile.h"

#include <QBuffer>
#include <QMap>

#include <cstdint>

using namespace Qt::StringLiterals;
using namespace taginfo;

namespace {

class MapControls : public TagInfoControls {
public:
    QMap<TagItem, QString> texts;
    QMap<TagItem, bool> checks;
    int dateType = 0;
    QString name;
    bool guard = false;

    QString itemText(TagItem item) const override { return texts.value(item); }
    void setItemText(TagItem item, const QString& text) override { texts[item] = text; }
    bool itemChecked(TagItem item) const override { return checks.value(item); }
    void setItemChecked(TagItem item, bool checked) override { checks[item] = checked; }
    int dateTypeIndex() const override { return dateType; }
    void setDateTypeIndex(int index) override { dateType = index; }
    QString setName() const override { return name; }
    void setSetName(const QString& newName) override { name = newName; }
    void refreshCaption() override {}
    void setLoadingGuard(bool on) override { guard = on; }
};

bool sameParse(const ParsedTagFile& a, const ParsedTagFile& b) {
    if (a.end != b.end || a.items.size() != b.items.size())
        return false;
    for (qsizetype i = 0; i < a.items.size(); ++i) {
        if (a.items[i].number != b.items[i].number || a.items[i].value != b.items[i].value)
            return false;
    }
    return a.writerVersion.bytes == b.writerVersion.bytes &&
           a.requiredVersion.bytes == b.requiredVersion.bytes && a.setName.bytes == b.setName.bytes &&
           a.presentHeaderFields() == b.presentHeaderFields();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedTagFile parsed = parseTagFile(bytes);

    // Numbering only climbs, so the body holds few items; only the last may be unknown.
    CHECK(parsed.items.size() <= 64);
    for (qsizetype i = 0; i < parsed.items.size(); ++i) {
        CHECK(parsed.items[i].value.size() <= ValueLimit);
        const bool last = i + 1 == parsed.items.size();
        CHECK((itemNumberKind(parsed.items[i].number) == ItemNumberKind::Unknown) ==
              (last && parsed.end == BodyEnd::UnknownItem));
    }
    for (const HeaderField* field : {&parsed.writerVersion, &parsed.requiredVersion, &parsed.setName})
        CHECK(field->bytes.size() <= ValueLimit);

    QByteArray copy = bytes;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    CHECK(sameParse(parsed, parseTagFile(device)));

    fuzz::CountingMessages messages(MsgAnswer::Yes);
    MapControls imported;
    applyTagFile(parsed, u"/tmp/fuzz.ozt"_s, imported, messages);
    CHECK(imported.dateType >= -1 && imported.dateType <= 5);

    // What the controls now hold is written and read back unchanged.
    MapControls again;
    const ParsedTagFile written = parseTagFile(encodeTagFile(imported));
    CHECK(written.end == BodyEnd::EndMark && written.items.size() == qsizetype(TagItems.size()));
    fuzz::CountingMessages quiet(MsgAnswer::Yes);
    applyTagFile(written, u"/tmp/fuzz.ozt"_s, again, quiet);
    CHECK(quiet.shown == 0);
    CHECK(again.name == u"fuzz.ozt"_s);
    CHECK(again.dateType == imported.dateType);
    for (const TagItemInfo& info : TagItems) {
        if (info.kind == TagItemKind::Text)
            CHECK(again.itemText(info.item) == imported.itemText(info.item));
        else if (info.kind == TagItemKind::Flag)
            CHECK(again.itemChecked(info.item) == imported.itemChecked(info.item));
    }
    return 0;
}
