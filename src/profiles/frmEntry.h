#pragma once

#include <QDialog>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrelon {

class AppCore;
class TextFilter;

// The phone-book entry dialog of the simulated remote access service: the number, the
// credentials stored with the entry and what the simulated line does when it is dialled. It
// edits the entry's section of the phone book file directly when closed with OK.
class frmEntry : public QDialog {
    Q_OBJECT
  public:
    // An empty name makes a new entry, whose name is typed in the dialog.
    frmEntry(AppCore& app, std::string phoneBookPath, std::string entryName,
             QWidget* parent = nullptr);

    // True after OK wrote the entry.
    bool Accepted() const { return accepted_; }
    const std::string& EntryName() const { return name_; }

    QLabel* lblName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblNumber = nullptr;
    QLineEdit* txtNumber = nullptr;
    QLabel* lblUser = nullptr;
    QLineEdit* txtUser = nullptr;
    QLabel* lblPass = nullptr;
    QLineEdit* txtPass = nullptr;
    QGroupBox* fraSimulation = nullptr;
    QLabel* lblAnswer = nullptr;
    QLineEdit* txtAnswer = nullptr;
    QLabel* lblAnswerHint = nullptr;
    QLabel* lblDeviceMs = nullptr;
    QLineEdit* txtDeviceMs = nullptr;
    QLabel* lblAuthMs = nullptr;
    QLineEdit* txtAuthMs = nullptr;
    QLabel* lblFailMs = nullptr;
    QLineEdit* txtFailMs = nullptr;
    QLabel* lblDropAfter = nullptr;
    QLineEdit* txtDropAfter = nullptr;
    QLabel* lblIpAddress = nullptr;
    QLineEdit* txtIpAddress = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void BuildControls();
    void Translate();
    void OkClicked();

    AppCore& app_;
    std::string path_;
    std::string name_;
    bool isNew_ = false;
    bool accepted_ = false;
    TextFilter* filter_ = nullptr;
};

// Add Connection: a new entry; returns its name, "" when cancelled.
std::string NewPhoneBookEntry(AppCore& app, const std::string& phoneBookPath, QWidget* parent);
// Edit Connection: true when the entry was written.
bool EditPhoneBookEntry(AppCore& app, const std::string& phoneBookPath, const std::string& name,
                        QWidget* parent);

}  // namespace kestrelon
