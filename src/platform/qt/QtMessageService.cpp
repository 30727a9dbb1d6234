#include "platform/qt/QtMessageService.h"

#include <QMessageBox>

#include "dialogs/frmMsgBox.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

void QtMessageService::Information(const std::string& text, const std::string& title) {
    if (!app_) {
        QMessageBox::information(nullptr, ToQt(title), ToQt(text));
        return;
    }
    std::string unused;
    MsgBoxEx(*app_, text, title, kMsgBoxInformation, unused);
}

bool QtMessageService::Question(const std::string& text, const std::string& title) {
    if (!app_) {
        return QMessageBox::question(nullptr, ToQt(title), ToQt(text)) == QMessageBox::Yes;
    }
    std::string unused;
    return MsgBoxEx(*app_, text, title, kMsgBoxQuestion, unused) == 1;
}

}  // namespace kestrelon
