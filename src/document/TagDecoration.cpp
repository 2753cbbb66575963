#include "document/TagDecoration.h"

using namespace Qt::StringLiterals;

namespace {

struct ButtonCode {
    QStringView open, close, property;
};

// Indexed by DecoButton.
constexpr std::array<ButtonCode, DecoButtonCount> buttonCodes = {{
    {u"<B>", u"</B>", u"font-weight:bold; "},
    {u"<I>", u"</I>", u"font-style:italic; "},
    {u"<U>", u"</U>", u"text-decoration:underline; "},
    {u"<STRIKE>", u"</STRIKE>", u"text-decoration:line-through; "},
    {u"<BIG>", u"</BIG>", u"font-size:larger; "},
    {u"<SMALL>", u"</SMALL>", u"font-size:smaller; "},
    {u"<STRONG>", u"</STRONG>", u"font-weight:bold; "},
}};

// The list item's text, or nothing for item 0 and items outside the list.
QString sizeItem(const QStringList& items, int item) {
    return item > 0 && item < items.size() ? items[item] : QString();
}

} // namespace

const QStringList& HtmlFontSizeItems() {
    static const QStringList items = {u"(なし)"_s, u"+3"_s, u"+2"_s, u"+1"_s, u"-1"_s, u"-2"_s, u"-3"_s,
                                      u"7"_s,      u"6"_s,  u"5"_s,  u"4"_s,  u"3"_s,  u"2"_s,  u"1"_s};
    return items;
}

const QStringList& StyleFontSizeItems() {
    static const QStringList items = {u"(なし)"_s, u"xx-large"_s, u"x-large"_s, u"large"_s,
                                      u"medium"_s, u"small"_s,    u"x-small"_s, u"xx-small"_s,
                                      u"larger"_s, u"smaller"_s,  u"→ pt指定"_s};
    return items;
}

void DecorationPage::selectCode(DecoCode kind) {
    code = kind;
    if (kind == DecoCode::HtmlTags)
        backOn = false;
}

void DecorationPage::setButtonDown(DecoButton button, bool isDown) {
    down[size_t(button)] = isDown;
    if (!isDown)
        return;
    if (button == DecoButton::Big)
        down[size_t(DecoButton::Small)] = false;
    else if (button == DecoButton::Small)
        down[size_t(DecoButton::Big)] = false;
}

void DecorationPage::setFrontText(const QString& text) {
    if (text == frontText)
        return;
    frontText = text;
    front = ColorFromFieldText(text).value_or(TagBlack);
    frontOn = true;
}

void DecorationPage::setBackText(const QString& text) {
    if (text == backText)
        return;
    backText = text;
    back = ColorFromFieldText(text).value_or(TagWhite);
    // The background needs a style sheet: with HTML tags its box stays off.
    backOn = code == DecoCode::StyleSheet;
}

void DecorationPage::setPreviewText(const QString& text) {
    if (text == previewText)
        return;
    previewText = text;
    previewBase = ColorFromFieldText(text).value_or(TagWhite);
}

void DecorationPage::frontColorChosen(std::optional<quint32> chosen) {
    frontOn = true;
    if (!chosen)
        return;
    front = *chosen & TagWhite;
    setFrontText(ColorFieldText(front));
}

void DecorationPage::backColorChosen(std::optional<quint32> chosen) {
    if (code != DecoCode::StyleSheet)
        return;
    backOn = true;
    if (!chosen)
        return;
    back = *chosen & TagWhite;
    setBackText(ColorFieldText(back));
}

void DecorationPage::previewColorChosen(std::optional<quint32> chosen) {
    if (!chosen)
        return;
    previewBase = *chosen & TagWhite;
    setPreviewText(ColorFieldText(previewBase));
}

void DecorationPage::setPointSize(const QString& text) {
    if (text == pointSize)
        return;
    pointSize = text;
    pointSizeFieldInUse = true;
    styleSize = text.isEmpty() ? 0 : StylePointSizeItem;
}

void DecorationPage::chooseStyleSize(int item) {
    styleSize = item;
    pointSizeFieldInUse = item == StylePointSizeItem;
    if (pointSizeFieldInUse && pointSize.isEmpty())
        setPointSize(u"12"_s);
}

DecorationLook DecorationPage::look() const {
    DecorationLook look;
    const bool style = code == DecoCode::StyleSheet;
    if (style) {
        look.start = uR"(<SPAN STYLE=")"_s;
        look.end = u"</SPAN>"_s;
    }
    const auto addTag = [&](QStringView open, QStringView close) {
        look.start += open;
        look.end.prepend(close);
    };

    for (int i = 0; i < DecoButtonCount; ++i) {
        const auto button = DecoButton(i);
        if (!isDown(button))
            continue;
        // One size only, even if both size buttons were set down directly.
        if (button == DecoButton::Small && isDown(DecoButton::Big))
            continue;
        const ButtonCode& code = buttonCodes[size_t(i)];
        if (style)
            look.start += code.property;
        else
            addTag(code.open, code.close);
        switch (button) {
        case DecoButton::Bold:
        case DecoButton::Strong:
            look.bold = true;
            break;
        case DecoButton::Italic:
            look.italic = true;
            break;
        case DecoButton::Underline:
            look.underline = true;
            break;
        case DecoButton::Strike:
            look.strikeOut = true;
            break;
        case DecoButton::Big:
            look.pointSize = 16;
            break;
        case DecoButton::Small:
            look.pointSize = 12;
            break;
        }
    }

    if (style) {
        if (styleSize == StylePointSizeItem)
            look.start += u"font-size:"_s + pointSize + u"pt; "_s;
        else if (const QString size = sizeItem(StyleFontSizeItems(), styleSize); !size.isEmpty())
            look.start += u"font-size:"_s + size + u"; "_s;
    } else if (const QString size = sizeItem(HtmlFontSizeItems(), htmlSize); !size.isEmpty()) {
        addTag(uR"(<FONT SIZE=")"_s + size + uR"(">)"_s, u"</FONT>");
    }

    if (frontOn) {
        look.textColor = front;
        if (style)
            look.start += u"color:"_s + frontText + u"; "_s;
        else
            addTag(uR"(<FONT COLOR=")"_s + frontText + uR"(">)"_s, u"</FONT>");
    }

    if (backOn && style) {
        look.panelColor = back;
        look.start += u"background-color:"_s + backText + u"; "_s;
    } else {
        look.panelColor = previewBase;
    }

    if (style)
        look.start += uR"(">)"_s;
    return look;
}
