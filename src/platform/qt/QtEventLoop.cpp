#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>

namespace kestrelon {

void QtEventLoop::ProcessEvents() {
    QCoreApplication::processEvents();
}

void QtEventLoop::Quit(int exitCode) {
    QCoreApplication::exit(exitCode);
}

}  // namespace kestrelon
