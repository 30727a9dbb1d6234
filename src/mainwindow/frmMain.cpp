#include "mainwindow/frmMain.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "core/INIio.h"
#include "dialogs/frmAbout.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

constexpr double kTwipsPerPixel = 15.0;

// The offline icon: a grey handset on a dark disc, readable on light and dark panels.
IconImage OfflineIcon() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.setBrush(QColor(90, 90, 100));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(QPen(QColor(230, 230, 230), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(4, 4, 8, 8), 200 * 16, 140 * 16);
    painter.drawLine(QPointF(4.5, 9), QPointF(6, 10.5));
    painter.drawLine(QPointF(11.5, 9), QPointF(10, 10.5));
    painter.end();
    return FromQImage(image);
}

}  // namespace

frmMain::frmMain(AppCore& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName("frmMain");
    setWindowTitle("Kestrelon 2000");
    setWindowIcon(QPixmap::fromImage(ToQImage(OfflineIcon())));
    BuildControls();
    BuildMenus();
    InstallHelpKey(app_, this, std::string("krmain"));
}

frmMain::~frmMain() {
    RemoveTrayIcon();
}

void frmMain::BuildControls() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    lblConProf = new QLabel("Connection Profile", central);
    lblConProf->setObjectName("lblConProf");
    lstConProf = new QListWidget(central);
    lstConProf->setObjectName("lstConProf");
    cmdDial = new QPushButton("Dial", central);
    cmdDial->setObjectName("cmdDial");
    cmdDial->setEnabled(false);
    cmdDisc = new QPushButton("Disconnect", central);
    cmdDisc->setObjectName("cmdDisc");
    cmdDisc->setEnabled(false);
    lblStatus = new QLabel("Status", central);
    lblStatus->setObjectName("lblStatus");

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdDial);
    buttons->addWidget(cmdDisc);
    buttons->addStretch();
    grid->addWidget(lblConProf, 0, 0);
    grid->addWidget(lstConProf, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lblStatus, 2, 0, 1, 2);
    setCentralWidget(central);
    resize(360, 300);
}

void frmMain::BuildMenus() {
    mnuMFile = menuBar()->addMenu("&File");
    mnuMFile->setObjectName("mnuMFile");
    mnuExit = mnuMFile->addAction("&Exit");
    mnuExit->setObjectName("mnuExit");
    mnuExit->setShortcut(QKeySequence("Ctrl+Q"));
    connect(mnuExit, &QAction::triggered, this, [this] {
        if (onExit) {
            onExit();
        }
    });

    mnuMHelp = menuBar()->addMenu("&Help");
    mnuMHelp->setObjectName("mnuMHelp");
    mnuReadme = mnuMHelp->addAction("&Help...");
    mnuReadme->setObjectName("mnuReadme");
    connect(mnuReadme, &QAction::triggered, this, [this] { ShowHelp(app_, this, ""); });
    mnuMHelp->addSeparator();
    mnuAbout = mnuMHelp->addAction("&About...");
    mnuAbout->setObjectName("mnuAbout");
    mnuAbout->setShortcut(QKeySequence(Qt::Key_F12));
    connect(mnuAbout, &QAction::triggered, this, [this] { ShowAbout(app_, this); });
}

void frmMain::TranslateForm() {
    TranslateCaption(app_, mnuMFile->menuAction(), "file");
    TranslateCaption(app_, mnuExit, "exit");
    TranslateCaption(app_, mnuMHelp->menuAction(), "help");
    TranslateCaption(app_, mnuReadme, "readme");
    TranslateCaption(app_, mnuAbout, "about");
    TranslateCaption(app_, lblConProf, "conprof");
    TranslateCaption(app_, cmdDial, "dial");
    TranslateCaption(app_, cmdDisc, "disconnect");
    TranslateCaption(app_, lblStatus, "status");
}

void frmMain::LoadWindow() {
    const double left = IniReadNumber("Settings", "Windowx");
    const double top = IniReadNumber("Settings", "Windowy");
    if (left < 1) {
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    } else {
        move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
    }
    if (app_.platform.tray.IsAvailable()) {
        app_.platform.tray.Add(kTrayIconId, OfflineIcon(), "Kestrelon 2000");
        trayIconAdded_ = true;
    }
    app_.platform.tray.SetMouseHandler([this](int id, TrayMouse mouse) {
        if (id == kTrayIconId && mouse == TrayMouse::LeftDoubleClick) {
            ShowFromTray();
        }
    });
    TranslateForm();
    KeepInWorkArea(this);
    InstallKeepInWorkArea(this);
}

double frmMain::LeftTwips() const {
    return pos().x() * kTwipsPerPixel;
}

double frmMain::TopTwips() const {
    return pos().y() * kTwipsPerPixel;
}

void frmMain::ShowFromTray() {
    showNormal();
    ForceForeground(this);
}

void frmMain::RemoveTrayIcon() {
    if (trayIconAdded_) {
        app_.platform.tray.Delete(kTrayIconId);
        trayIconAdded_ = false;
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    // The program lives on in the notification area; without one, the task bar keeps it.
    event->ignore();
    if (app_.platform.tray.IsAvailable() && trayIconAdded_) {
        hide();
    } else {
        showMinimized();
    }
}

}  // namespace kestrelon
