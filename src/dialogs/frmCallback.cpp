#include "dialogs/frmCallback.h"

#include <QAction>
#include <QMenu>

#include "core/AppCore.h"
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
    InstallKeepInWorkArea(this);
}

frmCallback::~frmCallback() {
    Call(onUnload);
}

void frmCallback::PopupEntryMenu(const QPoint& globalPosition) {
    mnuPopup->popup(globalPosition);
}

}  // namespace kestrelon
