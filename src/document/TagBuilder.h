#pragma once
// The pieces of HTML the tag builder dialog puts together, kept apart from the
// dialog's widgets.
//
// Each mode's page is a plain record of what its controls hold. OpenXxxPage()
// gives the values the page starts with (from the remembered values of
// AppSet and the selection), XxxPageOk() carries out the OK button: it
// returns the text that replaces the active editor's selection and writes the
// remembered values back, or returns the refusal to show and changes nothing.
// Colours are 0xRRGGBB (TagColors.h).

#include "document/TagColors.h"
#include "document/TagDecoration.h"
#include "platform/Messages.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"

#include <QString>
#include <optional>

class FileDialog;

// The dialog's modes; each enumerator's value is its TagDialogMode character.
enum class TagMode : char {
    Link = 'L',
    Graphic = 'G',
    Decoration = 'D',
    Position = 'P',
    Weather = 'W',
};
inline char TagModeChar(TagMode mode) {
    return char(mode);
}
// The mode of a TagDialogMode character; nothing for any other character.
std::optional<TagMode> TagModeFromChar(char mode);

// The opener's check: link, decoration and position mark up the selection and
// refuse to open without one (a warning box with OK); the image and weather
// modes open anyway.
std::optional<MessageRequest> TagSelectionRefusal(TagMode mode, const QString& selectedText);

// What OK gives in the modes that insert.
struct TagOutcome {
    // Set: show this box; the dialog stays open and nothing is stored or inserted.
    std::optional<MessageRequest> refusal;
    // Otherwise: the text that replaces the active editor's selection.
    QString text;

    bool refused() const { return refusal.has_value(); }
};

// The lower-casing of "全て小文字(&L)" (ticked at opening when
// AppSet::lowerCaseTags()): the ASCII capitals A-Z become a-z. Nothing
// else changes, so kana, kanji, full-width letters (Ａ) and accented letters
// stay exactly as typed.
QString LowerAsciiLetters(QString text);

// ---- Link (L) -----------------------------------------------------------------

// RadioLinkNml, RadioLinkNew, RadioLinkTop, RadioLinkFrame.
enum class LinkTarget { Normal, NewWindow, Top, Frame };

struct LinkPage {
    QString name; // EditLinkName
    QString url;  // EditLinkUrl
    LinkTarget target = LinkTarget::Normal;
    QString frame;            // EditLinkFrame
    bool classOn = false;     // CheckLinkStyle
    QString className;        // EditLinkClass
    bool accessKeyOn = false; // CheckLinkAKey
    QString accessKey;        // EditAccessKey
    bool tabIndexOn = false;  // CheckLinkTList
    QString tabIndex;         // EditTabIndex
    bool titleOn = false;     // CheckLinkTitle
    QString title;            // EditLinkTitle
};

// The name is the selection; frame and class names are LinkFrame and LinkClass.
LinkPage OpenLinkPage(const AppSet& appSet, const QString& selectedText);

// <A HREF="url" [TARGET] [ACCESSKEY] [TABINDEX] [CLASS] [TITLE]>name</A>.
// Refuses an empty URL. An empty name is filled with the URL in `page`, so
// the page shows it. Stores LinkFrame, LinkClass and LowerCaseFlag.
TagOutcome LinkPageOk(LinkPage& page, bool lowerCase, AppSet& appSet);

// ---- Image (G) ----------------------------------------------------------------

// RadioGroupGraphic items 0, 1, 2.
enum class GraphicAlign { Normal, Right, Left };

struct GraphicPage {
    QString fileName; // EditGraphicName
    QString width;    // EditGraphicSizeW
    QString height;   // EditGraphicSizeH
    QString alt;      // EditGraphicALT
    GraphicAlign align = GraphicAlign::Normal;
    bool absmiddle = false; // CheckAbsmiddle: overrides align
    bool border = false;    // CheckGrphBorder
    // The folder the image chooser opens in: a path ending in "/", or empty.
    QString folder;
};

// The folder is GraphicDir.
GraphicPage OpenGraphicPage(const AppSet& appSet);

// "参照(&F)": runs the main window's shared open dialog on the image folder,
// with an empty name field. A chosen file's name without its folder goes
// into fileName. Whichever way the chooser closed, the folder becomes that
// of the dialog's current file name (after a cancel, the file the dialog
// held before), empty when the name has no folder. Returns whether a file
// was chosen.
bool ChooseGraphicFile(GraphicPage& page, FileDialog& openDialog);

// <IMG SRC="name" [WIDTH] [HEIGHT] [ALT] [ALIGN] [BORDER="0"]>. Refuses an
// empty file name. Stores GraphicDir and LowerCaseFlag.
TagOutcome GraphicPageOk(const GraphicPage& page, bool lowerCase, AppSet& appSet);

// ---- Decoration (D) -----------------------------------------------------------

// The opening: the preview shows the selection, both size lists "(なし)",
// the colours from DecoPrevColor, DecoInfo0 and DecoInfo1, the colour fields
// from DecoInfo2 and DecoInfo3 (each only when stored non-empty; a stored
// colour that cannot be read leaves the page's own colour), both enable
// boxes unticked, and the code kind of DecoStyleFlag.
DecorationPage OpenDecorationPage(const AppSet& appSet, const QString& selectedText);

// Start text, the selection, end text. Stores DecoPrevColor, DecoInfo0-3,
// DecoStyleFlag and LowerCaseFlag.
TagOutcome DecorationPageOk(const DecorationPage& page, bool lowerCase, AppSet& appSet);

// ---- Position (P) -------------------------------------------------------------

// RadioPos items 0..3, RadioTag items 0..1, RadioWay items 0..1.
enum class PosAlign { Left, Center, Right, Unspecified };
enum class PosTag { Div, Paragraph };
enum class PosWay { AlignAttribute, StyleSheet };

struct PositionPage {
    PosAlign align = PosAlign::Left;
    PosTag tag = PosTag::Div;
    PosWay way = PosWay::StyleSheet; // disabled while align is Unspecified
    bool classOn = false;            // CheckStyle
    QString className;               // EditPosClass
};

// The class name is PositionClass.
PositionPage OpenPositionPage(const AppSet& appSet);

// <DIV|P [ALIGN or STYLE] [CLASS]>selection</DIV|P>, the selection as it
// stands at OK. Stores PositionClass and LowerCaseFlag.
TagOutcome PositionPageOk(const PositionPage& page, const QString& selectedText, bool lowerCase,
                          AppSet& appSet);
