#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kestrelon {

class AppCore;

// Picks a wave file for an event sound: drive, folder and file lists, and a button to listen.
class frmSndBrowse : public QDialog {
    Q_OBJECT
  public:
    explicit frmSndBrowse(AppCore& app, QWidget* parent = nullptr);

    // Opens a folder: the drive list follows it, the file list shows its wave files.
    void SetFolder(const std::string& folder);
    // Selects a file of the current folder by name, as a click on it would.
    void SelectFile(const std::string& name);

    const std::string& Folder() const { return folder_; }
    // The folder and the file clicked last; empty until a file is clicked.
    const std::string& SelectedPath() const { return selectedPath_; }
    // True after OK, false after Cancel or the close box.
    bool Result() const { return result_; }

    QComboBox* drvSound = nullptr;
    QLabel* lblFolder = nullptr;
    QListWidget* dirSound = nullptr;
    QListWidget* flstSound = nullptr;
    QPushButton* cmdPlay = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void FillDrives();
    void FileClicked(QListWidgetItem* item);
    void FolderActivated(QListWidgetItem* item);

    AppCore& app_;
    std::string folder_;
    std::string selectedPath_;
    bool result_ = false;
};

// Lets the user pick a wave file, starting in the folder of path when that exists. Returns
// true with path set to the chosen file; on cancel returns false and leaves path alone.
bool BrowseSound(AppCore& app, std::string& path, QWidget* parent);

}  // namespace kestrelon
