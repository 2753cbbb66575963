#pragma once
// Types any text, Japanese included, into a widget as key presses with that
// text (QTest::keyClicks takes ASCII only).

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace testsupport {

inline void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(widget, &press);
            continue;
        }
        // A character outside the BMP is one key press of two UTF-16 units.
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, units);
        i += units - 1;
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, ch);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, ch);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace testsupport
