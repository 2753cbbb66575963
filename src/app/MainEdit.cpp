// The clipboard and undo commands, acting on the editor of the shown tab.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"

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
