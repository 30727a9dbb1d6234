#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "platform/TrayService.h"

class QImage;
class QSystemTrayIcon;

namespace kestrelon {

// Icons in the desktop's notification area, one QSystemTrayIcon per id.
class QtTrayService : public TrayService {
  public:
    QtTrayService();
    ~QtTrayService() override;
    bool IsAvailable() const override;
    void Add(int id, const IconImage& icon, const std::string& tip) override;
    void Modify(int id, const IconImage& icon, const std::string& tip) override;
    void Delete(int id) override;
    void SetMouseHandler(std::function<void(int id, TrayMouse)> handler) override;

  private:
    std::map<int, std::unique_ptr<QSystemTrayIcon>> icons_;
    std::function<void(int, TrayMouse)> handler_;
};

// Conversions between the core's pictures and Qt images.
QImage ToQImage(const IconImage& icon);
IconImage FromQImage(const QImage& image);

}  // namespace kestrelon
