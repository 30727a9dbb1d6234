#include "dialogs/frmCallback.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "core/AppCore.h"
#include "mainwindow/MailCheckIcon.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

}  // namespace

frmCallback::frmCallback(AppCore& app, QWidget* parent) : QWidget(parent) {
    setObjectName("frmCallback");

    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName("mnuPopup");
    mnuAdd = mnuPopup->addAction("Add Connection");
    mnuAdd->setObjectName("mnuAdd");
    mnuEdit = mnuPopup->addAction("Edit Connection");
    mnuEdit->setObjectName("mnuEdit");
    mnuRename = mnuPopup->addAction("Rename Connection");
    mnuRename->setObjectName("mnuRename");
    mnuDelete = mnuPopup->addAction("Delete Connection");
    mnuDelete->setObjectName("mnuDelete");

    TranslateCaption(app, mnuAdd, "addconnection");
    TranslateCaption(app, mnuEdit, "editconnection");
    TranslateCaption(app, mnuRename, "renameconnection");
    TranslateCaption(app, mnuDelete, "deleteconnection");

    // The hooks are read when an item is chosen, so the editor can set them at any time.
    connect(mnuAdd, &QAction::triggered, this, [this] { Call(onAdd); });
    connect(mnuEdit, &QAction::triggered, this, [this] { Call(onEdit); });
    connect(mnuRename, &QAction::triggered, this, [this] { Call(onRename); });
    connect(mnuDelete, &QAction::triggered, this, [this] { Call(onDelete); });
    setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(NewMailIcon()))));
    InstallKeepInWorkArea(this);
}

frmCallback::~frmCallback() {
    Call(onUnload);
    Delete(kMailIconId);
}

bool frmCallback::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void frmCallback::Add(int id, const IconImage& icon, const std::string& tip) {
    if (id != kMailIconId) {
        return;
    }
    if (!trayMail_) {
        trayMail_ = std::make_unique<QSystemTrayIcon>();
        trayMail_->setObjectName("trayMail");
        connect(trayMail_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (!mouseHandler_) {
                        return;
                    }
                    // A single click is the left button's release.
                    if (reason == QSystemTrayIcon::Trigger) {
                        mouseHandler_(kMailIconId, TrayMouse::LeftClick);
                    } else if (reason == QSystemTrayIcon::DoubleClick) {
                        mouseHandler_(kMailIconId, TrayMouse::LeftDoubleClick);
                    } else if (reason == QSystemTrayIcon::Context) {
                        mouseHandler_(kMailIconId, TrayMouse::RightClick);
                    }
                });
    }
    Modify(id, icon, tip);
    trayMail_->show();
}

void frmCallback::Modify(int id, const IconImage& icon, const std::string& tip) {
    if (id != kMailIconId || !trayMail_) {
        return;
    }
    const QIcon picture(QPixmap::fromImage(ToQImage(icon)));
    trayMail_->setIcon(picture);
    setWindowIcon(picture);
    trayMail_->setToolTip(ToQt(tip));
}

void frmCallback::Delete(int id) {
    if (id == kMailIconId) {
        trayMail_.reset();
    }
}

void frmCallback::SetMouseHandler(std::function<void(int id, TrayMouse)> handler) {
    mouseHandler_ = std::move(handler);
}

void frmCallback::PopupEntryMenu(const QPoint& globalPosition) {
    mnuPopup->popup(globalPosition);
}

}  // namespace kestrelon
