#include "platform/qt/QtPowerOff.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

#include "platform/qt/QtUi.h"

namespace kestrelon {

PowerOffResult LogindPowerOff::RequestPowerOff() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return {PowerOffResult::Outcome::Unavailable, "no system bus"};
    }
    QDBusInterface manager("org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", bus);
    if (!manager.isValid()) {
        return {PowerOffResult::Outcome::Unavailable, FromQt(manager.lastError().message())};
    }
    // "challenge" would need the user's password; the request never asks, so it counts as
    // refused. "na" means this system cannot switch itself off at all.
    const QDBusReply<QString> allowed = manager.call("CanPowerOff");
    if (allowed.isValid() && allowed.value() == "na") {
        return {PowerOffResult::Outcome::Unavailable, "CanPowerOff: na"};
    }
    if (allowed.isValid() && allowed.value() != "yes") {
        return {PowerOffResult::Outcome::Refused, "CanPowerOff: " + FromQt(allowed.value())};
    }
    const QDBusMessage reply = manager.call("PowerOff", false);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        return {PowerOffResult::Outcome::Refused, FromQt(reply.errorMessage())};
    }
    return {PowerOffResult::Outcome::Requested, ""};
}

}  // namespace kestrelon
