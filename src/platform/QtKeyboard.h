#pragma once
// The keyboard state as the window system reports it at this moment (not as
// the last processed event left it).

#include "platform/Keyboard.h"

class QtKeyboard : public Keyboard {
public:
    bool shiftHeld() const override;
};
