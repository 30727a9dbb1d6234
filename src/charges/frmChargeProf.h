#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/Currency.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kestrelon {

class AppCore;
struct ChargeProfile;
struct ChargeState;

// The charge profile editor. Works directly on the edited profile: every change is stored at
// once; the caller saves the profile when the dialog ends with OK.
class frmChargeProf : public QDialog {
    Q_OBJECT
  public:
    frmChargeProf(AppCore& app, ChargeProfile& edited, QWidget* parent = nullptr);

    // Fills the controls from the edited profile; called before showing.
    void Fill();
    // True after OK, false after Cancel or the close box.
    bool Result() const { return result_; }
    // The selected window, 1 .. nItems; 0 when none.
    int CurrentWindow() const { return current_; }

    QLabel* lblName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblStartRate = nullptr;
    QLineEdit* txtStartRate = nullptr;
    QLabel* lblBaseRate = nullptr;
    QLineEdit* txtBaseRate = nullptr;
    QLabel* lblOffPeak = nullptr;
    QListWidget* lstRates = nullptr;
    QPushButton* cmdRate = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    QGroupBox* frmRate = nullptr;
    QLabel* lblStartTime = nullptr;
    QLabel* lblEndTime = nullptr;
    // 0 start hour, 1 end hour, 2 start minute, 3 end minute.
    std::array<QComboBox*, 4> cmbTime{};
    QLabel* lblRate = nullptr;
    QLineEdit* txtRate = nullptr;
    // 0 Sunday .. 6 Saturday.
    std::array<QCheckBox*, 7> chkWeekday{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void BuildControls();
    void Translate();
    void RebuildList();
    void SelectWindow(int n);
    void SetRateSettingsEnabled(bool enabled);
    void TimeChosen(bool start);
    void WeekdayToggled();
    void RateTyped();
    void InsertWindow();
    void DeleteWindow();
    void MoveWindow(int by);
    std::string Money(const Currency& value) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppCore& app_;
    ChargeProfile& edited_;
    int current_ = 0;
    bool result_ = false;
    bool filling_ = false;
};

// The connection profile editor's Edit command: the profile is reloaded from the file (cache
// reset) into the edited profile, the editor is shown modally and the profile saved after OK.
// Returns the editor's result.
bool EditChargeProfile(AppCore& app, ChargeState& charges, const std::string& name,
                       QWidget* parent = nullptr);

}  // namespace kestrelon
