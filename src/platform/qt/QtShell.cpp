#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/qt/QtUi.h"

namespace kestrelon {

bool QtShell::Open(const std::string& target) {
    const QString text = ToQt(target);
    if (text.isEmpty()) {
        return false;
    }
    // A plain path is a local file; anything with a scheme is an address.
    const QUrl url = QFileInfo::exists(text)
                         ? QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath())
                         : QUrl::fromUserInput(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace kestrelon
