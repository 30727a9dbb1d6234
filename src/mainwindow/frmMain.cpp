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
#include "dialer/DialSessionController.h"
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
    lblStatusText = new QLabel(central);
    lblStatusText->setObjectName("lblStatusText");
    lblStatusText->setTextFormat(Qt::PlainText);
    lblStatusText->setMinimumHeight(64);
    lblStatusText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatusText->setFrameShape(QFrame::StyledPanel);

    connect(lstConProf, &QListWidget::currentRowChanged, this, [this] { ConProfClicked(); });
    connect(lstConProf, &QListWidget::itemDoubleClicked, this, [this] { DialSelected(); });
    connect(cmdDial, &QPushButton::clicked, this, [this] { DialSelected(); });
    connect(cmdDisc, &QPushButton::clicked, this, [this] {
        if (dialer_ != nullptr) {
            dialer_->Disconnect();
        }
    });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdDial);
    buttons->addWidget(cmdDisc);
    buttons->addStretch();
    grid->addWidget(lblConProf, 0, 0);
    grid->addWidget(lstConProf, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lblStatus, 2, 0, 1, 2);
    grid->addWidget(lblStatusText, 3, 0, 1, 2);
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
    UpdateConProfs();
    SelectStartProfile();
    TranslateForm();
    KeepInWorkArea(this);
    InstallKeepInWorkArea(this);
}

void frmMain::AttachDialer(DialSessionController& dialer) {
    dialer_ = &dialer;
    DialSessionHooks& hooks = dialer.Hooks();
    hooks.setDisconnectEnabled = [this](bool enabled) { cmdDisc->setEnabled(enabled); };
    hooks.paintStatus = [this] { ShowStatus(); };
}

void frmMain::UpdateConProfs() {
    const QSignalBlocker quiet(lstConProf);
    lstConProf->clear();
    const int count = app_.profiles.nProfs;
    for (int i = 1; i <= count; ++i) {
        lstConProf->addItem(ToQt(app_.profiles.ConProf[static_cast<std::size_t>(i)].Name));
    }
    lstConProf->setCurrentRow(app_.SelProfile > count ? count - 1 : app_.SelProfile - 1);
    ConProfClicked();
}

void frmMain::ConProfClicked() {
    app_.SelProfile = lstConProf->currentRow() + 1;
    cmdDial->setEnabled(app_.SelProfile >= 1);
}

void frmMain::SelectStartProfile() {
    const int count = lstConProf->count();
    if (count < 1) {
        return;
    }
    int profile = app_.settings.StartCon;
    if (profile == 0) {
        profile = static_cast<int>(IniReadNumber("Settings", "LastCon"));
    } else if (profile == -1) {
        // The profile the Connection Manager's schedule has selected; none until it runs.
        profile = 0;
    }
    // A start profile beyond the list selects nothing rather than a stranger.
    if (profile >= 1 && profile <= count) {
        lstConProf->setCurrentRow(profile - 1);
    }
}

void frmMain::DialSelected() {
    if (dialer_ != nullptr && app_.SelProfile >= 1) {
        dialer_->StartDial(true, 0, false);
    }
}

void frmMain::ShowStatus() {
    if (dialer_ == nullptr) {
        return;
    }
    const DialSession& s = dialer_->Session();
    static constexpr struct {
        const char* key;
        const char* english;
    } kTitles[] = {{"", ""},
                   {"stdialing", "DIALING"},
                   {"stauthorising", "AUTHORISING"},
                   {"stconnerror", "CONNECTION ERROR"},
                   {"staborted", "ABORTED"},
                   {"stconnected", "CONNECTED"},
                   {"stdisconnected", "DISCONNECTED"}};
    if (s.StatusState < kStatusDialing || s.StatusState > kStatusDisconnected) {
        lblStatusText->setText(ToQt(app_.LangText("welc2", "Welcome to Kestrelon 2000")));
        return;
    }
    const auto& title = kTitles[s.StatusState];
    const ConnectionProfile* profile = app_.profiles.Find(s.CurProfile);
    std::string text = app_.LangText(title.key, title.english) + "\n" +
                       app_.LangText("stconnection", "Connection ") +
                       (profile != nullptr ? profile->Name : std::string()) + "\n";
    if (s.StatusState <= kStatusAborted) {
        text += app_.LangText("stdials", "Dials ") + std::to_string(s.DialCount) + "\n";
    }
    text += app_.LangText("sttime", "Time ") + FormatDuration(s.OnlineSeconds);
    if (s.StatusState >= kStatusConnected) {
        text += "\n" + app_.LangText("ipaddress", "IP Address ") + s.IpAddress;
    }
    lblStatusText->setText(ToQt(text));
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
