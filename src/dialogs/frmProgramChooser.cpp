#include "dialogs/frmProgramChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

std::string ChooseProgramFile(AppCore& app, const std::string& current, QWidget* parent) {
    QFileDialog chooser(parent, ToQt(app.LangText("chooseapplication", "Choose Application")));
    chooser.setObjectName("CDlg");
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::ExistingFile);
    // Programs are the executable files here; folders stay visible to move around.
    chooser.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDot);
    const QFileInfo file(ToQt(current));
    if (!current.empty() && file.dir().exists()) {
        chooser.setDirectory(file.dir());
        chooser.selectFile(file.fileName());
    } else {
        chooser.setDirectory(QDir::rootPath());
    }
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return "";
    }
    return FromQt(chooser.selectedFiles().front());
}

}  // namespace kestrelon
