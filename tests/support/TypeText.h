#pragma once
// Types any text, Japanese included, into a widget as key presses with that
// text (QTest::keyClicks takes ASCII only).

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace testsupport {

inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch == u'\n') {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(widget, &press);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace testsupport
