#include "platform/InputMethodSwitch.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTimer>

namespace {

// The mode stands on the control itself, so that it goes with the control.
constexpr char ModeProperty[] = "oribelInputMethodMode";

} // namespace

InputMethodSwitch::InputMethodSwitch(InputMethod* method, QObject* parent)
    : QObject(parent), method_(method), retry_(new QTimer(this)) {
    retry_->setSingleShot(true);
    retry_->setInterval(RetryIntervalMs);
    connect(retry_, &QTimer::timeout, this, &InputMethodSwitch::tryPending);
    connect(qApp, &QApplication::focusChanged, this, &InputMethodSwitch::onFocusChanged);
}

void InputMethodSwitch::setMode(QWidget* control, InputMethodMode mode) {
    control->setProperty(ModeProperty, int(mode));
}

InputMethodMode InputMethodSwitch::mode(const QWidget* control) {
    const QVariant value = control ? control->property(ModeProperty) : QVariant();
    return value.isValid() ? InputMethodMode(value.toInt()) : InputMethodMode::Leave;
}

void InputMethodSwitch::onFocusChanged(QWidget* /*old*/, QWidget* now) {
    if (focus_)
        focus_->removeEventFilter(this);
    focus_ = now;
    composing_ = false;
    if (focus_)
        focus_->installEventFilter(this);
    applyToFocus();
}

void InputMethodSwitch::applyToFocus() {
    pending_ = false;
    retry_->stop();
    if (!method_ || !focus_ || mode(focus_) == InputMethodMode::Leave)
        return;
    pending_ = true;
    retriesLeft_ = Retries;
    tryPending();
}

void InputMethodSwitch::tryPending() {
    if (!pending_ || !focus_ || composing_)
        return;
    const InputMethodMode wanted = mode(focus_);
    if (wanted == InputMethodMode::Leave) {
        pending_ = false;
        return;
    }
    const InputMethod::State target =
        wanted == InputMethodMode::On ? InputMethod::State::On : InputMethod::State::Off;
    const InputMethod::State now = method_->state();
    if (now == target) {
        pending_ = false;
        return;
    }
    method_->setOn(wanted == InputMethodMode::On);
    // Tried again only while the framework does not answer for our window: once
    // it does, the user may switch by hand at once.
    if (now == InputMethod::State::Unknown && retriesLeft_-- > 0)
        retry_->start();
    else
        pending_ = false;
}

bool InputMethodSwitch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == focus_ && event->type() == QEvent::InputMethod) {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        composing_ = !input->preeditString().isEmpty();
        // A waiting switch goes once the composition has been committed or
        // cancelled and the control has taken that event.
        if (!composing_ && pending_)
            QTimer::singleShot(0, this, &InputMethodSwitch::tryPending);
    }
    return QObject::eventFilter(watched, event);
}
