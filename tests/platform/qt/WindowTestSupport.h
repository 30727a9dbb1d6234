#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "core/FileHelpers.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

// Failure messages show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kestrelon::test {

// A program directory, fake platform services and the process-wide records for one window test.
class WindowTest : public ::testing::Test {
  protected:
    // Writes a language file and switches the program to it.
    void UseLanguage(const std::string& name, const std::string& defaultSection) {
        WriteFile(dir_.File("lng" + name + ".ini"), "[Default]\n" + defaultSection);
        app_.lang.SetLanguageInUse(name);
    }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
};

// Acts on the next modal window as soon as its own event loop runs, as a user would after it
// appeared. Used before a call that opens a modal window and waits for it.
inline void WhenModalOpens(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

}  // namespace kestrelon::test
