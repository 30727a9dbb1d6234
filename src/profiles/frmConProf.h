#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "profiles/ConnectionProfile.h"

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
class RasFunc;
class TextFilter;
class frmCallback;
struct ProfileReferences;

// The charge profiles as the profile editor's charges tab sees them. Empty hooks disable the
// matching button (and an empty name list leaves only "No Charges").
struct ChargeProfileHooks {
    // Names 1 .. n in list order (element k - 1 is name k).
    std::function<std::vector<std::string>()> names;
    // Appends a new, empty charge profile of that name; false when nothing was added.
    std::function<bool(const std::string& name)> add;
    // Opens the charge profile editor on the profile, modal over parent; true when it saved.
    std::function<bool(const std::string& name, QWidget* parent)> edit;
    // Removes name k (1-based) without asking; true when it removed one.
    std::function<bool(int position)> remove;
};

// What the profile editor works with besides the program's records.
struct ConProfServices {
    // The simulated service's phone book, which the entry menu edits; "" = the default one.
    std::string phoneBookPath;
    // The hidden window carrying the entry popup menu; null = the editor makes its own.
    frmCallback* entryMenu = nullptr;
    ChargeProfileHooks charges;
};

// The connection profile editor: five tabs over the buffer EditProfile, which every control
// writes as soon as its value changes; OK only checks and closes. Phone-book entries and
// charge profiles changed from here change at once and stay changed after Cancel.
class frmConProf : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTabs = 5;

    // Loads the dialog over a copy of profile: fills the entry, backup and charge lists and,
    // with global programs on, puts the global program list into the buffer.
    frmConProf(AppCore& app, RasFunc& ras, const ConnectionProfile& profile,
               ConProfServices services, QWidget* parent = nullptr);
    ~frmConProf() override;

    // Fills the controls from EditProfile; their change events write the same values back.
    void SetData();

    const ConnectionProfile& EditProfile() const { return edit_; }
    bool DialogAccepted() const { return accepted_; }
    // 1 .. 5.
    int CurrentTab() const;
    // The entry the entry menu works on, set by the two entry buttons.
    const std::string& CurrentEntry() const { return currentEntry_; }

    // The four operations of the entry menu on CurrentEntry().
    void NewEntry();
    void EditEntry();
    void RenameEntry();
    void DeleteEntry();

    QTabWidget* TabStrip1 = nullptr;
    std::array<QWidget*, kTabs + 1> frmTab{};  // 1..5

    QLabel* lblProfname = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblCon = nullptr;
    QComboBox* cmbCon1 = nullptr;
    QCheckBox* chkCon2 = nullptr;
    QComboBox* cmbCon2 = nullptr;
    std::array<QPushButton*, 3> cmdConEdit{};  // 1, 2
    QLabel* lblUser = nullptr;
    QLineEdit* txtUName = nullptr;
    QLabel* lblPass = nullptr;
    QLineEdit* txtPass = nullptr;
    QLabel* lblBackupCon = nullptr;
    QComboBox* cmbBackupCon = nullptr;

    QCheckBox* chkReconnect = nullptr;
    QCheckBox* chkIgnFErr = nullptr;
    QLabel* lblIgnErr = nullptr;
    QLineEdit* txtIgnErr = nullptr;
    QLabel* lblCancCall = nullptr;
    QLineEdit* txtCancCall = nullptr;
    QCheckBox* chkKeepAlive = nullptr;
    QLabel* lblMaxDials = nullptr;
    QLineEdit* txtMaxDials = nullptr;

    std::array<QRadioButton*, 3> optTrayTimer{};
    QButtonGroup* grpTrayTimer = nullptr;
    QLabel* lblCountdown = nullptr;
    QLineEdit* txtCountDown = nullptr;
    QLabel* lblWarning = nullptr;
    QLineEdit* txtWarning = nullptr;
    QLabel* lblColor = nullptr;
    QLabel* pctClr = nullptr;
    QLabel* pctClrEx = nullptr;

    QLabel* lblProgLaunch = nullptr;
    QListWidget* lstPrograms = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdDelete = nullptr;
    QLabel* lblCommandLine = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QCheckBox* chkExitProgram = nullptr;
    QCheckBox* chkGlobal = nullptr;

    QLabel* lblCostProfile = nullptr;
    QListWidget* lstCharges = nullptr;
    QPushButton* cmdCPAdd = nullptr;
    QPushButton* cmdCPEdit = nullptr;
    QPushButton* cmdCPDelete = nullptr;

    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The program chooser of the "..." button: gets the current program path, returns the
    // chosen file or "" when cancelled. Replaceable (tests); the default is a file dialog.
    std::function<std::string(const std::string& current)> chooseProgram;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildAccountTab();
    QWidget* BuildDialingTab();
    QWidget* BuildTrayTab();
    QWidget* BuildProgramsTab();
    QWidget* BuildChargesTab();
    void ConnectFields();
    void Translate();

    void FillEntryLists();
    void SelectEntry(QComboBox* list, const std::string& name, bool quiet);
    void Con1Chosen(int index);
    void TrayTimerChosen(int index);
    void EnableTrayBoxes(int index);
    void ShowColour();
    void ColourClicked(int x, int y);
    void FillPrograms();
    void ProgramChosen(int row);
    void EnableProgramBoxes(bool on);
    void InsertProgram();
    void DeleteProgram();
    void BrowseProgram();
    void FillCharges();
    void ChargeChosen(int row);
    void AddCharge();
    void EditCharge();
    void DeleteCharge();
    void EntryButton(int line);
    void OkClicked();
    int SelectedProgram() const;

    AppCore& app_;
    RasFunc& ras_;
    ConProfServices services_;
    frmCallback* ownMenu_ = nullptr;
    ConnectionProfile edit_;
    bool accepted_ = false;
    std::string currentEntry_;
    TextFilter* filter_ = nullptr;
};

// The main window's Add and Edit commands. profile 0 adds a new profile, else the editor opens
// on that profile, which becomes the selection. On OK the buffer goes into the table, which is
// saved (settings too, for GlobalLaunchApps and a moved StartCon) with refs kept right; the
// selection then points at the added or edited profile wherever the sort put it, and the
// caller refills its list. Returns true when the table changed. A full table refuses Add with
// a message and returns false.
bool EditConnectionProfile(AppCore& app, RasFunc& ras, int profile, ProfileReferences& refs,
                           const ConProfServices& services, QWidget* parent = nullptr);

}  // namespace kestrelon
