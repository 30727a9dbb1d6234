#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrelon {

class AppCore;
struct ProfileReferences;

// The last dial error of the session with its text; adds its number to the profile's ignore
// list and holds the switch that keeps the dialog from opening by itself.
class frmLastError : public QDialog {
    Q_OBJECT
  public:
    // sessionProfile is the dial session's profile (0 = none: the selected one is used).
    // errorText gives the text of a dial error number; empty means the standard texts.
    frmLastError(AppCore& app, std::uint32_t lastError, int sessionProfile,
                 std::function<std::string(std::uint32_t)> errorText, ProfileReferences& refs,
                 QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* txtErrN = nullptr;
    QLineEdit* txtError = nullptr;
    QCheckBox* chkShowError = nullptr;
    QPushButton* cmdAddError = nullptr;
    QPushButton* Command1 = nullptr;

  private:
    void ErrorNumberChanged();
    void AddErrorClicked();

    AppCore& app_;
    int sessionProfile_;
    std::function<std::string(std::uint32_t)> errorText_;
    ProfileReferences& refs_;
};

}  // namespace kestrelon
