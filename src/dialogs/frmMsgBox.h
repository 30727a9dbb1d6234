#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrelon {

class AppCore;

// The program's own message box: information, a yes/no question, or a line of text input.
class frmMsgBox : public QDialog {
    Q_OBJECT
  public:
    explicit frmMsgBox(AppCore& app, QWidget* parent = nullptr);

    // 1 after Yes or OK, 0 after No, Cancel or the close box.
    int Result() const { return result_; }
    // Makes the message area taller by extraHeight twips (15 twips per pixel).
    void GrowMessageArea(int extraHeight);

    QLabel* lblInfo = nullptr;
    QComboBox* cmbMsgBox = nullptr;
    QLineEdit* txtInput = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdYes = nullptr;
    QPushButton* cmdNo = nullptr;

  private:
    void Answer(int result);

    int result_ = 0;
};

// Message styles of MsgBoxEx; any other value informs with OK only.
enum MsgBoxStyle { kMsgBoxInformation = 0, kMsgBoxQuestion = 1, kMsgBoxInput = 2 };

// Shows the message box modal. input is shown and edited in the input style and receives the
// text box's text. Returns 1 for Yes/OK, 0 for No/Cancel/close.
int MsgBoxEx(AppCore& app, const std::string& text, const std::string& title, int style,
             std::string& input, int extraHeight = 0, QWidget* parent = nullptr);

// The message box as a chooser: a drop-down list with the first entry selected and OK only.
// Returns the index of the chosen entry; closing the box chooses the first.
int ChooseFromList(AppCore& app, const std::string& label, const std::string& title,
                   const std::vector<std::string>& entries, QWidget* parent = nullptr);

}  // namespace kestrelon
