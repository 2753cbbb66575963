#pragma once
// The decoration page of the tag builder ("文字装飾・色指定") without its
// widgets: what its controls hold, the rules that tie them together, and the
// computation of the start and end text and of the preview.
//
// The page widget mirrors these members into its controls and calls the
// member functions from its controls' signals; every rule that makes one
// control follow another lives here. Colours are 0xRRGGBB (TagColors.h).

#include "document/TagColors.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The code kind: HTML tags (RadioColorFont) or style sheet (RadioColorStyle).
enum class DecoCode { HtmlTags, StyleSheet };

// The seven toggle buttons, in the order the computation visits them
// (SB_Bold, SB_Italic, SB_Line, SB_Strike, SB_Big, SB_Small, SB_STRONG).
enum class DecoButton { Bold, Italic, Underline, Strike, Big, Small, Strong };
inline constexpr int DecoButtonCount = 7;

// The items of the two size lists; item 0 is "(なし)" in both.
const QStringList& HtmlFontSizeItems();  // FontSizeHtmlBox, items 0..13
const QStringList& StyleFontSizeItems(); // FontSizeStyleBox, items 0..10
// FontSizeStyleBox's item "→ pt指定": the size is taken from EditFontSize.
inline constexpr int StylePointSizeItem = 10;

// What the decoration computation produces.
struct DecorationLook {
    QString start; // goes before the selected text
    QString end;   // goes after it
    // The preview's font.
    bool bold = false, italic = false, underline = false, strikeOut = false;
    int pointSize = 14;
    // The preview text's colour; none: the window text colour.
    std::optional<quint32> textColor;
    // The colour of the panel behind the preview text.
    quint32 panelColor = TagWhite;

    // What PanelTagPreview shows (and carries as its hint).
    QString tagPreview() const { return start + end; }
};

struct DecorationPage {
    QString selectedText; // PanelPreview: the selection when the dialog opened

    DecoCode code = DecoCode::HtmlTags;
    std::array<bool, DecoButtonCount> down{}; // toggle buttons pressed down

    int htmlSize = 0;  // FontSizeHtmlBox item
    int styleSize = 0; // FontSizeStyleBox item
    QString pointSize; // EditFontSize
    // Which of EditFontSize and FontSizeStyleBox shows its text in the
    // normal colour (the other is grey): true for the field.
    bool pointSizeFieldInUse = false;

    bool frontOn = false; // CheckFrontColor
    bool backOn = false;  // CheckBackColor
    QString frontText = QStringLiteral("#000000");
    QString backText = QStringLiteral("#FFFFFF");
    QString previewText = QStringLiteral("#FFFFFF"); // EditPrevColor
    quint32 front = TagBlack;                        // LabelFrontColor, the text swatch
    quint32 back = TagWhite;                         // LabelBackColor, the background swatch
    quint32 previewBase = TagWhite;                  // PanelPreviewBase and LabelPrevColor

    // A code kind is selected. HTML tags untick CheckBackColor (the
    // background needs a style sheet). The page enables its controls by code:
    // the background button, box and field and the style size controls only
    // with the style sheet, FontSizeHtmlBox only with HTML tags.
    void selectCode(DecoCode kind);

    // A toggle button goes down or up. "大きく" and "小さく" are never down
    // together: one going down releases the other.
    void setButtonDown(DecoButton button, bool isDown);
    bool isDown(DecoButton button) const { return down[size_t(button)]; }

    // The colour fields' texts. When the text changes, the field's rule runs:
    // its swatch takes the colour of the text, or the fallback (text black,
    // background and preview white) when it is not a colour; the text and
    // background fields tick their enable box (the background's only with
    // the style sheet). The preview field sets the preview base and ticks
    // nothing. An unchanged text runs nothing.
    void setFrontText(const QString& text);
    void setBackText(const QString& text);
    void setPreviewText(const QString& text);

    // The colour buttons after the chooser closed (chosen: none on cancel).
    // "文字色" and "背景色" tick their box even on cancel; on OK the swatch
    // takes the colour and the field its "#RRGGBB" form. "背景色" works only
    // with the style sheet (its button is disabled with HTML tags).
    void frontColorChosen(std::optional<quint32> chosen);
    void backColorChosen(std::optional<quint32> chosen);
    void previewColorChosen(std::optional<quint32> chosen);

    // EditFontSize's text. When it changes: FontSizeStyleBox goes to
    // "→ pt指定" when the text is non-empty, to "(なし)" when it is empty, and
    // the field is the one in use.
    void setPointSize(const QString& text);
    // An item chosen in FontSizeStyleBox. "→ pt指定" puts the field in use
    // and "12" into an empty field (the page then focuses the field); any
    // other item puts the list in use.
    void chooseStyleSize(int item);

    // The decoration computation.
    DecorationLook look() const;
};
