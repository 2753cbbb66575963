#include "platform/FcitxInputMethod.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

using namespace Qt::StringLiterals;

namespace {

const QString Service = u"org.fcitx.Fcitx5"_s;
const QString Path = u"/controller"_s;
const QString Interface = u"org.fcitx.Fcitx.Controller1"_s;
// A framework that does not answer at once must not hold up the window.
constexpr int TimeoutMs = 300;

bool running(const QDBusConnection& bus) {
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(Service).value();
}

QDBusMessage controllerCall(const QString& method) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface, method);
    message.setAutoStartService(false);
    return message;
}

} // namespace

void FcitxInputMethod::setOn(bool on) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!running(bus))
        return;
    // Waited for, so that the state asked next is the one switched to.
    bus.call(controllerCall(on ? u"Activate"_s : u"Deactivate"_s), QDBus::Block, TimeoutMs);
}

InputMethod::State FcitxInputMethod::state() const {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!running(bus))
        return State::Unknown;
    const QDBusMessage reply = bus.call(controllerCall(u"State"_s), QDBus::Block, TimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return State::Unknown;
    // 0: no input field known, 1: inactive, 2: active.
    switch (reply.arguments().constFirst().toInt()) {
    case 1:
        return State::Off;
    case 2:
        return State::On;
    default:
        return State::Unknown;
    }
}
