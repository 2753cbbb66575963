#include "document/TagBuilder.h"

#include "platform/FileDialogs.h"
#include "resources/Messages.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// ` NAME="value"`, the form of every attribute the dialog writes.
QString attribute(QStringView name, const QString& value) {
    return u" "_s + name.toString() + uR"(=")"_s + value + u"\""_s;
}

MessageRequest inputError(const QString& text) {
    return MessageRequest{text, msg::TagInputErrorCaption, MsgIcon::Exclamation, MsgButtons::Ok, {}};
}

char flagChar(bool on) {
    return on ? '1' : '0';
}

// The common end of the inserting modes: the lower-case box, and its flag.
TagOutcome finish(QString text, bool lowerCase, AppSet& appSet) {
    appSet.setFlag(LowerCaseFlag, flagChar(lowerCase));
    return TagOutcome{std::nullopt, lowerCase ? LowerAsciiLetters(std::move(text)) : std::move(text)};
}

// Where the file name of a path begins: after its last separator, or at 0.
qsizetype afterLastSeparator(const QString& path) {
    return path.lastIndexOf(u'/') + 1;
}

} // namespace

std::optional<TagMode> TagModeFromChar(char mode) {
    switch (mode) {
    case 'L':
    case 'G':
    case 'D':
    case 'P':
    case 'W':
        return TagMode(mode);
    default:
        return std::nullopt;
    }
}

std::optional<MessageRequest> TagSelectionRefusal(TagMode mode, const QString& selectedText) {
    if (!selectedText.isEmpty())
        return std::nullopt;
    const auto warning = [](const QString& text, const QString& caption) {
        return MessageRequest{text, caption, MsgIcon::Warning, MsgButtons::Ok, {}};
    };
    switch (mode) {
    case TagMode::Link:
        return warning(msg::LinkNeedsSelection, msg::LinkNeedsSelectionCaption);
    case TagMode::Decoration:
        return warning(msg::DecoNeedsSelection, msg::DecoNeedsSelectionCaption);
    case TagMode::Position:
        return warning(msg::PosNeedsSelection, msg::PosNeedsSelectionCaption);
    case TagMode::Graphic:
    case TagMode::Weather:
        break;
    }
    return std::nullopt;
}

QString LowerAsciiLetters(QString text) {
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return text;
}

// ---- Link ---------------------------------------------------------------------

LinkPage OpenLinkPage(const AppSet& appSet, const QString& selectedText) {
    LinkPage page;
    page.name = selectedText;
    page.frame = appSet.LinkFrame;
    page.className = appSet.LinkClass;
    return page;
}

TagOutcome LinkPageOk(LinkPage& page, bool lowerCase, AppSet& appSet) {
    if (page.url.isEmpty())
        return TagOutcome{inputError(msg::LinkUrlMissing), {}};
    if (page.name.isEmpty())
        page.name = page.url;

    QString text = uR"(<A HREF=")"_s + page.url + u"\""_s;
    switch (page.target) {
    case LinkTarget::Normal:
        break;
    case LinkTarget::NewWindow:
        text += attribute(u"TARGET", u"_blank"_s);
        break;
    case LinkTarget::Top:
        text += attribute(u"TARGET", u"_top"_s);
        break;
    case LinkTarget::Frame:
        text += attribute(u"TARGET", page.frame);
        break;
    }
    if (page.accessKeyOn)
        text += attribute(u"ACCESSKEY", page.accessKey);
    if (page.tabIndexOn)
        text += attribute(u"TABINDEX", page.tabIndex);
    if (page.classOn)
        text += attribute(u"CLASS", page.className);
    if (page.titleOn)
        text += attribute(u"TITLE", page.title);
    text += u">"_s + page.name + u"</A>"_s;

    appSet.LinkFrame = page.frame;
    appSet.LinkClass = page.className;
    return finish(std::move(text), lowerCase, appSet);
}

// ---- Image --------------------------------------------------------------------

GraphicPage OpenGraphicPage(const AppSet& appSet) {
    GraphicPage page;
    page.folder = appSet.GraphicDir;
    return page;
}

bool ChooseGraphicFile(GraphicPage& page, FileDialog& openDialog) {
    openDialog.filter =
        u"画像ファイル(*.gif,*.jpg,*.png,*.bmp,*.tif,*.pcx)|*.gif;*.jpg;*.png;*.bmp;*.tif;*.pcx|すべてのファイル(*.*)|*.*"_s;
    openDialog.filterIndex = 1;
    openDialog.title = u"画像ファイル名を指定"_s;
    openDialog.initialDir = page.folder;
    // The chooser starts in the image folder with an empty name; the file the
    // shared dialog held for the file commands would take it to that file's
    // folder instead. A cancel gives that file back.
    const QString held = std::exchange(openDialog.fileName, QString());
    const bool chosen = openDialog.execute();
    if (!chosen)
        openDialog.fileName = held;
    const qsizetype cut = afterLastSeparator(openDialog.fileName);
    if (chosen)
        page.fileName = openDialog.fileName.sliced(cut);
    page.folder = openDialog.fileName.first(cut);
    return chosen;
}

TagOutcome GraphicPageOk(const GraphicPage& page, bool lowerCase, AppSet& appSet) {
    if (page.fileName.isEmpty())
        return TagOutcome{inputError(msg::GraphicNameMissing), {}};

    QString text = uR"(<IMG SRC=")"_s + page.fileName + u"\""_s;
    if (!page.width.isEmpty())
        text += attribute(u"WIDTH", page.width);
    if (!page.height.isEmpty())
        text += attribute(u"HEIGHT", page.height);
    if (!page.alt.isEmpty())
        text += attribute(u"ALT", page.alt);
    if (page.absmiddle)
        text += attribute(u"ALIGN", u"absmiddle"_s);
    else if (page.align == GraphicAlign::Right)
        text += attribute(u"ALIGN", u"right"_s);
    else if (page.align == GraphicAlign::Left)
        text += attribute(u"ALIGN", u"left"_s);
    if (page.border)
        text += attribute(u"BORDER", u"0"_s);
    text += u">"_s;

    appSet.GraphicDir = page.folder;
    return finish(std::move(text), lowerCase, appSet);
}

// ---- Decoration ---------------------------------------------------------------

DecorationPage OpenDecorationPage(const AppSet& appSet, const QString& selectedText) {
    DecorationPage page;
    page.selectedText = selectedText;
    page.htmlSize = 0;
    page.styleSize = 0;
    const auto storedColor = [](const QString& stored, quint32& color) {
        if (stored.isEmpty())
            return;
        if (const std::optional<quint32> read = ColorFromStoredText(stored))
            color = *read;
    };
    storedColor(appSet.DecoPrevColor, page.previewBase);
    storedColor(appSet.DecoInfo0, page.front);
    storedColor(appSet.DecoInfo1, page.back);
    // The fields run their change rules as if typed, which may set the swatches again.
    if (!appSet.DecoInfo2.isEmpty())
        page.setFrontText(appSet.DecoInfo2);
    if (!appSet.DecoInfo3.isEmpty())
        page.setBackText(appSet.DecoInfo3);
    page.frontOn = false;
    page.backOn = false;
    page.setPreviewText(ColorFieldText(page.previewBase));
    page.selectCode(appSet.decorationsAsStyleSheet() ? DecoCode::StyleSheet : DecoCode::HtmlTags);
    return page;
}

TagOutcome DecorationPageOk(const DecorationPage& page, bool lowerCase, AppSet& appSet) {
    const DecorationLook look = page.look();
    QString text = look.start + page.selectedText + look.end;

    appSet.DecoPrevColor = StoredColorText(page.previewBase);
    appSet.DecoInfo0 = StoredColorText(page.front);
    appSet.DecoInfo1 = StoredColorText(page.back);
    appSet.DecoInfo2 = page.frontText;
    appSet.DecoInfo3 = page.backText;
    appSet.setFlag(DecoStyleFlag, flagChar(page.code == DecoCode::StyleSheet));
    return finish(std::move(text), lowerCase, appSet);
}

// ---- Position -----------------------------------------------------------------

PositionPage OpenPositionPage(const AppSet& appSet) {
    PositionPage page;
    page.className = appSet.PositionClass;
    return page;
}

TagOutcome PositionPageOk(const PositionPage& page, const QString& selectedText, bool lowerCase,
                          AppSet& appSet) {
    const QString tag = page.tag == PosTag::Paragraph ? u"P"_s : u"DIV"_s;
    QString text = u"<"_s + tag;
    QString word;
    switch (page.align) {
    case PosAlign::Left:
        word = u"left"_s;
        break;
    case PosAlign::Center:
        word = u"center"_s;
        break;
    case PosAlign::Right:
        word = u"right"_s;
        break;
    case PosAlign::Unspecified:
        break;
    }
    if (!word.isEmpty()) {
        if (page.way == PosWay::AlignAttribute)
            text += attribute(u"ALIGN", word);
        else
            text += uR"( STYLE="text-align: )"_s + word + uR"(;")"_s;
    }
    if (page.classOn)
        text += attribute(u"CLASS", page.className);
    text += u">"_s + selectedText + u"</"_s + tag + u">"_s;

    appSet.PositionClass = page.className;
    return finish(std::move(text), lowerCase, appSet);
}
