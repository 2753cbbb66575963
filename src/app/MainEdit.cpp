// The clipboard and undo commands, acting on the editor of the shown tab.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>

void TMainForm::MenuEditClick() {
    for (QAction* action : {UndoAction, CutAction, CopyAction, PasteAction, DelAction, AllSelectAction})
        action->setEnabled(false);
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    PasteAction->setEnabled(data && data->hasText() && !data->text().isEmpty());
    const DiaryEditor* editor = ActiveEditor();
    UndoAction->setEnabled(true);
    const bool selection = editor->textCursor().hasSelection();
    CutAction->setEnabled(selection);
    CopyAction->setEnabled(selection);
    DelAction->setEnabled(selection);
    AllSelectAction->setEnabled(!editor->document()->isEmpty());
}

void TMainForm::ConnectEditCommands() {
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
}
