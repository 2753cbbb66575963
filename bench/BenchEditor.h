#pragma once
// The document editor as the editor benchmarks use it: shown at a window's
// size, with a page loaded and the caret in its middle, kept between
// benchmarks of the same page size; and the status refresh a caret move or an
// edit causes on the document tab.

#include "document/DiaryEditor.h"
#include "today/Statistics.h"

#include <QApplication>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace bench {

// What the status refresh of the document tab computes.
inline QString statusOf(const DiaryEditor& editor) {
    return CaretPanelText(editor.caretLine(), editor.caretColumn()) +
           TotalsPanelText(editor.lineTotal(), editor.byteTotal());
}

inline std::unique_ptr<DiaryEditor> shownEditor() {
    auto editor = std::make_unique<DiaryEditor>();
    editor->resize(800, 600);
    editor->show();
    return editor;
}

// A shown editor holding text, the caret in the middle of the page.
inline std::unique_ptr<DiaryEditor> editorWith(const QString& text) {
    auto editor = shownEditor();
    editor->loadText(text);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(editor->document()->characterCount() / 2);
    editor->setTextCursor(cursor);
    QApplication::processEvents();
    return editor;
}

// One caret move a line down or (the next time) up, with the status refresh it
// causes.
inline void moveCaretOnce(DiaryEditor& editor, bool& down) {
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(down ? QTextCursor::Down : QTextCursor::Up);
    editor.setTextCursor(cursor);
    benchmark::DoNotOptimize(statusOf(editor));
    down = !down;
}

// One edit, a character typed or (the next time) deleted, with the status
// refresh it causes.
inline void editOnce(DiaryEditor& editor, bool& insert) {
    QTextCursor cursor = editor.textCursor();
    if (insert)
        cursor.insertText(QStringLiteral("あ"));
    else
        cursor.deletePreviousChar();
    editor.setTextCursor(cursor);
    benchmark::DoNotOptimize(statusOf(editor));
    insert = !insert;
}

// Editors holding a page, kept between benchmarks by page size in megabytes.
// They are widgets: main clears the cache before the application goes.
inline std::map<int, std::unique_ptr<DiaryEditor>>& editorCache() {
    static std::map<int, std::unique_ptr<DiaryEditor>> editors;
    return editors;
}

} // namespace bench
