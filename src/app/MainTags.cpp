// The tag builder's openers (link, image, decoration, position), the snippet
// menu PopupSentence built from sentence.csv, tag highlighting, and the
// one-time warning when "<" is typed into today's body.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/ListFile.h"
#include "document/QuickTags.h"
#include "document/TagBuilder.h"
#include "document/TagsUnit.h"
#include "resources/Messages.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextCursor>
#include <QToolButton>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Hands every text typed into a widget (keys and the input method's commits)
// to a function before the widget takes it.
class TypedTextWatcher : public QObject {
public:
    TypedTextWatcher(QObject* parent, std::function<void(const QString&)> typed)
        : QObject(parent), typed_(std::move(typed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.front().isPrint())
                typed_(text);
        } else if (event->type() == QEvent::InputMethod) {
            const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
            if (!text.isEmpty())
                typed_(text);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(const QString&)> typed_;
};

// Where the snippet menu pops up, from the main window's top-left corner.
const QPoint SnippetMenuAtButton(419, 120);
const QPoint SnippetMenuAtKeyToday(9, 137);
const QPoint SnippetMenuAtKeyWholeFile(9, 140);

QString selectedTextOf(const DiaryEditor* editor) {
    return editor->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

} // namespace

void TMainForm::ConnectTagCommands() {
    const QList<QPair<QAction*, TagMode>> openers = {
        {TagLinkAction, TagMode::Link},
        {TagGraphAction, TagMode::Graphic},
        {TagDecAction, TagMode::Decoration},
        {TagPosAction, TagMode::Position},
    };
    for (const auto& [action, mode] : openers)
        connect(action, &QAction::triggered, this, [this, mode = mode] { OpenTagBuilder(mode); });

    PopupSentence->addSeparator();
    SentenceEdit = new QAction(u"（任意タグ,単文の登録...）"_s, PopupSentence);
    SentenceEdit->setObjectName(u"SentenceEdit"_s);
    SentenceEdit->setData(int(SnippetRegistration));
    PopupSentence->addAction(SentenceEdit);
    connect(SentenceEdit, &QAction::triggered, this, [this] { SentenceEditClick(SentenceEdit); });
    connect(SentenceAction, &QAction::triggered, this, &TMainForm::SentenceActionExecute);
    connect(BtnSentence, &QToolButton::clicked, this, &TMainForm::BtnSentenceClick);

    connect(TagHighlightAction, &QAction::triggered, this, [this] { HighlightTags(ActiveEditor()); });
    // The menu shows both keys (a menu shows only the first by itself).
    QStringList keys;
    for (const QKeySequence& key : TagHighlightAction->shortcuts())
        keys.append(key.toString(QKeySequence::NativeText));
    TagHighlightAction->setText(TagHighlightAction->text() + u'\t' + keys.join(u", "_s));

    MToday->installEventFilter(
        new TypedTextWatcher(MToday, [this](const QString& typed) { MTodayKeyPress(typed); }));
}

// ---- Tag builder ----------------------------------------------------------------

void TMainForm::OpenTagBuilder(TagMode mode) {
    appSet.setTagDialogMode(TagModeChar(mode));
    DiaryEditor* editor = ActiveEditor();
    if (const std::optional<MessageRequest> refusal = TagSelectionRefusal(mode, selectedTextOf(editor))) {
        platform_.messages->show(*refusal);
        return;
    }
    TTagsForm tags(mode, platform_, htmlSet, appSet, {editor, &OpenDialog}, this);
    tags.exec();
    editor->setFocus();
}

// ---- Snippet menu -----------------------------------------------------------------

void TMainForm::BtnSentenceClick() {
    PopUpSnippetMenu(SnippetMenuAtButton);
}

void TMainForm::SentenceActionExecute() {
    PopUpSnippetMenu(TodayTabShown() ? SnippetMenuAtKeyToday : SnippetMenuAtKeyWholeFile);
}

void TMainForm::PopUpSnippetMenu(QPoint offset) {
    LoadSnippetMenu();
    PopupSentence->popup(frameGeometry().topLeft() + offset);
}

// One item per snippet of sentence.csv, in the file's order, in front of the
// separator and the registration item.
void TMainForm::LoadSnippetMenu() {
    if (snippetMenuLoaded_)
        return;
    snippetMenuLoaded_ = true;
    const QList<QAction*> fixed = PopupSentence->actions();
    QAction* before = fixed.at(fixed.size() - 2);
    for (const listfile::Snippet& snippet : listfile::readSnippets(programFolder_ + u"sentence.csv"_s)) {
        // The name shows as stored: an "&" in it is no access key.
        auto* item = new QAction(QString(snippet.name).replace(u"&"_s, u"&&"_s), PopupSentence);
        item->setStatusTip(snippet.start + u","_s + snippet.end);
        item->setData(int(snippet.isSentence ? SnippetSentence : SnippetTagPair));
        connect(item, &QAction::triggered, this, [this, item] { SentenceEditClick(item); });
        PopupSentence->insertAction(before, item);
    }
}

// Run after the behaviour settings dialog closed: sentence.csv is read again
// at the next opening.
void TMainForm::ClearSnippetMenu() {
    while (PopupSentence->actions().size() > 2) {
        QAction* item = PopupSentence->actions().constFirst();
        PopupSentence->removeAction(item);
        delete item;
    }
    snippetMenuLoaded_ = false;
}

void TMainForm::SentenceEditClick(QAction* item) {
    const int tagNumber = item->data().toInt();
    if (tagNumber == SnippetRegistration) {
        appSet.setSettingsDialogPage('S');
        SetAppActionExecute();
        return;
    }
    const std::optional<QString> text =
        SnippetInsertion(tagNumber, item->statusTip(), selectedTextOf(ActiveEditor()));
    if (text)
        InsertText(*text);
}

// ---- Tag highlighting and the "<" warning ------------------------------------------

void TMainForm::HighlightTags(DiaryEditor* editor) {
    editor->highlightTags();
}

void TMainForm::MTodayKeyPress(const QString& typed) {
    if (specialCharWarned_ || !appSet.warnsAtFirstSpecialChar() || !typed.contains(u'<'))
        return;
    specialCharWarned_ = true;
    platform_.messages->show(msg::SpecialCharWarning, msg::SpecialCharWarningCaption, MsgIcon::Information);
}
