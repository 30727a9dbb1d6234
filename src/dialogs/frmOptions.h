#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "core/AppSettings.h"
#include "mainwindow/Sounds.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kestrelon {

class AppCore;
class TextFilter;

// The Options dialog: every setting but the window position. It edits working copies of the
// sound table and the mail accounts; nothing reaches the settings before OK, which assigns
// everything and saves the settings.
class frmOptions : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTabs = 4;

    explicit frmOptions(AppCore& app, QWidget* parent = nullptr);

    // 1 .. 4.
    int CurrentTab() const;
    bool Accepted() const { return accepted_; }
    const SoundTable& WorkingSounds() const { return sounds_; }
    int WorkingMailCount() const { return nMail_; }
    const MailServer& WorkingMailServer(int n) const { return mail_[static_cast<std::size_t>(n)]; }

    QTabWidget* TabStrip = nullptr;
    std::array<QWidget*, kTabs + 1> frmTab{};  // 1..4

    QCheckBox* chkStartHidden = nullptr;
    QCheckBox* chkStartDial = nullptr;
    QLabel* lblDialDelay = nullptr;
    QLineEdit* txtDialDelay = nullptr;
    QCheckBox* chkDynDelay = nullptr;
    QCheckBox* chkWaitInvalidate = nullptr;
    QCheckBox* chkHangup = nullptr;
    QLabel* lblStartCon = nullptr;
    QComboBox* cmbStartCon = nullptr;
    QLabel* lblLang = nullptr;
    QComboBox* cmbLang = nullptr;

    QCheckBox* chkProgLog = nullptr;
    QLineEdit* txtProgLog = nullptr;
    QCheckBox* chkDialLog = nullptr;
    QLineEdit* txtDialLog = nullptr;
    QCheckBox* chkErrorLog = nullptr;
    QLineEdit* txtErrorLog = nullptr;
    QLabel* lblMaxLogSize = nullptr;
    QLineEdit* txtMaxLogSize = nullptr;

    QLabel* lblSounds = nullptr;
    QListWidget* lstSounds = nullptr;
    QButtonGroup* grpSound = nullptr;
    QRadioButton* optDisabled = nullptr;
    QRadioButton* optDefault = nullptr;
    QRadioButton* optCustWav = nullptr;
    QLineEdit* txtFname = nullptr;
    QPushButton* cmdSndBrowse = nullptr;
    QPushButton* cmdSndPlay = nullptr;

    QLabel* lblServers = nullptr;
    QListWidget* lstServers = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdDelete = nullptr;
    QLabel* lblServer = nullptr;
    QLineEdit* txtServer = nullptr;
    QLabel* lblUName = nullptr;
    QLineEdit* txtUName = nullptr;
    QLabel* lblPWord = nullptr;
    QLineEdit* txtPWord = nullptr;
    QLabel* lblMailProg = nullptr;
    QLineEdit* txtMailProg = nullptr;
    QPushButton* cmdBrwseProg = nullptr;
    QLabel* lblInterval = nullptr;
    QLineEdit* txtInterval = nullptr;
    QLabel* lblMinutes = nullptr;

    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The mail program chooser: gets the current command line's program, returns the chosen
    // file or "" when cancelled. Replaceable (tests); the default is a file dialog.
    std::function<std::string(const std::string& current)> chooseProgram;

  private:
    void BuildControls();
    QWidget* BuildGeneralTab();
    QWidget* BuildLogTab();
    QWidget* BuildSoundTab();
    QWidget* BuildMailTab();
    void ConnectControls();
    void Translate();
    void Load();

    int SelectedSound() const;
    void SoundChosen(int row);
    void SoundStateChosen(int state);
    void BrowseSoundFile();
    int SelectedMail() const;
    void MailChosen(int row);
    void EnableMailBoxes(bool on);
    void FillMailList();
    void InsertMail();
    void DeleteMail();
    void BrowseMailProgram();
    void OkClicked();

    AppCore& app_;
    SoundTable sounds_;
    std::array<MailServer, AppSettings::kMaxMailServers + 1> mail_{};
    int nMail_ = 0;
    bool accepted_ = false;
    TextFilter* filter_ = nullptr;
};

// The Options command of the main window and the tray menu: the dialog, modal. Returns true
// when it was closed with OK (the settings are then assigned and saved).
bool ShowOptions(AppCore& app, QWidget* parent);

// True while an Options dialog is open; the tray menu ignores a right click meanwhile.
bool OptionsDialogOpen();

}  // namespace kestrelon
