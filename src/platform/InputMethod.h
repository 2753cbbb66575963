#pragma once
// Seam: the input method (the framework that composes Japanese text) of the
// window that has the keyboard focus: switch it on or off, ask its state.
// Text entry itself always goes through Qt's input-method events; this only
// opens or closes the framework's conversion, as a user would with its key.

class InputMethod {
public:
    enum class State {
        Unknown, // no framework answers, or it knows no input field of ours yet
        Off,
        On,
    };
    virtual ~InputMethod() = default;
    virtual void setOn(bool on) = 0;
    virtual State state() const = 0;
};
