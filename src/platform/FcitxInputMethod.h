#pragma once
// The input method on Linux: fcitx5, through its controller on the session
// bus (org.fcitx.Fcitx5, /controller, org.fcitx.Fcitx.Controller1: Activate,
// Deactivate, State). The controller acts on the input field fcitx5 last saw
// focused, which is ours once Qt's fcitx plugin has told it of our focus.
// With no fcitx5 running, or no session bus, nothing happens and the state is
// Unknown: the program then works as without an input method, silently. The
// call never starts fcitx5 itself (no activation by the bus).

#include "platform/InputMethod.h"

class FcitxInputMethod : public InputMethod {
public:
    void setOn(bool on) override;
    State state() const override;
};
