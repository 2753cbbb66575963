#pragma once
// Drives modal dialogs in window tests: an action runs on the next modal
// window as soon as it is shown, from inside its exec() loop.
//
//   auto driver = testsupport::onNextModal<QMessageBox>([](QMessageBox* box) {
//       box->button(QMessageBox::Yes)->click();
//   });
//   service.show(...); // returns once the action has closed the box
//
// The returned ModalDriver must live until the dialog has been handled: when
// it goes out of scope first, the test fails ("no modal window appeared") and
// the action is never run, so a stale action cannot leak into a later test.
// For a box that a dialog opens, start the next driver inside the first action
// before triggering it.

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace testsupport {

class [[nodiscard]] ModalDriver {
public:
    ModalDriver(std::function<void(QWidget*)> action, int timeoutMs);
    ~ModalDriver();
    ModalDriver(ModalDriver&& other) noexcept : timer_(std::move(other.timer_)) { other.timer_ = nullptr; }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    ModalDriver& operator=(ModalDriver&&) = delete;

private:
    QPointer<QTimer> timer_; // gone once the action has run or the wait timed out
};

// Runs action on the next modal window other than the one active now. Fails
// the test when none appears within timeoutMs.
ModalDriver onNextModalWidget(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// As above, for a window of type Dialog; a modal window of another type fails
// the test and is rejected, so the test does not hang in its exec().
template <class Dialog, class Action> ModalDriver onNextModal(Action action, int timeoutMs = 5000) {
    return onNextModalWidget(
        [action](QWidget* widget) mutable {
            auto* dialog = qobject_cast<Dialog*>(widget);
            if (!dialog) {
                ADD_FAILURE() << "The modal window is a " << widget->metaObject()->className();
                if (auto* other = qobject_cast<QDialog*>(widget))
                    other->reject();
                return;
            }
            action(dialog);
        },
        timeoutMs);
}

} // namespace testsupport
