#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "core/INIio.h"
#include "dialer/DialSessionController.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmLastError.h"
#include "dialogs/frmLog.h"
#include "dialogs/frmMsgBox.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfMod.h"

namespace kestrelon {

namespace {

constexpr double kTwipsPerPixel = 15.0;

Currency ParseCharges(const std::string& text, const RegionalFormat& format) {
    return ParseCurrency(text, format).value_or(Currency{});
}

}  // namespace

frmMain::frmMain(AppCore& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      tray_(app.platform.tray),
      trayChoice_({tray_, kTrayIconId, OfflineIcon(), OnlineIcon(),
                   [&app] { app.PlaySoundEvent(kSoundDisconnectionWarning); },
                   [format = RegionalFormat::FromCurrentLocale()](const std::string& text) {
                       return ParseCharges(text, format);
                   },
                   RegionalFormat::FromCurrentLocale().currencyDigits}) {
    setObjectName("frmMain");
    setWindowTitle("Kestrelon 2000");
    setWindowIcon(QPixmap::fromImage(ToQImage(OfflineIcon())));
    BuildControls();
    BuildMenus();
    BuildTrayMenu();
    InstallHelpKey(app_, this, std::string("krmain"));
}

frmMain::~frmMain() {
    RemoveTrayIcon();
    delete logView_.data();
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
    pctStatDisp = new QLabel(central);
    pctStatDisp->setObjectName("pctStatDisp");
    pctStatDisp->setFixedSize(kPanelWidth, kPanelHeight);
    pctStatDisp->setFrameShape(QFrame::NoFrame);
    pctStatus_ = QImage(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    pctStatus_.fill(Qt::white);

    tmrShowErr = new QTimer(this);
    tmrShowErr->setObjectName("tmrShowErr");
    tmrShowErr->setSingleShot(true);
    tmrShowErr->setInterval(1);
    connect(tmrShowErr, &QTimer::timeout, this, [this] {
        tmrShowErr->stop();
        ShowLastError();
    });

    connect(lstConProf, &QListWidget::currentRowChanged, this, [this] { ConProfClicked(); });
    connect(lstConProf, &QListWidget::itemDoubleClicked, this, [this] { DialSelected(); });
    connect(cmdDial, &QPushButton::clicked, this, [this] { DialSelected(); });
    connect(cmdDisc, &QPushButton::clicked, this, [this] { DisconnectClicked(); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdDial);
    buttons->addWidget(cmdDisc);
    buttons->addStretch();
    grid->addWidget(lblConProf, 0, 0);
    grid->addWidget(lstConProf, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(lblStatus, 2, 0, 1, 2);
    grid->addWidget(pctStatDisp, 3, 0, 1, 2, Qt::AlignLeft);
    grid->setRowStretch(1, 1);
    lstConProf->setMinimumHeight(80);
    setCentralWidget(central);
}

void frmMain::BuildMenus() {
    const auto add = [this](QMenu* menu, const char* name, const char* caption,
                            const QKeySequence& shortcut, std::function<void()> handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
        return action;
    };
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        connect(m, &QMenu::aboutToShow, this, [this] { RefreshCommands(); });
        return m;
    };

    mnuMFile = menu("mnuMFile", "&File");
    mnuExit = add(mnuMFile, "mnuExit", "&Exit", QKeySequence("Ctrl+Q"), [this] { Exit(); });

    mnuMEdit = menu("mnuMEdit", "&Edit");
    mnuAddProfile = add(mnuMEdit, "mnuAddProfile", "&Add Connection Profile...",
                        QKeySequence("Ctrl+A"), [this] {
                            if (onAddProfile) {
                                RunModal(onAddProfile);
                            }
                        });
    mnuDelProfile = add(mnuMEdit, "mnuDelProfile", "&Delete Connection Profile",
                        QKeySequence("Ctrl+X"), [this] { DeleteProfileClicked(); });
    mnuCopyProfile = add(mnuMEdit, "mnuCopyProfile", "&Copy Connection Profile",
                         QKeySequence("Ctrl+C"), [this] { CopyProfileClicked(); });
    mnuMEdit->addSeparator()->setObjectName("mnusep4");
    mnuCopyIP = add(mnuMEdit, "mnuCopyIP", "Copy &IP to Clipboard", QKeySequence("Ctrl+I"),
                    [this] { CopyIpClicked(); });

    mnuView = menu("mnuView", "&View");
    mnuProgLog = add(mnuView, "mnuProgLog", "&Program Log...", QKeySequence("Ctrl+P"),
                     [this] { ShowLog(0); });
    mnuDialLog =
        add(mnuView, "mnuDialLog", "&Dial Log...", QKeySequence("Ctrl+D"), [this] { ShowLog(1); });
    mnuErrorLog = add(mnuView, "mnuErrorLog", "&Error Log...", QKeySequence("Ctrl+R"),
                      [this] { ShowLog(2); });
    mnuView->addSeparator()->setObjectName("mnuSep2");
    mnuViewErr = add(mnuView, "mnuViewErr", "&Last Error...", QKeySequence("Ctrl+E"),
                     [this] { ShowLastError(); });
    mnuView->addSeparator()->setObjectName("mnuSep12");
    mnuPhoneCharges =
        add(mnuView, "mnuPhoneCharges", "&Telephone Charges...", QKeySequence("Ctrl+T"), [this] {
            if (onShowChargeGraph) {
                onShowChargeGraph();
            }
        });

    mnuMOptions = menu("mnuMOptions", "&Options");
    mnuOptions =
        add(mnuMOptions, "mnuOptions", "Global &Options...", QKeySequence("Ctrl+O"), [this] {
            if (onShowOptions) {
                RunModal(onShowOptions, true);
            }
        });
    mnuEditProfile = add(mnuMOptions, "mnuEditProfile", "&Connection Profile Options...",
                         QKeySequence("Ctrl+B"), [this] {
                             if (onEditProfile && app_.SelProfile >= 1) {
                                 RunModal(onEditProfile);
                             }
                         });
    mnuManager =
        add(mnuMOptions, "mnuManager", "Connection &Manager...", QKeySequence("Ctrl+M"), [this] {
            if (onShowConMan) {
                RunModal(onShowConMan);
            }
        });
    mnuMOptions->addSeparator()->setObjectName("mnuSep3");
    mnuDisDual = add(mnuMOptions, "mnuDisDual", "Disable DualConnect", QKeySequence("Ctrl+N"),
                     [this] { DisDualClicked(); });
    mnuDisDual->setCheckable(true);

    mnuMHelp = menu("mnuMHelp", "&Help");
    mnuReadme = add(mnuMHelp, "mnuReadme", "&Help...", QKeySequence(),
                    [this] { ShowHelp(app_, this, ""); });
    // F1 itself opens the window's own topic; the menu only shows the key.
    mnuReadme->setShortcut(QKeySequence(Qt::Key_F1));
    mnuReadme->setShortcutContext(Qt::WidgetShortcut);
    mnuMHelp->addSeparator()->setObjectName("mnuSep1");
    mnuAbout = add(mnuMHelp, "mnuAbout", "&About...", QKeySequence(Qt::Key_F12),
                   [this] { RunModal([this] { ShowAbout(app_, this); }); });

    for (QAction* action : {mnuDelProfile, mnuCopyProfile, mnuEditProfile}) {
        action->setEnabled(false);
    }
    RefreshCommands();
}

void frmMain::TranslateForm() {
    TranslateCaption(app_, mnuMFile->menuAction(), "file");
    TranslateCaption(app_, mnuExit, "exit");
    TranslateCaption(app_, mnuMEdit->menuAction(), "edit");
    TranslateCaption(app_, mnuAddProfile, "addprof");
    TranslateCaption(app_, mnuDelProfile, "delprof");
    TranslateCaption(app_, mnuCopyProfile, "copyprof");
    TranslateCaption(app_, mnuCopyIP, "copyip");
    TranslateCaption(app_, mnuView->menuAction(), "view");
    TranslateCaption(app_, mnuProgLog, "viewproglog");
    TranslateCaption(app_, mnuDialLog, "viewdiallog");
    TranslateCaption(app_, mnuErrorLog, "viewerrorlog");
    TranslateCaption(app_, mnuViewErr, "viewlasterror");
    TranslateCaption(app_, mnuPhoneCharges, "mnutelephonecharges");
    TranslateCaption(app_, mnuMOptions->menuAction(), "options");
    TranslateCaption(app_, mnuOptions, "opt2");
    TranslateCaption(app_, mnuEditProfile, "editprof");
    TranslateCaption(app_, mnuManager, "conman");
    TranslateCaption(app_, mnuDisDual, "disdual");
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
    adjustSize();
    if (left < 1) {
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    } else {
        move(static_cast<int>(left / kTwipsPerPixel), static_cast<int>(top / kTwipsPerPixel));
    }
    trayIconAdded_ = tray_.TrayAdd(kTrayIconId, OfflineIcon(), "Kestrelon 2000");
    app_.platform.tray.SetMouseHandler([this](int id, TrayMouse mouse) {
        if (id == kTrayIconId) {
            TrayMouseEvent(mouse);
        }
    });
    UpdateConProfs();
    SelectStartProfile();
    TranslateForm();
    KeepInWorkArea(this);
    InstallKeepInWorkArea(this);
    {
        const QSignalBlocker quiet(mnuDisDual);
        mnuDisDual->setChecked(app_.settings.DisDual);
    }
    RefreshCommands();
    PaintStatus();
}

void frmMain::AttachDialer(DialSessionController& dialer) {
    dialer_ = &dialer;
    DialSessionHooks& hooks = dialer.Hooks();
    hooks.setDisconnectEnabled = [this](bool enabled) { cmdDisc->setEnabled(enabled); };
    hooks.paintStatus = [this] { PaintStatus(); };
    hooks.updateTray = [this] { UpdateTray(); };
    // The dialog opens after the heartbeat's tick has returned, so the tick is not held up
    // inside the dialog's own event loop.
    hooks.showLastError = [this] { tmrShowErr->start(); };
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
    RefreshCommands();
}

void frmMain::RefreshCommands() {
    const bool selected = app_.SelProfile >= 1;
    cmdDial->setEnabled(selected);
    mnuDelProfile->setEnabled(selected);
    mnuCopyProfile->setEnabled(selected);
    mnuEditProfile->setEnabled(selected && static_cast<bool>(onEditProfile));
    mnuAddProfile->setEnabled(static_cast<bool>(onAddProfile));
    mnuOptions->setEnabled(static_cast<bool>(onShowOptions));
    mnuManager->setEnabled(static_cast<bool>(onShowConMan));
    mnuPhoneCharges->setEnabled(static_cast<bool>(onShowChargeGraph));
    if (mnuDial != nullptr) {
        mnuDial->setEnabled(selected || IsOnlineOrDialing());
        mnuOptionsT->setEnabled(mnuOptions->isEnabled());
        mnuConManT->setEnabled(mnuManager->isEnabled());
        mnuEditT->setEnabled(mnuEditProfile->isEnabled());
        mnuTelKostT->setEnabled(mnuPhoneCharges->isEnabled());
    }
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
        profile = scheduledConnection ? scheduledConnection() : 0;
    }
    // A start profile beyond the list selects nothing rather than a stranger.
    if (profile >= 1 && profile <= count) {
        lstConProf->setCurrentRow(profile - 1);
    }
}

bool frmMain::IsOnlineOrDialing() const {
    return dialer_ != nullptr && (dialer_->Session().Dialing || dialer_->Session().ConnLine > 0);
}

void frmMain::DialSelected() {
    if (dialer_ != nullptr && app_.SelProfile >= 1) {
        dialer_->StartDial(true, 0, false);
    }
}

void frmMain::DisconnectClicked() {
    if (dialer_ != nullptr) {
        dialer_->Disconnect();
    }
}

void frmMain::TrayDialClicked() {
    if (IsOnlineOrDialing()) {
        DisconnectClicked();
    } else {
        DialSelected();
    }
}

void frmMain::Exit() {
    if (onExit) {
        onExit();
    }
}

ProfileReferences frmMain::References() {
    ProfileReferences refs;
    refs.selProfile = &app_.SelProfile;
    refs.settings = &app_.settings;
    refs.tasks = &app_.tasks;
    if (dialer_ != nullptr) {
        refs.sessionProfile = &dialer_->Session().CurProfile;
        refs.hangUpAll = [this] { dialer_->HangUpAll(); };
    }
    return refs;
}

void frmMain::DeleteProfileClicked() {
    const ConnectionProfile* profile = app_.profiles.Find(app_.SelProfile);
    if (profile == nullptr) {
        return;
    }
    std::string unused;
    const int answer = RunModalResult([&] {
        return MsgBoxEx(
            app_,
            app_.LangText("deleteconfirm", "Are you sure you want to delete #", profile->Name),
            app_.LangText("deleteprofile", "Delete Connection Profile"), kMsgBoxQuestion, unused, 0,
            this);
    });
    if (answer != 1 || app_.SelProfile < 1) {
        return;
    }
    ProfileReferences refs = References();
    const int kept = app_.SelProfile;
    DeleteProfile(app_.profiles, refs, kept);
    app_.SelProfile = kept;
    SaveProfiles(app_.profiles, refs);
    UpdateConProfs();
}

void frmMain::CopyProfileClicked() {
    if (app_.SelProfile < 1) {
        return;
    }
    ProfileReferences refs = References();
    CopyConnectionProfile(app_.profiles, refs, app_.LangText("copyof", "Copy of"));
    UpdateConProfs();
}

void frmMain::CopyIpClicked() {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(dialer_ != nullptr ? ToQt(dialer_->Session().IpAddress) : QString());
}

void frmMain::DisDualClicked() {
    // The check follows the setting, whatever state the action was left in.
    const bool disabled = !app_.settings.DisDual;
    const QSignalBlocker quiet(mnuDisDual);
    mnuDisDual->setChecked(disabled);
    app_.settings.DisDual = disabled;
    SaveSettings(app_.settings);
}

void frmMain::RunModal(const std::function<void()>& open, bool isOptions) {
    ++modalDepth_;
    const bool wasOptions = optionsOpen_;
    optionsOpen_ = optionsOpen_ || isOptions;
    open();
    optionsOpen_ = wasOptions;
    --modalDepth_;
}

int frmMain::RunModalResult(const std::function<int()>& open) {
    int result = 0;
    RunModal([&] { result = open(); });
    return result;
}

void frmMain::ShowLastError() {
    const DialSession* session = dialer_ != nullptr ? &dialer_->Session() : nullptr;
    RunModal([this, session] {
        ProfileReferences refs = References();
        frmLastError dialog(app_, session != nullptr ? session->LastErrorCode : 0,
                            session != nullptr ? session->CurProfile : 0, rasErrorText, refs, this);
        dialog.exec();
    });
}

void frmMain::ShowLog(int choice) {
    if (!logView_) {
        logView_ = new frmLogView(app_, this);
        logView_->setAttribute(Qt::WA_DeleteOnClose);
    }
    logView_->SelectLog(choice);
    logView_->show();
    ForceForeground(logView_);
}

frmLogView* frmMain::LogViewer() const {
    return logView_.data();
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
        tray_.TrayDelete(kTrayIconId);
        trayIconAdded_ = false;
    }
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstResizeDone_) {
        // Once per run: the height that shows the list and the whole status panel.
        firstResizeDone_ = true;
        resize(width(), sizeHint().height());
    }
    // Rows are drawn only while the window is visible.
    PaintStatus();
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
