// The editing commands of both editors: clipboard and undo, the quick tags
// (line break, horizontal rule), the special characters and the current time.
// Each acts on the editor of the shown tab.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/QuickTags.h"
#include "today/DateFormat.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>

void TMainForm::ConnectEditCommands() {
    connect(MenuEdit, &QMenu::aboutToShow, this, &TMainForm::MenuEditClick);
    connect(PopupMenu, &QMenu::aboutToShow, this, &TMainForm::MenuEditClick);
    for (DiaryEditor* editor : {MToday, RAll}) {
        connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& pos) {
            PopupMenu->popup(editor->viewport()->mapToGlobal(pos));
        });
    }
    connect(UndoAction, &QAction::triggered, this, [this] { ActiveEditor()->undo(); });
    connect(CutAction, &QAction::triggered, this, [this] { ActiveEditor()->cut(); });
    connect(CopyAction, &QAction::triggered, this, [this] { ActiveEditor()->copy(); });
    connect(PasteAction, &QAction::triggered, this, [this] { ActiveEditor()->pasteText(); });
    connect(DelAction, &QAction::triggered, this, [this] {
        DiaryEditor* editor = ActiveEditor();
        if (editor->isReadOnly())
            return;
        QTextCursor cursor = editor->textCursor();
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    });
    connect(AllSelectAction, &QAction::triggered, this, [this] { ActiveEditor()->selectAll(); });

    connect(TagBRAction, &QAction::triggered, this, &TMainForm::TagBRActionExecute);
    connect(TagHRAction, &QAction::triggered, this, &TMainForm::TagHRActionExecute);
    connect(InsTimeAction, &QAction::triggered, this, &TMainForm::InsTimeActionExecute);
    const QList<QPair<QAction*, SpecialChar>> specials = {
        {SPCltAction, SpecialChar::LessThan},   {SPCgtAction, SpecialChar::GreaterThan},
        {SPCampAction, SpecialChar::Ampersand}, {SPCquotAction, SpecialChar::Quote},
        {SPCspace, SpecialChar::Space},
    };
    for (const auto& [action, special] : specials) {
        connect(action, &QAction::triggered, this,
                [this, special = special] { InsertText(SpecialCharText(special)); });
    }

    ConnectTagCommands();
    ConnectSearchCommands();
}

// The edit items' states, computed when a menu showing them opens.
void TMainForm::MenuEditClick() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    const DiaryEditor* editor = ActiveEditor();
    const bool selection = editor->textCursor().hasSelection();
    UndoAction->setEnabled(true);
    CutAction->setEnabled(selection);
    CopyAction->setEnabled(selection);
    PasteAction->setEnabled(data && data->hasText() && !data->text().isEmpty());
    DelAction->setEnabled(selection);
    AllSelectAction->setEnabled(!editor->document()->isEmpty());
}

// Replaces the active editor's selection (or inserts at the caret) as one
// undo step; the caret ends after the text.
void TMainForm::InsertText(const QString& text) {
    DiaryEditor* editor = ActiveEditor();
    if (editor->isReadOnly())
        return;
    editor->insertTextAtCaret(text);
}

void TMainForm::TagBRActionExecute() {
    InsertText(LineBreakTagText(htmlSet, TodayTabShown() ? EditorTab::Today : EditorTab::WholeFile));
}

void TMainForm::TagHRActionExecute() {
    InsertText(RuleTagText(TodayTabShown() ? EditorTab::Today : EditorTab::WholeFile));
}

void TMainForm::InsTimeActionExecute() {
    InsertText(FormatDiaryTime(false, htmlSet, platform_.clock->now().time()));
}
