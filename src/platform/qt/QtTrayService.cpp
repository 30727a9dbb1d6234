#include "platform/qt/QtTrayService.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/qt/QtUi.h"

namespace kestrelon {

QImage ToQImage(const IconImage& icon) {
    QImage image(icon.width, icon.height, QImage::Format_ARGB32);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            image.setPixel(x, y, icon.At(x, y));
        }
    }
    return image;
}

IconImage FromQImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    IconImage icon(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            icon.At(x, y) = image.pixel(x, y);
        }
    }
    return icon;
}

QtTrayService::QtTrayService() = default;
QtTrayService::~QtTrayService() = default;

bool QtTrayService::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayService::Add(int id, const IconImage& icon, const std::string& tip) {
    auto& slot = icons_[id];
    if (!slot) {
        slot = std::make_unique<QSystemTrayIcon>();
        QObject::connect(slot.get(), &QSystemTrayIcon::activated,
                         [this, id](QSystemTrayIcon::ActivationReason reason) {
                             if (!handler_) {
                                 return;
                             }
                             switch (reason) {
                                 case QSystemTrayIcon::DoubleClick:
                                     handler_(id, TrayMouse::LeftDoubleClick);
                                     break;
                                 case QSystemTrayIcon::Context:
                                     handler_(id, TrayMouse::RightClick);
                                     break;
                                 case QSystemTrayIcon::Trigger:
                                     handler_(id, TrayMouse::LeftClick);
                                     break;
                                 default:
                                     break;
                             }
                         });
    }
    Modify(id, icon, tip);
    slot->show();
}

void QtTrayService::Modify(int id, const IconImage& icon, const std::string& tip) {
    const auto found = icons_.find(id);
    if (found == icons_.end()) {
        return;
    }
    found->second->setIcon(QIcon(QPixmap::fromImage(ToQImage(icon))));
    found->second->setToolTip(ToQt(tip));
}

void QtTrayService::Delete(int id) {
    icons_.erase(id);
}

void QtTrayService::SetMouseHandler(std::function<void(int id, TrayMouse)> handler) {
    handler_ = std::move(handler);
}

}  // namespace kestrelon
