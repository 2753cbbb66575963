#include "support/ModalDriver.h"

#include <QApplication>
#include <QDeadlineTimer>

namespace testsupport {

ModalDriver::ModalDriver(std::function<void(QWidget*)> action, int timeoutMs) : timer_(new QTimer(qApp)) {
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    const QDeadlineTimer deadline(timeoutMs);
    QTimer* timer = timer_;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, deadline, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible()) {
            timer->stop();
            // The action may open further dialogs; the timer goes once it returns.
            action(modal);
            timer->deleteLater();
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "No modal window appeared";
        }
    });
    timer->start();
}

ModalDriver::~ModalDriver() {
    if (timer_ && timer_->isActive()) {
        ADD_FAILURE() << "No modal window appeared";
        delete timer_.data();
    }
}

ModalDriver onNextModalWidget(std::function<void(QWidget*)> action, int timeoutMs) {
    return ModalDriver(std::move(action), timeoutMs);
}

} // namespace testsupport
