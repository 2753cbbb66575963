#pragma once
// Switches the input method as controls receive the keyboard focus: each
// control says which way it wants it (setMode), and whenever one of them gets
// the focus (within the window, or with the window's activation) the input
// method is switched that way through the InputMethod seam. A control that
// says nothing leaves it as the user set it.
//
// Nothing is switched while a composition is open in the focused control; the
// switch waits until it is committed or cancelled. A framework that does not
// know our window yet (just after start-up) is asked again a few times, so
// that the body's input method is on at start without a key press.

#include "platform/InputMethod.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class QTimer;

enum class InputMethodMode {
    Leave, // as the user left it
    On,
    Off,
};

class InputMethodSwitch : public QObject {
    Q_OBJECT
public:
    // method may be null: then nothing is switched.
    explicit InputMethodSwitch(InputMethod* method, QObject* parent = nullptr);

    static void setMode(QWidget* control, InputMethodMode mode);
    static InputMethodMode mode(const QWidget* control);

    // Switches for the control that has the focus now, if it wants a mode.
    void applyToFocus();

    // How often, and how far apart, an unanswered switch is tried again.
    static constexpr int Retries = 20;
    static constexpr int RetryIntervalMs = 100;

protected:
    // Follows the focused control's input-method events, to know whether a
    // composition is open in it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFocusChanged(QWidget* old, QWidget* now);
    void tryPending();

    InputMethod* method_;
    QPointer<QWidget> focus_;
    bool composing_ = false;
    bool pending_ = false; // a switch waits for the composition or the framework
    int retriesLeft_ = 0;
    QTimer* retry_;
};
