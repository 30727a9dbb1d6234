#include "profiles/frmConProf.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "core/Scramble.h"
#include "dialer/RasFunc.h"
#include "dialogs/frmCallback.h"
#include "dialogs/frmTextFilter.h"
#include "mainwindow/TrayCounter.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfRules.h"
#include "profiles/PhoneBookEntries.h"

namespace kestrelon {

namespace {

constexpr int kCell = 20;  // one colour of the palette picture, in pixels
const char* const kHelpTopics[] = {"cpaccount", "cpdialing", "cptrayicon", "cpprograms",
                                   "cpcharges"};

QLabel* Label(QWidget* parent, const char* name, const char* caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QColor Colour(int n) {
    const std::uint32_t rgb = PaletteColour(n);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QPixmap PalettePicture() {
    QPixmap picture(8 * kCell, 2 * kCell);
    QPainter painter(&picture);
    for (int n = 0; n < 16; ++n) {
        painter.fillRect((n % 8) * kCell, (n / 8) * kCell, kCell, kCell, Colour(n));
    }
    return picture;
}

}  // namespace

frmConProf::frmConProf(AppCore& app, RasFunc& ras, const ConnectionProfile& profile,
                       ConProfServices services, QWidget* parent)
    : QDialog(parent), app_(app), ras_(ras), services_(std::move(services)), edit_(profile) {
    setObjectName("frmConProf");
    setWindowTitle("Connection Profile");
    if (services_.phoneBookPath.empty()) {
        services_.phoneBookPath = DefaultPhoneBookPath();
    }
    BuildControls();
    ConnectFields();

    // Loading: frame 1, the lists, the global program list, the captions.
    TabStrip1->setCurrentIndex(0);
    FillEntryLists();
    {
        const QSignalBlocker quiet(cmbBackupCon);
        cmbBackupCon->addItem(ToQt(app_.LangText("none", "None")));
        for (int i = 1; i <= app_.profiles.nProfs; ++i) {
            cmbBackupCon->addItem(ToQt(app_.profiles.ConProf[static_cast<std::size_t>(i)].Name));
        }
        cmbBackupCon->setCurrentIndex(-1);
    }
    chkGlobal->setChecked(app_.settings.GlobalLaunchApps);
    if (app_.settings.GlobalLaunchApps) {
        edit_.nLaunchApps = app_.profiles.ConProf[0].nLaunchApps;
        edit_.LaunchApps = app_.profiles.ConProf[0].LaunchApps;
    }
    FillCharges();
    EnableProgramBoxes(false);
    ChargeChosen(-1);
    cmbCon2->setEnabled(false);
    cmdConEdit[2]->setEnabled(false);
    EnableTrayBoxes(0);
    Translate();
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->selectAll();
    }

    frmCallback* menu = services_.entryMenu;
    if (menu == nullptr) {
        ownMenu_ = new frmCallback(app_, this);
        ownMenu_->hide();
        menu = ownMenu_;
    }
    menu->onAdd = [this] { NewEntry(); };
    menu->onEdit = [this] { EditEntry(); };
    menu->onRename = [this] { RenameEntry(); };
    menu->onDelete = [this] { DeleteEntry(); };

    InstallHelpKey(app_, this, [this] { return std::string(kHelpTopics[CurrentTab() - 1]); });
    InstallKeepInWorkArea(this);
}

frmConProf::~frmConProf() {
    // The shared menu outlives the editor: its items must not reach a dead window.
    if (frmCallback* menu = services_.entryMenu) {
        menu->onAdd = nullptr;
        menu->onEdit = nullptr;
        menu->onRename = nullptr;
        menu->onDelete = nullptr;
    }
}

int frmConProf::CurrentTab() const {
    return TabStrip1->currentIndex() + 1;
}

void frmConProf::BuildControls() {
    filter_ = new TextFilter(this);
    TabStrip1 = Named(new QTabWidget(this), "TabStrip1");
    // Every tab caption shows whole: the dialog grows instead of scrolling the tabs.
    TabStrip1->setUsesScrollButtons(false);
    TabStrip1->setElideMode(Qt::ElideNone);
    frmTab[1] = BuildAccountTab();
    frmTab[2] = BuildDialingTab();
    frmTab[3] = BuildTrayTab();
    frmTab[4] = BuildProgramsTab();
    frmTab[5] = BuildChargesTab();
    const char* const tabs[] = {"Account", "Dialing", "Tray Icon", "Launch Programs",
                                "Phonecharges"};
    for (int i = 1; i <= kTabs; ++i) {
        frmTab[i]->setObjectName(QStringLiteral("frmTab%1").arg(i));
        TabStrip1->addTab(frmTab[i], tabs[i - 1]);
    }

    cmdOk = Named(new QPushButton("Ok", this), "cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = Named(new QPushButton("Cancel", this), "cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    layout->addLayout(buttons);

    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        filter_->Watch(box);
    }
    filter_->Allow(txtCancCall, kDigits);
    filter_->Allow(txtMaxDials, kDigits);
    filter_->Allow(txtWarning, kDigits);
    filter_->Allow(txtCountDown, kDigits + ":");
    filter_->Allow(txtIgnErr, kDigits + " ");
    // A stored password is never shown: the box holds asterisks until the first key empties it.
    filter_->BeforeKey(txtPass, [this] {
        if (txtPass->text().contains('*')) {
            txtPass->clear();
        }
    });
}

QWidget* frmConProf::BuildAccountTab() {
    auto* tab = new QWidget;
    lblProfname = Label(tab, "lblProfname", "Profile name:");
    txtName = Named(new QLineEdit(tab), "txtName");
    txtName->setMaxLength(255);
    lblCon = Label(tab, "lblCon", "Connection:");
    cmbCon1 = Named(new QComboBox(tab), "cmbCon1");
    chkCon2 = Named(new QCheckBox("Secundairy Connection:", tab), "chkCon2");
    cmbCon2 = Named(new QComboBox(tab), "cmbCon2");
    for (int line = 1; line <= 2; ++line) {
        cmdConEdit[line] = new QPushButton("...", tab);
        cmdConEdit[line]->setObjectName(QStringLiteral("cmdConEdit%1").arg(line));
        cmdConEdit[line]->setFixedWidth(cmdConEdit[line]->fontMetrics().horizontalAdvance("...") +
                                        24);
    }
    lblUser = Label(tab, "lblUser", "Username:");
    txtUName = Named(new QLineEdit(tab), "txtUName");
    txtUName->setMaxLength(255);
    lblPass = Label(tab, "lblPass", "Password:");
    txtPass = Named(new QLineEdit(tab), "txtPass");
    txtPass->setMaxLength(255);
    txtPass->setEchoMode(QLineEdit::Password);
    lblBackupCon = Label(tab, "lblBackupCon", "Dial this connection if dialing fails:");
    cmbBackupCon = Named(new QComboBox(tab), "cmbBackupCon");

    auto* grid = new QGridLayout(tab);
    grid->addWidget(lblProfname, 0, 0);
    grid->addWidget(txtName, 0, 1, 1, 2);
    grid->addWidget(lblCon, 1, 0);
    grid->addWidget(cmbCon1, 1, 1);
    grid->addWidget(cmdConEdit[1], 1, 2);
    grid->addWidget(chkCon2, 2, 0);
    grid->addWidget(cmbCon2, 2, 1);
    grid->addWidget(cmdConEdit[2], 2, 2);
    grid->addWidget(lblUser, 3, 0);
    grid->addWidget(txtUName, 3, 1, 1, 2);
    grid->addWidget(lblPass, 4, 0);
    grid->addWidget(txtPass, 4, 1, 1, 2);
    grid->addWidget(lblBackupCon, 5, 0, 1, 3);
    grid->addWidget(cmbBackupCon, 6, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    return tab;
}

QWidget* frmConProf::BuildDialingTab() {
    auto* tab = new QWidget;
    chkReconnect = Named(new QCheckBox("Automatic reconnect", tab), "chkReconnect");
    chkIgnFErr = Named(new QCheckBox("Ignore all dialerrors", tab), "chkIgnFErr");
    lblIgnErr = Label(tab, "lblIgnErr", "Ignore these errors:");
    txtIgnErr = Named(new QLineEdit(tab), "txtIgnErr");
    txtIgnErr->setMaxLength(255);
    lblCancCall = Label(tab, "lblCancCall", "Seconds after wich to cancel the call:");
    txtCancCall = Named(new QLineEdit(tab), "txtCancCall");
    chkKeepAlive = Named(new QCheckBox("Keep Connection Alive", tab), "chkKeepAlive");
    lblMaxDials = Label(tab, "lblMaxDials", "Maximum number of dials:");
    txtMaxDials = Named(new QLineEdit(tab), "txtMaxDials");
    const int numberWidth = txtCancCall->fontMetrics().horizontalAdvance("0000000") + 16;
    txtCancCall->setFixedWidth(numberWidth);
    txtMaxDials->setFixedWidth(numberWidth);

    auto* grid = new QGridLayout(tab);
    grid->addWidget(chkReconnect, 0, 0, 1, 2);
    grid->addWidget(chkIgnFErr, 1, 0, 1, 2);
    grid->addWidget(lblIgnErr, 2, 0);
    grid->addWidget(txtIgnErr, 2, 1);
    grid->addWidget(lblCancCall, 3, 0);
    grid->addWidget(txtCancCall, 3, 1, Qt::AlignLeft);
    grid->addWidget(lblMaxDials, 4, 0);
    grid->addWidget(txtMaxDials, 4, 1, Qt::AlignLeft);
    grid->addWidget(chkKeepAlive, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);
    return tab;
}

QWidget* frmConProf::BuildTrayTab() {
    auto* tab = new QWidget;
    grpTrayTimer = new QButtonGroup(tab);
    grpTrayTimer->setObjectName("grpTrayTimer");
    const char* const captions[] = {"No Status Icon", "Charges Counter", "Online Time Counter"};
    for (int i = 0; i < 3; ++i) {
        optTrayTimer[i] = new QRadioButton(captions[i], tab);
        optTrayTimer[i]->setObjectName(QStringLiteral("optTrayTimer%1").arg(i));
        grpTrayTimer->addButton(optTrayTimer[i], i);
    }
    lblCountdown = Label(tab, "lblCountdown", "Countdown from this time:");
    txtCountDown = Named(new QLineEdit(tab), "txtCountDown");
    lblWarning = Label(tab, "lblWarning", "Warningtime:         (minutes)");
    txtWarning = Named(new QLineEdit(tab), "txtWarning");
    const int numberWidth = txtWarning->fontMetrics().horizontalAdvance("000000000") + 16;
    txtCountDown->setFixedWidth(numberWidth);
    txtWarning->setFixedWidth(numberWidth);
    lblColor = Label(tab, "lblColor", "Color:");
    pctClr = Named(new QLabel(tab), "pctClr");
    pctClr->setPixmap(PalettePicture());
    pctClr->setFixedSize(8 * kCell, 2 * kCell);
    pctClr->setCursor(Qt::PointingHandCursor);
    pctClr->installEventFilter(this);
    pctClrEx = Named(new QLabel(tab), "pctClrEx");
    pctClrEx->setFixedSize(2 * kCell, 2 * kCell);
    pctClrEx->setFrameShape(QFrame::Box);

    auto* grid = new QGridLayout(tab);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(optTrayTimer[i], i, 0, 1, 3);
    }
    grid->addWidget(lblCountdown, 3, 0);
    grid->addWidget(txtCountDown, 3, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(lblWarning, 4, 0);
    grid->addWidget(txtWarning, 4, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(lblColor, 5, 0);
    grid->addWidget(pctClr, 5, 1);
    grid->addWidget(pctClrEx, 5, 2, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);
    return tab;
}

QWidget* frmConProf::BuildProgramsTab() {
    auto* tab = new QWidget;
    lblProgLaunch = Label(tab, "lblProgLaunch", "Programs to start on Connection:");
    lstPrograms = Named(new QListWidget(tab), "lstPrograms");
    cmdInsert = Named(new QPushButton("Insert", tab), "cmdInsert");
    cmdDelete = Named(new QPushButton("Delete", tab), "cmdDelete");
    lblCommandLine = Label(tab, "lblCommandLine", "Command Line:");
    txtPath = Named(new QLineEdit(tab), "txtPath");
    txtPath->setMaxLength(1000);
    cmdBrowse = Named(new QPushButton("...", tab), "cmdBrowse");
    cmdBrowse->setFixedWidth(cmdBrowse->fontMetrics().horizontalAdvance("...") + 24);
    chkExitProgram = Named(new QCheckBox("Exit program on disconnect", tab), "chkExitProgram");
    chkGlobal = Named(new QCheckBox("Global Settings", tab), "chkGlobal");

    auto* side = new QVBoxLayout;
    side->addWidget(cmdInsert);
    side->addWidget(cmdDelete);
    side->addStretch();
    auto* path = new QHBoxLayout;
    path->addWidget(txtPath);
    path->addWidget(cmdBrowse);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(lblProgLaunch, 0, 0, 1, 2);
    grid->addWidget(lstPrograms, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addWidget(lblCommandLine, 2, 0, 1, 2);
    grid->addLayout(path, 3, 0, 1, 2);
    grid->addWidget(chkExitProgram, 4, 0, 1, 2);
    grid->addWidget(chkGlobal, 5, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    return tab;
}

QWidget* frmConProf::BuildChargesTab() {
    auto* tab = new QWidget;
    lblCostProfile = Label(tab, "lblCostProfile", "Select phonecharges profile:");
    lstCharges = Named(new QListWidget(tab), "lstCharges");
    cmdCPAdd = Named(new QPushButton("Add...", tab), "cmdCPAdd");
    cmdCPEdit = Named(new QPushButton("Edit...", tab), "cmdCPEdit");
    cmdCPDelete = Named(new QPushButton("Delete", tab), "cmdCPDelete");
    auto* side = new QVBoxLayout;
    side->addWidget(cmdCPAdd);
    side->addWidget(cmdCPEdit);
    side->addWidget(cmdCPDelete);
    side->addStretch();
    auto* grid = new QGridLayout(tab);
    grid->addWidget(lblCostProfile, 0, 0, 1, 2);
    grid->addWidget(lstCharges, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    return tab;
}

void frmConProf::ConnectFields() {
    connect(txtName, &QLineEdit::textChanged, this,
            [this](const QString& text) { edit_.Name = FromQt(text); });
    connect(txtUName, &QLineEdit::textChanged, this,
            [this](const QString& text) { edit_.UName = FromQt(text); });
    connect(txtIgnErr, &QLineEdit::textChanged, this,
            [this](const QString& text) { edit_.IgnErr = FromQt(text); });
    connect(txtPass, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.startsWith('*')) {
            edit_.Pass = ScramblePassword(FromQt(text));
        }
    });
    connect(cmbCon1, &QComboBox::currentIndexChanged, this, &frmConProf::Con1Chosen);
    connect(cmbCon2, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            edit_.Con2 = FromQt(cmbCon2->itemText(index));
        }
    });
    connect(chkCon2, &QCheckBox::toggled, this, [this](bool on) {
        cmbCon2->setEnabled(on);
        cmdConEdit[2]->setEnabled(on);
        // What the list shows is what will be dialled.
        edit_.Con2 = on && cmbCon2->currentIndex() >= 0 ? FromQt(cmbCon2->currentText()) : "";
    });
    connect(chkReconnect, &QCheckBox::toggled, this, [this](bool on) { edit_.Reconnect = on; });
    connect(chkIgnFErr, &QCheckBox::toggled, this, [this](bool on) { edit_.IgnFErr = on; });
    connect(chkKeepAlive, &QCheckBox::toggled, this, [this](bool on) { edit_.KeepAlive = on; });
    connect(cmbBackupCon, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            edit_.BackupCon = index;
        }
    });
    // Over-large numbers are ignored: the field keeps what it had.
    connect(txtCancCall, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int value = LeadingDigitsValue(FromQt(text));
        if (value < 16000) {
            edit_.CancCall = value;
        }
    });
    connect(txtMaxDials, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int value = LeadingDigitsValue(FromQt(text));
        if (value < 30000) {
            edit_.MaxDials = value;
        }
    });
    connect(txtWarning, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() < 9) {
            edit_.Warning = LeadingDigitsValue(FromQt(text));
        }
    });
    connect(txtCountDown, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto seconds = CountDownSeconds(FromQt(text))) {
            edit_.CountDown = *seconds;
        }
    });
    for (int i = 0; i < 3; ++i) {
        connect(optTrayTimer[static_cast<std::size_t>(i)], &QRadioButton::toggled, this,
                [this, i](bool on) {
                    if (on) {
                        TrayTimerChosen(i);
                    }
                });
    }
    connect(lstPrograms, &QListWidget::currentRowChanged, this, &frmConProf::ProgramChosen);
    connect(txtPath, &QLineEdit::textChanged, this, [this](const QString& text) {
        const int k = SelectedProgram();
        if (k < 1) {
            return;
        }
        edit_.LaunchApps[static_cast<std::size_t>(k)].LaunchAppCL = FromQt(text);
        lstPrograms->item(k - 1)->setText(ToQt(ProgramListLine(FromQt(text))));
    });
    connect(chkExitProgram, &QCheckBox::toggled, this, [this](bool on) {
        if (const int k = SelectedProgram(); k >= 1) {
            edit_.LaunchApps[static_cast<std::size_t>(k)].LaunchAppClose = on;
        }
    });
    connect(cmdInsert, &QPushButton::clicked, this, &frmConProf::InsertProgram);
    connect(cmdDelete, &QPushButton::clicked, this, &frmConProf::DeleteProgram);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmConProf::BrowseProgram);
    connect(lstCharges, &QListWidget::currentRowChanged, this, &frmConProf::ChargeChosen);
    connect(cmdCPAdd, &QPushButton::clicked, this, &frmConProf::AddCharge);
    connect(cmdCPEdit, &QPushButton::clicked, this, &frmConProf::EditCharge);
    connect(cmdCPDelete, &QPushButton::clicked, this, &frmConProf::DeleteCharge);
    connect(cmdConEdit[1], &QPushButton::clicked, this, [this] { EntryButton(1); });
    connect(cmdConEdit[2], &QPushButton::clicked, this, [this] { EntryButton(2); });
    connect(cmdOk, &QPushButton::clicked, this, &frmConProf::OkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmConProf::Translate() {
    TranslateWindowTitle(app_, this, "conprofilecapt");
    const char* const tabKeys[] = {"account", "dialing", "trayicon", "launchprograms",
                                   "phonecharges"};
    for (int i = 0; i < kTabs; ++i) {
        TabStrip1->setTabText(i, ToQt(app_.LangText(tabKeys[i], FromQt(TabStrip1->tabText(i)))));
    }
    TranslateCaption(app_, lblProfname, "profname");
    TranslateCaption(app_, lblCon, "connection");
    TranslateCaption(app_, chkCon2, "secconnection");
    TranslateCaption(app_, lblUser, "username");
    TranslateCaption(app_, lblPass, "password");
    TranslateCaption(app_, lblBackupCon, "faildialcon");
    TranslateCaption(app_, chkReconnect, "autoreconnect");
    TranslateCaption(app_, chkIgnFErr, "ignoredialerrors");
    TranslateCaption(app_, lblIgnErr, "ignoreerrors");
    TranslateCaption(app_, lblCancCall, "canccall");
    TranslateCaption(app_, chkKeepAlive, "keepalive");
    TranslateCaption(app_, lblMaxDials, "maxdials");
    TranslateCaption(app_, optTrayTimer[0], "nostatusicon");
    TranslateCaption(app_, optTrayTimer[1], "chargescounter");
    TranslateCaption(app_, optTrayTimer[2], "onlinetimecounter");
    TranslateCaption(app_, lblCountdown, "countdown");
    TranslateCaption(app_, lblWarning, "warningsound");
    TranslateCaption(app_, lblColor, "color");
    TranslateCaption(app_, lblProgLaunch, "programstostart");
    TranslateCaption(app_, cmdInsert, "insert");
    TranslateCaption(app_, cmdDelete, "delete");
    TranslateCaption(app_, lblCommandLine, "commandline");
    TranslateCaption(app_, chkExitProgram, "exitondisconnect");
    TranslateCaption(app_, chkGlobal, "globalsettings");
    TranslateCaption(app_, lblCostProfile, "selectchargesprofile");
    TranslateCaption(app_, cmdCPAdd, "CPadd");
    TranslateCaption(app_, cmdCPEdit, "cpedit");
    TranslateCaption(app_, cmdCPDelete, "delete");
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");
}

void frmConProf::SetData() {
    txtName->setText(ToQt(edit_.Name));
    txtUName->setText(ToQt(edit_.UName));
    txtPass->setText(QString(static_cast<qsizetype>(ToQt(edit_.Pass).toUcs4().size()), '*'));
    SelectEntry(cmbCon1, edit_.Con1, false);
    SelectEntry(cmbCon2, edit_.Con2, false);
    chkCon2->setChecked(!edit_.Con2.empty());
    chkReconnect->setChecked(edit_.Reconnect);
    chkIgnFErr->setChecked(edit_.IgnFErr);
    chkKeepAlive->setChecked(edit_.KeepAlive);
    txtIgnErr->setText(ToQt(edit_.IgnErr));
    // A value the buttons cannot show (a hand-edited file) counts as no status icon.
    const int tray = edit_.TrayTimer >= 0 && edit_.TrayTimer <= 2 ? edit_.TrayTimer : 0;
    optTrayTimer[static_cast<std::size_t>(tray)]->setChecked(true);
    TrayTimerChosen(tray);
    txtCountDown->setText(ToQt(CountDownText(edit_.CountDown)));
    if (edit_.TrayColor > 15 || edit_.TrayColor < 0) {
        edit_.TrayColor = 0;
    }
    ShowColour();
    txtWarning->setText(QString::number(edit_.Warning));
    txtCancCall->setText(QString::number(edit_.CancCall));
    txtMaxDials->setText(QString::number(edit_.MaxDials));
    cmbBackupCon->setCurrentIndex(
        edit_.BackupCon >= 0 && edit_.BackupCon < cmbBackupCon->count() ? edit_.BackupCon : -1);
    int charge = 0;
    for (int row = 0; row < lstCharges->count(); ++row) {
        if (FromQt(lstCharges->item(row)->text()) == edit_.ChargeProfile) {
            charge = row;
            break;
        }
    }
    lstCharges->setCurrentRow(charge);
    ChargeChosen(charge);
    FillPrograms();
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->selectAll();
    }
}

bool frmConProf::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pctClr && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint at = mouse->position().toPoint();
            ColourClicked(at.x(), at.y());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmConProf::TrayTimerChosen(int index) {
    edit_.TrayTimer = index;
    EnableTrayBoxes(index);
}

void frmConProf::EnableTrayBoxes(int index) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblCountdown, txtCountDown, lblWarning, txtWarning}) {
        w->setEnabled(index == 2);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{lblColor, pctClr, pctClrEx}) {
        w->setEnabled(index != 0);
    }
}

void frmConProf::ShowColour() {
    QPixmap sample(pctClrEx->size());
    sample.fill(Colour(edit_.TrayColor));
    pctClrEx->setPixmap(sample);
}

void frmConProf::ColourClicked(int x, int y) {
    if (edit_.TrayTimer < 1) {
        return;
    }
    edit_.TrayColor = PaletteColourAt(x, y, pctClr->width(), pctClr->height());
    ShowColour();
}

}  // namespace kestrelon
