#include "platform/QtKeyboard.h"

#include <QGuiApplication>

bool QtKeyboard::shiftHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}
