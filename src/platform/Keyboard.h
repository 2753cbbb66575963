#pragma once
// Seam: keyboard state at the moment a command runs.

class Keyboard {
public:
    virtual ~Keyboard() = default;
    virtual bool shiftHeld() const = 0;
};
