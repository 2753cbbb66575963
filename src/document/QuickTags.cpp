#include "document/QuickTags.h"

#include "platform/SjisCodec.h"

using namespace Qt::StringLiterals;

namespace {

QString onTab(const QString& tag, EditorTab tab) {
    return tab == EditorTab::Today ? tag + u"\n"_s : tag;
}

} // namespace

QString LineBreakTagText(const HtmlSet& set, EditorTab tab) {
    return onTab(set.HtmlBRTag, tab);
}

QString RuleTagText(EditorTab tab) {
    return onTab(u"<HR>"_s, tab);
}

QString SpecialCharText(SpecialChar special) {
    switch (special) {
    case SpecialChar::LessThan:
        return u"&lt;"_s;
    case SpecialChar::GreaterThan:
        return u"&gt;"_s;
    case SpecialChar::Ampersand:
        return u"&amp;"_s;
    case SpecialChar::Quote:
        return u"&quot;"_s;
    case SpecialChar::Space:
        return u"&nbsp;"_s;
    }
    return {};
}

std::optional<QString> SnippetInsertion(int tagNumber, const QString& hint, const QString& selectedText) {
    if (tagNumber == SnippetRegistration)
        return std::nullopt;
    const QStringView whole(hint);
    const qsizetype comma = whole.indexOf(u',');
    const QStringView startPart = comma < 0 ? whole : whole.first(comma);
    const QString start = sjis::truncateToBytes(startPart, SnippetPartMaxBytes);
    if (tagNumber != SnippetTagPair)
        return start;
    QStringView endPart;
    if (comma >= 0) {
        endPart = whole.sliced(comma + 1);
        // A further comma would begin a third part, which is not used.
        if (const qsizetype next = endPart.indexOf(u','); next >= 0)
            endPart = endPart.first(next);
    }
    return start + selectedText + sjis::truncateToBytes(endPart, SnippetPartMaxBytes);
}
