#include "dialogs/frmOptions.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/AppCore.h"
#include "core/IniDocument.h"
#include "core/Language.h"
#include "core/ProgramDirectory.h"
#include "core/Scramble.h"
#include "dialogs/frmMsgBox.h"
#include "dialogs/frmProgramChooser.h"
#include "dialogs/frmSndBrowse.h"
#include "dialogs/frmTextFilter.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfRules.h"

namespace kestrelon {

namespace {

const char* const kHelpTopics[] = {"optmisc", "optlogs", "optsound", "optemail"};
enum SoundState { kSoundDisabled = 0, kSoundDefault = 1, kSoundWave = 2 };

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption) {
    return Named(new QLabel(caption, parent), name);
}

std::string FileNameOnly(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsServerCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::u32string_view(U".-_:/[]").find(c) != std::u32string_view::npos;
}

}  // namespace

frmOptions::frmOptions(AppCore& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    BuildControls();
    ConnectControls();
    Load();
    InstallHelpKey(app_, this, [this] { return std::string(kHelpTopics[CurrentTab() - 1]); });
    InstallKeepInWorkArea(this);
}

int frmOptions::CurrentTab() const {
    return TabStrip->currentIndex() + 1;
}

void frmOptions::BuildControls() {
    filter_ = new TextFilter(this);
    TabStrip = Named(new QTabWidget(this), "TabStrip");
    // Every tab caption shows whole: the dialog grows instead of scrolling the tabs.
    TabStrip->setUsesScrollButtons(false);
    TabStrip->setElideMode(Qt::ElideNone);
    frmTab[1] = BuildGeneralTab();
    frmTab[2] = BuildLogTab();
    frmTab[3] = BuildSoundTab();
    frmTab[4] = BuildMailTab();
    const char* const tabs[] = {"General", "Log Files", "Sounds", "Email"};
    for (int i = 1; i <= kTabs; ++i) {
        frmTab[i]->setObjectName(QStringLiteral("frmTab%1").arg(i));
        TabStrip->addTab(frmTab[i], tabs[i - 1]);
    }
    cmdOk = Named(new QPushButton("Ok", this), "cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = Named(new QPushButton("Cancel", this), "cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip);
    layout->addLayout(buttons);

    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        filter_->Watch(box);
    }
    // Numbers are stored as 32-bit values: nine digits always fit.
    for (QLineEdit* number : {txtDialDelay, txtMaxLogSize, txtInterval}) {
        filter_->Allow(number, kDigits);
        number->setMaxLength(9);
        number->setFixedWidth(number->fontMetrics().horizontalAdvance("0000000000") + 16);
    }
    filter_->Allow(txtServer, std::function<bool(char32_t)>(IsServerCharacter));
    for (QLineEdit* text : {txtProgLog, txtDialLog, txtErrorLog, txtServer, txtUName, txtPWord}) {
        text->setMaxLength(255);
    }
    txtMailProg->setMaxLength(1000);
}

QWidget* frmOptions::BuildGeneralTab() {
    auto* tab = new QWidget;
    chkStartHidden = Named(new QCheckBox("Start Hidden", tab), "chkStartHidden");
    chkStartDial = Named(new QCheckBox("Dial at startup", tab), "chkStartDial");
    lblDialDelay = Label(tab, "lblDialDelay", "Miliseconds between dials:");
    txtDialDelay = Named(new QLineEdit(tab), "txtDialDelay");
    chkDynDelay = Named(new QCheckBox("Dynamic DualConnect dialdelay", tab), "chkDynDelay");
    chkWaitInvalidate =
        Named(new QCheckBox("Wait for handle to invalidate", tab), "chkWaitInvalidate");
    chkHangup = Named(new QCheckBox("Enable Disconnect && Exit menuitem", tab), "chkHangup");
    lblStartCon = Label(tab, "lblStartCon", "Startup Connection:");
    cmbStartCon = Named(new QComboBox(tab), "cmbStartCon");
    lblLang = Label(tab, "lblLang", "Language:");
    cmbLang = Named(new QComboBox(tab), "cmbLang");

    auto* grid = new QGridLayout(tab);
    grid->addWidget(chkStartHidden, 0, 0, 1, 2);
    grid->addWidget(chkStartDial, 1, 0, 1, 2);
    grid->addWidget(lblDialDelay, 2, 0);
    grid->addWidget(txtDialDelay, 2, 1, Qt::AlignLeft);
    grid->addWidget(chkDynDelay, 3, 0, 1, 2);
    grid->addWidget(chkWaitInvalidate, 4, 0, 1, 2);
    grid->addWidget(chkHangup, 5, 0, 1, 2);
    grid->addWidget(lblStartCon, 6, 0);
    grid->addWidget(cmbStartCon, 6, 1);
    grid->addWidget(lblLang, 7, 0);
    grid->addWidget(cmbLang, 7, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(8, 1);
    return tab;
}

QWidget* frmOptions::BuildLogTab() {
    auto* tab = new QWidget;
    chkProgLog = Named(new QCheckBox("Programlog:", tab), "chkProgLog");
    txtProgLog = Named(new QLineEdit(tab), "txtProgLog");
    chkDialLog = Named(new QCheckBox("Diallog:", tab), "chkDialLog");
    txtDialLog = Named(new QLineEdit(tab), "txtDialLog");
    chkErrorLog = Named(new QCheckBox("Errorlog:", tab), "chkErrorLog");
    txtErrorLog = Named(new QLineEdit(tab), "txtErrorLog");
    lblMaxLogSize = Label(tab, "lblMaxLogSize", "Maximum Log Size:");
    txtMaxLogSize = Named(new QLineEdit(tab), "txtMaxLogSize");
    auto* grid = new QGridLayout(tab);
    grid->addWidget(chkProgLog, 0, 0);
    grid->addWidget(txtProgLog, 0, 1);
    grid->addWidget(chkDialLog, 1, 0);
    grid->addWidget(txtDialLog, 1, 1);
    grid->addWidget(chkErrorLog, 2, 0);
    grid->addWidget(txtErrorLog, 2, 1);
    grid->addWidget(lblMaxLogSize, 3, 0);
    grid->addWidget(txtMaxLogSize, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return tab;
}

QWidget* frmOptions::BuildSoundTab() {
    auto* tab = new QWidget;
    lblSounds = Label(tab, "lblSounds", "Sound events:");
    lstSounds = Named(new QListWidget(tab), "lstSounds");
    grpSound = new QButtonGroup(tab);
    optDisabled = Named(new QRadioButton("Disabled", tab), "optDisabled");
    optDefault = Named(new QRadioButton("Default Sound", tab), "optDefault");
    optCustWav = Named(new QRadioButton("Wave File:", tab), "optCustWav");
    grpSound->addButton(optDisabled, kSoundDisabled);
    grpSound->addButton(optDefault, kSoundDefault);
    grpSound->addButton(optCustWav, kSoundWave);
    txtFname = Named(new QLineEdit(tab), "txtFname");
    txtFname->setReadOnly(true);
    cmdSndBrowse = Named(new QPushButton("...", tab), "cmdSndBrowse");
    cmdSndBrowse->setFixedWidth(cmdSndBrowse->fontMetrics().horizontalAdvance("...") + 24);
    cmdSndPlay = Named(new QPushButton("Play", tab), "cmdSndPlay");

    auto* file = new QHBoxLayout;
    file->addWidget(txtFname);
    file->addWidget(cmdSndBrowse);
    auto* side = new QVBoxLayout;
    side->addWidget(optDisabled);
    side->addWidget(optDefault);
    side->addWidget(optCustWav);
    side->addLayout(file);
    side->addWidget(cmdSndPlay, 0, Qt::AlignLeft);
    side->addStretch();
    auto* grid = new QGridLayout(tab);
    grid->addWidget(lblSounds, 0, 0);
    grid->addWidget(lstSounds, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return tab;
}

QWidget* frmOptions::BuildMailTab() {
    auto* tab = new QWidget;
    lblServers = Label(tab, "lblServers", "Servers to check for new email:");
    lstServers = Named(new QListWidget(tab), "lstServers");
    cmdInsert = Named(new QPushButton("Insert", tab), "cmdInsert");
    cmdDelete = Named(new QPushButton("Delete", tab), "cmdDelete");
    lblServer = Label(tab, "lblServer", "Server:");
    txtServer = Named(new QLineEdit(tab), "txtServer");
    lblUName = Label(tab, "lblUName", "Username:");
    txtUName = Named(new QLineEdit(tab), "txtUName");
    lblPWord = Label(tab, "lblPWord", "Password:");
    txtPWord = Named(new QLineEdit(tab), "txtPWord");
    txtPWord->setEchoMode(QLineEdit::Password);
    lblMailProg = Label(tab, "lblMailProg", "Emailprogram:");
    txtMailProg = Named(new QLineEdit(tab), "txtMailProg");
    cmdBrwseProg = Named(new QPushButton("...", tab), "cmdBrwseProg");
    cmdBrwseProg->setFixedWidth(cmdBrwseProg->fontMetrics().horizontalAdvance("...") + 24);
    lblInterval = Label(tab, "lblInterval", "Check Interval:");
    txtInterval = Named(new QLineEdit(tab), "txtInterval");
    lblMinutes = Label(tab, "lblMinutes", "Minutes");

    auto* side = new QVBoxLayout;
    side->addWidget(cmdInsert);
    side->addWidget(cmdDelete);
    side->addStretch();
    auto* account = new QGridLayout;
    account->addWidget(lblServer, 0, 0);
    account->addWidget(txtServer, 0, 1);
    account->addWidget(lblUName, 1, 0);
    account->addWidget(txtUName, 1, 1);
    account->addWidget(lblPWord, 2, 0);
    account->addWidget(txtPWord, 2, 1);
    account->setColumnStretch(1, 1);
    auto* program = new QHBoxLayout;
    program->addWidget(txtMailProg);
    program->addWidget(cmdBrwseProg);
    auto* interval = new QHBoxLayout;
    interval->addWidget(txtInterval);
    interval->addWidget(lblMinutes);
    interval->addStretch();
    auto* grid = new QGridLayout(tab);
    grid->addWidget(lblServers, 0, 0, 1, 2);
    grid->addWidget(lstServers, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->addLayout(account, 2, 0, 1, 2);
    grid->addWidget(lblMailProg, 3, 0, 1, 2);
    grid->addLayout(program, 4, 0, 1, 2);
    grid->addWidget(lblInterval, 5, 0, 1, 2);
    grid->addLayout(interval, 6, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    return tab;
}

void frmOptions::ConnectControls() {
    const std::pair<QCheckBox*, QLineEdit*> logs[] = {
        {chkProgLog, txtProgLog}, {chkDialLog, txtDialLog}, {chkErrorLog, txtErrorLog}};
    for (auto [check, box] : logs) {
        connect(check, &QCheckBox::toggled, this, [box](bool on) {
            if (!on) {
                box->clear();
            }
            box->setEnabled(on);
        });
    }
    connect(lstSounds, &QListWidget::currentRowChanged, this, &frmOptions::SoundChosen);
    connect(grpSound, &QButtonGroup::idClicked, this, &frmOptions::SoundStateChosen);
    connect(cmdSndBrowse, &QPushButton::clicked, this, &frmOptions::BrowseSoundFile);
    connect(cmdSndPlay, &QPushButton::clicked, this, [this] {
        if (const int n = SelectedSound(); n >= 1) {
            PlaySoundEvent(sounds_, n, app_.platform.sound);
        }
    });
    connect(lstServers, &QListWidget::currentRowChanged, this, &frmOptions::MailChosen);
    // Typing (and pasting) stores; the boxes filled from a selection store nothing.
    connect(txtServer, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const int n = SelectedMail(); n >= 1) {
            mail_[static_cast<std::size_t>(n)].Server = FromQt(text);
            lstServers->item(n - 1)->setText(text);
        }
    });
    connect(txtUName, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const int n = SelectedMail(); n >= 1) {
            mail_[static_cast<std::size_t>(n)].UName = FromQt(text);
        }
    });
    connect(txtPWord, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (const int n = SelectedMail(); n >= 1) {
            mail_[static_cast<std::size_t>(n)].Pass = ScramblePassword(FromQt(text));
        }
    });
    connect(cmdInsert, &QPushButton::clicked, this, &frmOptions::InsertMail);
    connect(cmdDelete, &QPushButton::clicked, this, &frmOptions::DeleteMail);
    connect(cmdBrwseProg, &QPushButton::clicked, this, &frmOptions::BrowseMailProgram);
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::OkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOptions::Translate() {
    TranslateWindowTitle(app_, this, "optcapt");
    const char* const tabKeys[] = {"general", "logfiles", "sounds", "email"};
    for (int i = 0; i < kTabs; ++i) {
        TabStrip->setTabText(i, ToQt(app_.LangText(tabKeys[i], FromQt(TabStrip->tabText(i)))));
    }
    TranslateCaption(app_, lblDialDelay, "milisecs");
    TranslateCaption(app_, chkDynDelay, "dyndialdelay");
    TranslateCaption(app_, chkWaitInvalidate, "waitforhandle");
    TranslateCaption(app_, lblLang, "language");
    TranslateCaption(app_, lblStartCon, "startupcon");
    TranslateCaption(app_, chkStartHidden, "starthidden");
    TranslateCaption(app_, chkStartDial, "startupdial");
    TranslateCaption(app_, chkHangup, "disconnectonexit");
    TranslateCaption(app_, chkProgLog, "programlog");
    TranslateCaption(app_, chkDialLog, "diallog");
    TranslateCaption(app_, chkErrorLog, "errorlog");
    TranslateCaption(app_, lblMaxLogSize, "maxlogsize");
    TranslateCaption(app_, optDisabled, "disabled");
    TranslateCaption(app_, lblSounds, "soundevents");
    TranslateCaption(app_, optDefault, "systemdefault");
    TranslateCaption(app_, optCustWav, "wavefile");
    TranslateCaption(app_, cmdSndPlay, "play");
    TranslateCaption(app_, lblServers, "serverstocheck");
    TranslateCaption(app_, cmdInsert, "insert");
    TranslateCaption(app_, cmdDelete, "delete");
    TranslateCaption(app_, lblServer, "server");
    TranslateCaption(app_, lblUName, "username");
    TranslateCaption(app_, lblPWord, "password");
    TranslateCaption(app_, lblMailProg, "emailprogram");
    TranslateCaption(app_, lblInterval, "checkinterval");
    TranslateCaption(app_, lblMinutes, "minutes");
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");
}

void frmOptions::Load() {
    const AppSettings& s = app_.settings;
    TabStrip->setCurrentIndex(0);
    chkStartHidden->setChecked(s.StartHidden);
    chkStartDial->setChecked(s.StartDial);
    txtDialDelay->setText(QString::number(s.DialDelay));
    chkDynDelay->setChecked(s.DynDelay);
    chkWaitInvalidate->setChecked(s.WaitInvalidate);
    chkHangup->setChecked(s.Hangup);

    cmbStartCon->addItem(ToQt(app_.LangText("lastcon", "Last Connection")));
    for (int i = 1; i <= app_.profiles.nProfs; ++i) {
        cmbStartCon->addItem(ToQt(app_.profiles.ConProf[static_cast<std::size_t>(i)].Name));
    }
    cmbStartCon->addItem(ToQt(app_.LangText("conmanconnection", "ConMan Connection")));
    // A number beyond the list (a deleted profile) shows nothing and is kept by OK.
    cmbStartCon->setCurrentIndex(s.StartCon < 0
                                     ? cmbStartCon->count() - 1
                                     : (s.StartCon < cmbStartCon->count() ? s.StartCon : -1));

    cmbLang->addItem(QStringLiteral("Default (English)"));
    cmbLang->setCurrentIndex(0);
    for (const auto& language : FindLanguages(ProgramDirectory())) {
        cmbLang->addItem(ToQt(language));
        if (ToLower(Trim(language)) == ToLower(Trim(s.Language))) {
            cmbLang->setCurrentIndex(cmbLang->count() - 1);
        }
    }

    const std::pair<QCheckBox*, QLineEdit*> logs[] = {
        {chkProgLog, txtProgLog}, {chkDialLog, txtDialLog}, {chkErrorLog, txtErrorLog}};
    const std::string* names[] = {&s.ProgLog, &s.DialLog, &s.ErrorLog};
    for (int i = 0; i < 3; ++i) {
        auto [check, box] = logs[i];
        check->setChecked(!names[i]->empty());
        box->setText(ToQt(*names[i]));
        box->setEnabled(!names[i]->empty());
    }
    txtMaxLogSize->setText(QString::number(s.MaxLogSize));

    sounds_ = s.sounds;
    for (int n = 1; n <= std::clamp(sounds_.count, 0, SoundTable::kCapacity); ++n) {
        const SoundEvent& event = sounds_.events[static_cast<std::size_t>(n)];
        lstSounds->addItem(ToQt(app_.LangText("snd" + std::to_string(n), event.Name)));
    }
    lstSounds->setCurrentRow(lstSounds->count() > 0 ? 0 : -1);
    SoundChosen(lstSounds->currentRow());

    nMail_ = std::clamp(s.nMailCheck, 0, AppSettings::kMaxMailServers);
    mail_ = s.mailServers;
    FillMailList();
    EnableMailBoxes(false);

    txtMailProg->setText(ToQt(s.EmailProg));
    txtInterval->setText(QString::number(s.EmailInterval));
    Translate();
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->selectAll();
    }
}

// ---- sounds ----

int frmOptions::SelectedSound() const {
    const int row = lstSounds->currentRow();
    return row >= 0 && row < sounds_.count ? row + 1 : 0;
}

void frmOptions::SoundChosen(int row) {
    const int n = row >= 0 ? SelectedSound() : 0;
    if (n < 1) {
        for (QWidget* w : std::initializer_list<QWidget*>{optDisabled, optDefault, optCustWav,
                                                          cmdSndBrowse, cmdSndPlay}) {
            w->setEnabled(false);
        }
        return;
    }
    const SoundEvent& event = sounds_.events[static_cast<std::size_t>(n)];
    const int state =
        !event.Enabled ? kSoundDisabled : (event.FName.empty() ? kSoundDefault : kSoundWave);
    grpSound->button(state)->setChecked(true);
    txtFname->setText(state == kSoundWave ? ToQt(FileNameOnly(event.FName)) : QString());
    cmdSndBrowse->setEnabled(state == kSoundWave);
}

void frmOptions::SoundStateChosen(int state) {
    const int n = SelectedSound();
    if (n < 1) {
        return;
    }
    SoundEvent& event = sounds_.events[static_cast<std::size_t>(n)];
    if (state == kSoundDisabled) {
        event.Enabled = false;
        txtFname->clear();
    } else if (state == kSoundDefault) {
        event.Enabled = true;
        event.FName.clear();
        txtFname->clear();
    } else {
        event.Enabled = true;
    }
    cmdSndBrowse->setEnabled(state == kSoundWave);
}

void frmOptions::BrowseSoundFile() {
    const int n = SelectedSound();
    if (n < 1) {
        return;
    }
    SoundEvent& event = sounds_.events[static_cast<std::size_t>(n)];
    std::string path = event.FName;
    if (BrowseSound(app_, path, this)) {
        event.FName = path;
        txtFname->setText(ToQt(FileNameOnly(path)));
    }
}

// ---- mail accounts ----

int frmOptions::SelectedMail() const {
    const int row = lstServers->currentRow();
    return row >= 0 && row < nMail_ ? row + 1 : 0;
}

void frmOptions::FillMailList() {
    const QSignalBlocker quiet(lstServers);
    lstServers->clear();
    for (int n = 1; n <= nMail_; ++n) {
        lstServers->addItem(ToQt(mail_[static_cast<std::size_t>(n)].Server));
    }
    lstServers->setCurrentRow(-1);
}

void frmOptions::EnableMailBoxes(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{txtServer, txtUName, txtPWord, cmdDelete,
                                                      lblServer, lblUName, lblPWord}) {
        w->setEnabled(on);
    }
}

void frmOptions::MailChosen(int row) {
    const int n = row >= 0 ? SelectedMail() : 0;
    if (n < 1) {
        return;
    }
    const MailServer& account = mail_[static_cast<std::size_t>(n)];
    txtServer->setText(ToQt(account.Server));
    txtUName->setText(ToQt(account.UName));
    txtPWord->setText(ToQt(UnscramblePassword(account.Pass)));
    for (QLineEdit* box : {txtServer, txtUName, txtPWord}) {
        box->selectAll();
    }
    EnableMailBoxes(true);
}

void frmOptions::InsertMail() {
    if (nMail_ >= AppSettings::kMaxMailServers) {
        return;
    }
    nMail_ += 1;
    mail_[static_cast<std::size_t>(nMail_)] = MailServer{};
    lstServers->addItem(QString());
    lstServers->setCurrentRow(nMail_ - 1);
    txtServer->selectAll();
    txtServer->setFocus();
}

void frmOptions::DeleteMail() {
    const int n = SelectedMail();
    if (n < 1) {
        return;
    }
    for (int k = n; k < nMail_; ++k) {
        mail_[static_cast<std::size_t>(k)] = mail_[static_cast<std::size_t>(k + 1)];
    }
    mail_[static_cast<std::size_t>(nMail_)] = MailServer{};
    nMail_ -= 1;
    FillMailList();
    for (QLineEdit* box : {txtServer, txtUName, txtPWord}) {
        box->clear();
    }
    EnableMailBoxes(false);
}

void frmOptions::BrowseMailProgram() {
    const std::string current = ProgramPathOf(FromQt(txtMailProg->text()));
    const std::string chosen =
        chooseProgram ? chooseProgram(current) : ChooseProgramFile(app_, current, this);
    if (!chosen.empty()) {
        txtMailProg->setText(ToQt(QuoteProgramPath(chosen)));
    }
}

// ---- OK ----

void frmOptions::OkClicked() {
    AppSettings& s = app_.settings;
    s.StartHidden = chkStartHidden->isChecked();
    s.StartDial = chkStartDial->isChecked();
    s.DynDelay = chkDynDelay->isChecked();
    s.WaitInvalidate = chkWaitInvalidate->isChecked();
    s.Hangup = chkHangup->isChecked();
    s.DialDelay = LeadingDigitsValue(FromQt(txtDialDelay->text()));
    s.MaxLogSize = LeadingDigitsValue(FromQt(txtMaxLogSize->text()));
    s.ProgLog = FromQt(txtProgLog->text());
    s.DialLog = FromQt(txtDialLog->text());
    s.ErrorLog = FromQt(txtErrorLog->text());
    if (const int index = cmbStartCon->currentIndex(); index >= 0) {
        s.StartCon = index == app_.profiles.nProfs + 1 ? -1 : index;
    }
    s.sounds = sounds_;
    s.Language = cmbLang->currentIndex() > 0 ? FromQt(cmbLang->currentText()) : "";
    if (ToLower(Trim(s.Language)) != ToLower(Trim(app_.lang.LanguageInUse()))) {
        std::string unused;
        MsgBoxEx(app_,
                 app_.LangText("restartforlanguage",
                               "Restart Kestrelon to have the language change take effect"),
                 app_.LangText("notification", "Notification"), kMsgBoxInformation, unused, 0,
                 this);
    }
    s.mailServers = mail_;
    s.nMailCheck = nMail_;
    s.EmailInterval = LeadingDigitsValue(FromQt(txtInterval->text()));
    s.EmailProg = FromQt(txtMailProg->text());
    SaveSettings(s);
    accepted_ = true;
    accept();
}

bool ShowOptions(AppCore& app, QWidget* parent) {
    frmOptions dialog(app, parent);
    dialog.exec();
    return dialog.Accepted();
}

bool OptionsDialogOpen() {
    const auto windows = QApplication::topLevelWidgets();
    return std::ranges::any_of(windows, [](const QWidget* w) {
        return qobject_cast<const frmOptions*>(w) != nullptr && w->isVisible();
    });
}

}  // namespace kestrelon
