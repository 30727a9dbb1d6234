#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QMenu;

namespace kestrelon {

class AppCore;

// A hidden window created at start-up. It carries the popup menu of the profile editor's
// list of dial-up entries and the new-mail tray icon.
class frmCallback : public QWidget {
    Q_OBJECT
  public:
    explicit frmCallback(AppCore& app, QWidget* parent = nullptr);
    ~frmCallback() override;

    // Pops the entry menu up at a position on the screen; the chosen item calls its hook.
    void PopupEntryMenu(const QPoint& globalPosition);

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
};

}  // namespace kestrelon
