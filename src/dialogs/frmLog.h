#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kestrelon {

class AppCore;

// The log viewer: the tail of the program, dial or error log, followed live while open.
class frmLogView : public QDialog {
    Q_OBJECT
  public:
    // At most this much of a log is read per refresh.
    static constexpr std::int64_t kTailBytes = 10240;

    explicit frmLogView(AppCore& app, QWidget* parent = nullptr);

    // Selects log 0 (program), 1 (dial) or 2 (error) and shows it at once.
    void SelectLog(int choice);
    // Reloads the tail when the file's size changed since it was last shown.
    void Refresh();
    // How often a log was read, so tests can see that an unchanged log is not.
    int Reads() const { return reads_; }

    std::array<QRadioButton*, 3> optLogSel{};
    QPlainTextEdit* txtLogView = nullptr;
    QPushButton* cmdOk = nullptr;
    QTimer* tmrLogRefresh = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    AppCore& app_;
    std::string selectedPath_;
    std::string shownPath_;
    std::int64_t shownSize_ = 0;
    int reads_ = 0;
};

// The text the viewer shows for a log: the whole file up to 10240 bytes, else the last 10240
// bytes but the final two, from the first whole line on.
std::string LogTail(const std::string& path, std::int64_t size);

}  // namespace kestrelon
