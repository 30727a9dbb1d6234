#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "platform/TrayService.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace kestrelon {

class AppCore;

// A hidden window created at start-up. It carries the popup menu of the profile editor's
// list of dial-up entries and the new-mail tray icon: the window is the notification-area
// service of that one icon (id 1), with its own mouse handler, apart from the main window's.
class frmCallback : public QWidget, public TrayService {
    Q_OBJECT
  public:
    static constexpr int kMailIconId = 1;

    explicit frmCallback(AppCore& app, QWidget* parent = nullptr);
    ~frmCallback() override;

    // Pops the entry menu up at a position on the screen; the chosen item calls its hook.
    void PopupEntryMenu(const QPoint& globalPosition);

    // The new-mail icon's notification-area service; only id 1 is shown.
    TrayService& MailTray() { return *this; }
    bool IsAvailable() const override;
    void Add(int id, const IconImage& icon, const std::string& tip) override;
    void Modify(int id, const IconImage& icon, const std::string& tip) override;
    void Delete(int id) override;
    void SetMouseHandler(std::function<void(int id, TrayMouse)> handler) override;
    // The icon while it is shown, else nullptr.
    QSystemTrayIcon* MailIcon() const { return trayMail_.get(); }

    QMenu* mnuPopup = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuEdit = nullptr;
    QAction* mnuRename = nullptr;
    QAction* mnuDelete = nullptr;

    // The profile editor's operations for the four menu items.
    std::function<void()> onAdd;
    std::function<void()> onEdit;
    std::function<void()> onRename;
    std::function<void()> onDelete;

    // The new-mail notification hangs its tray icon on this window: it sets this to delete
    // the icon, and the window runs it when it is unloaded.
    std::function<void()> onUnload;

  private:
    std::unique_ptr<QSystemTrayIcon> trayMail_;
    std::function<void(int, TrayMouse)> mouseHandler_;
};

}  // namespace kestrelon
