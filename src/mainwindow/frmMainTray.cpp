// The main window's notification-area icon and its menu.
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

#include "core/AppCore.h"
#include "dialer/DialSessionController.h"
#include "dialogs/frmLog.h"
#include "dialogs/frmSplash.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

// A telephone handset on a disc with a dark rim, so it reads on light and dark panels alike.
IconImage HandsetIcon(const QColor& disc, const QColor& handset) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(15, 15, 15), 1));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    // The grip: a thick bow over the two cups.
    painter.setPen(QPen(handset, 2.4, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(3.2, 4.2, 9.6, 8), 25 * 16, 130 * 16);
    // Ear and mouth cups.
    painter.setPen(Qt::NoPen);
    painter.setBrush(handset);
    painter.drawRoundedRect(QRectF(2.4, 7.0, 4.2, 3.2), 1.2, 1.2);
    painter.drawRoundedRect(QRectF(9.4, 7.0, 4.2, 3.2), 1.2, 1.2);
    painter.end();
    return FromQImage(image);
}

}  // namespace

IconImage frmMain::OfflineIcon() {
    return HandsetIcon(QColor(90, 90, 100), QColor(230, 230, 230));
}

IconImage frmMain::OnlineIcon() {
    return HandsetIcon(QColor(20, 150, 40), QColor(255, 255, 255));
}

void frmMain::BuildTrayMenu() {
    mnuTray = new QMenu("Tray Menu", this);
    mnuTray->setObjectName("mnuTray");
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             std::function<void()> handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
        return action;
    };
    // The twins trigger their main-menu item, which runs only when that is enabled.
    const auto twin = [&](QMenu* menu, const char* name, QAction* original) {
        return item(menu, name, original->text(), [original] { original->trigger(); });
    };

    mnuDial = item(mnuTray, "mnuDial", "Dial", [this] { TrayDialClicked(); });
    mnuDial->setEnabled(false);
    mnuConnect = mnuTray->addMenu("Connect");
    mnuConnect->setObjectName("mnuConnect");
    mnuMOptionsT = mnuTray->addMenu(mnuMOptions->title());
    mnuMOptionsT->setObjectName("mnuMOptionsT");
    mnuOptionsT = twin(mnuMOptionsT, "mnuOptionsT", mnuOptions);
    mnuConManT = twin(mnuMOptionsT, "mnuConManT", mnuManager);
    mnuEditT = twin(mnuMOptionsT, "mnuEditT", mnuEditProfile);
    mnuMOptionsT->addSeparator()->setObjectName("mnuSep7");
    mnuDisDualT = twin(mnuMOptionsT, "mnuDisDualT", mnuDisDual);
    mnuDisDualT->setCheckable(true);
    mnuViewT = mnuTray->addMenu(mnuView->title());
    mnuViewT->setObjectName("mnuViewT");
    mnuProgLogT = twin(mnuViewT, "mnuProgLogT", mnuProgLog);
    mnuDialLogT = twin(mnuViewT, "mnuDialLogT", mnuDialLog);
    mnuErrLogT = twin(mnuViewT, "mnuErrLogT", mnuErrorLog);
    mnuViewT->addSeparator()->setObjectName("mnuSep19");
    mnuLastErrorT = twin(mnuViewT, "mnuLastErrorT", mnuViewErr);
    mnuViewT->addSeparator()->setObjectName("mnuSep20");
    mnuTelKostT = twin(mnuViewT, "mnuTelKostT", mnuPhoneCharges);
    mnuManagerT = twin(mnuTray, "mnuManagerT", mnuManager);
    mnuManagerT->setVisible(false);
    mnuManagerT->setEnabled(false);
    mnuCopyIPT = twin(mnuTray, "mnuCopyIPT", mnuCopyIP);
    mnuShow = item(mnuTray, "mnuShow", "Show", [this] { ShowFromTray(); });
    mnuTray->addSeparator()->setObjectName("mnuS");
    mnuExitT = twin(mnuTray, "mnuExitT", mnuExit);
    mnuDiscExitT = item(mnuTray, "mnuDiscExitT", "Disconnect && Exit", [this] {
        if (dialer_ != nullptr) {
            dialer_->HangUpAll();
        }
        Exit();
    });
    mnuDiscExitT->setVisible(false);
    mnuTray->setDefaultAction(mnuShow);
}

void frmMain::ShowTrayMenu() {
    RefreshCommands();
    mnuDial->setText(IsOnlineOrDialing() ? cmdDisc->text() : cmdDial->text());
    const auto copy = [](QAction* to, const QAction* from) { to->setText(from->text()); };
    copy(mnuOptionsT, mnuOptions);
    mnuMOptionsT->setTitle(mnuMOptions->title());
    copy(mnuConManT, mnuManager);
    copy(mnuExitT, mnuExit);
    copy(mnuEditT, mnuEditProfile);
    copy(mnuDisDualT, mnuDisDual);
    mnuDisDualT->setChecked(mnuDisDual->isChecked());
    copy(mnuCopyIPT, mnuCopyIP);
    mnuViewT->setTitle(mnuView->title());
    copy(mnuProgLogT, mnuProgLog);
    copy(mnuDialLogT, mnuDialLog);
    copy(mnuErrLogT, mnuErrorLog);
    copy(mnuLastErrorT, mnuViewErr);
    copy(mnuTelKostT, mnuPhoneCharges);
    mnuDiscExitT->setVisible(app_.settings.Hangup);
    // A doubled ampersand shows as one.
    mnuDiscExitT->setText(
        ToQt(app_.LangText("disconnect", "Disconnect") + " && " + app_.LangText("exit", "Exit")));
    mnuShow->setText(ToQt(app_.LangText("show", "Show")));
    mnuConnect->setTitle(ToQt(app_.LangText("connect", "Connect")));

    for (QAction* entry : mnuCons) {
        mnuConnect->removeAction(entry);
        delete entry;
    }
    mnuCons.clear();
    for (int i = 1; i <= app_.profiles.nProfs; ++i) {
        QAction* entry =
            mnuConnect->addAction(ToQt(app_.profiles.ConProf[static_cast<std::size_t>(i)].Name));
        entry->setObjectName(QString("mnuCons%1").arg(i));
        entry->setCheckable(true);
        entry->setChecked(i == app_.SelProfile);
        connect(entry, &QAction::triggered, this, [this, i] {
            lstConProf->setCurrentRow(i - 1);
            DialSelected();
        });
        mnuCons.push_back(entry);
    }
    mnuConnect->menuAction()->setEnabled(!mnuCons.empty());
    mnuTray->popup(QCursor::pos(), mnuShow);
}

bool frmMain::TrayMenuAllowed() const {
    if (modalDepth_ > 0) {
        return false;
    }
    const auto friendly = [this](const QWidget* w) {
        return w == this || qobject_cast<const frmLogView*>(w) != nullptr ||
               qobject_cast<const frmSplash*>(w) != nullptr;
    };
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && !friendly(modal)) {
        return false;
    }
    const QWidget* active = QApplication::activeWindow();
    return active == nullptr || friendly(active);
}

void frmMain::TrayMouseEvent(TrayMouse what) {
    if (what == TrayMouse::LeftDoubleClick) {
        if (modalDepth_ > 0 || QApplication::activeModalWidget() != nullptr) {
            // Another dialog of the program is open: bring that forward instead.
            ForceForeground(QApplication::activeModalWidget());
            return;
        }
        const QWidget* active = QApplication::activeWindow();
        if (active == nullptr || active == this || qobject_cast<const frmSplash*>(active)) {
            ShowFromTray();
        }
        return;
    }
    if (what == TrayMouse::RightClick && TrayMenuAllowed()) {
        ShowTrayMenu();
    }
}

void frmMain::UpdateTray() {
    if (dialer_ == nullptr) {
        return;
    }
    const DialSession& s = dialer_->Session();
    trayChoice_.Update(s, app_.profiles.Find(s.CurProfile), dialer_->TrayBlink() ? 1 : 0);
}

}  // namespace kestrelon
