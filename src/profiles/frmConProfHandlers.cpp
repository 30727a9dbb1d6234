// The profile editor's reactions: entry lists and the entry menu, programs, charge profiles,
// OK, and the main window's Add and Edit commands.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <algorithm>

#include "core/AppCore.h"
#include "core/IniDocument.h"
#include "dialer/RasFunc.h"
#include "dialogs/frmCallback.h"
#include "dialogs/frmMsgBox.h"
#include "dialogs/frmProgramChooser.h"
#include "dialogs/frmTextFilter.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfMod.h"
#include "profiles/ConProfRules.h"
#include "profiles/PhoneBookEntries.h"
#include "profiles/frmConProf.h"
#include "profiles/frmEntry.h"

namespace kestrelon {

namespace {

// The message box in input mode, with the key filter of a section name (entry and charge
// profile names become INI sections). Returns the trimmed text, nullopt on Cancel.
std::optional<std::string> AskName(AppCore& app, const std::string& text, const std::string& title,
                                   const std::string& start, QWidget* parent) {
    frmMsgBox box(app, parent);
    auto* filter = new TextFilter(&box);
    filter->Allow(box.txtInput, std::function<bool(char32_t)>(IsSectionNameCharacter));
    box.txtInput->setMaxLength(256);
    box.setWindowTitle(ToQt(title));
    box.lblInfo->setText(ToQt(text));
    box.cmdOk->hide();
    box.txtInput->show();
    box.cmdYes->setText(ToQt(app.LangText("ok", "OK")));
    box.cmdNo->setText(ToQt(app.LangText("cancel", "Cancel")));
    box.cmdYes->setDefault(true);
    box.txtInput->setText(ToQt(start));
    box.txtInput->selectAll();
    box.txtInput->setFocus();
    box.exec();
    if (box.Result() != 1) {
        return std::nullopt;
    }
    return Trim(FromQt(box.txtInput->text()));
}

// The message box with OK and Cancel.
bool Confirm(AppCore& app, const std::string& text, const std::string& title, QWidget* parent) {
    frmMsgBox box(app, parent);
    box.setWindowTitle(ToQt(title));
    box.lblInfo->setText(ToQt(text));
    box.cmdOk->hide();
    box.cmdYes->setText(ToQt(app.LangText("ok", "OK")));
    box.cmdNo->setText(ToQt(app.LangText("cancel", "Cancel")));
    box.cmdYes->setDefault(true);
    box.exec();
    return box.Result() == 1;
}

}  // namespace

// ---- phone-book entries ----

void frmConProf::FillEntryLists() {
    const std::string previous1 = FromQt(cmbCon1->currentText());
    const std::string previous2 = FromQt(cmbCon2->currentText());
    const auto names = ras_.EnumRasEntries();
    for (QComboBox* list : {cmbCon1, cmbCon2}) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const auto& name : names) {
            list->addItem(ToQt(name));
        }
        list->setCurrentIndex(-1);
    }
    SelectEntry(cmbCon1, previous1, true);
    SelectEntry(cmbCon2, previous2, true);
}

void frmConProf::SelectEntry(QComboBox* list, const std::string& name, bool quiet) {
    const QSignalBlocker blocker(quiet ? list : nullptr);
    list->setCurrentIndex(name.empty() ? -1 : list->findText(ToQt(name), Qt::MatchExactly));
}

void frmConProf::Con1Chosen(int index) {
    if (index < 0) {
        return;
    }
    const std::string entry = FromQt(cmbCon1->itemText(index));
    if (txtName->text().isEmpty()) {
        txtName->setText(ToQt(entry));
    }
    edit_.Con1 = entry;
    if (txtUName->text().isEmpty()) {
        // The entry's stored credentials; the boxes store them in the profile.
        const RasDialParams params = ras_.GetEntryDialParams(entry);
        txtUName->setText(ToQt(params.userName));
        txtPass->setText(ToQt(params.password));
    }
}

void frmConProf::EntryButton(int line) {
    currentEntry_ = FromQt((line == 1 ? cmbCon1 : cmbCon2)->currentText());
    frmCallback* menu = services_.entryMenu != nullptr ? services_.entryMenu : ownMenu_;
    QPushButton* button = cmdConEdit[static_cast<std::size_t>(line)];
    menu->PopupEntryMenu(button->mapToGlobal(QPoint(0, button->height())));
}

void frmConProf::NewEntry() {
    NewPhoneBookEntry(app_, services_.phoneBookPath, this);
    FillEntryLists();
}

void frmConProf::EditEntry() {
    EditPhoneBookEntry(app_, services_.phoneBookPath, currentEntry_, this);
}

void frmConProf::RenameEntry() {
    if (currentEntry_.empty()) {
        return;
    }
    const std::string old = currentEntry_;
    const auto name = AskName(app_, app_.LangText("enternewname", "Enter new name:"),
                              app_.LangText("renameconnection", "Rename Connection"), old, this);
    if (!name || *name == old) {
        return;
    }
    if (!RenamePhoneBookEntry(services_.phoneBookPath, old, *name)) {
        app_.platform.sound.Beep();
        return;
    }
    currentEntry_ = *name;
    const auto renamed = [&](const std::string& held) { return held == old ? *name : held; };
    edit_.Con1 = renamed(edit_.Con1);
    edit_.Con2 = renamed(edit_.Con2);
    const std::string shown1 = renamed(FromQt(cmbCon1->currentText()));
    const std::string shown2 = renamed(FromQt(cmbCon2->currentText()));
    FillEntryLists();
    SelectEntry(cmbCon1, shown1, true);
    SelectEntry(cmbCon2, shown2, true);
}

void frmConProf::DeleteEntry() {
    if (currentEntry_.empty()) {
        return;
    }
    if (!Confirm(
            app_,
            app_.LangText("deleteconfirm", "Are you sure you want to delete #?", currentEntry_),
            app_.LangText("deleteconnection", "Delete Connection"), this)) {
        return;
    }
    DeletePhoneBookEntry(services_.phoneBookPath, currentEntry_);
    FillEntryLists();
}

// ---- programs ----

int frmConProf::SelectedProgram() const {
    const int row = lstPrograms->currentRow();
    return row >= 0 && row < edit_.nLaunchApps ? row + 1 : 0;
}

void frmConProf::FillPrograms() {
    const QSignalBlocker quiet(lstPrograms);
    lstPrograms->clear();
    const int count = std::clamp(edit_.nLaunchApps, 0, ConnectionProfile::kMaxLaunchApps);
    for (int k = 1; k <= count; ++k) {
        lstPrograms->addItem(
            ToQt(ProgramListLine(edit_.LaunchApps[static_cast<std::size_t>(k)].LaunchAppCL)));
    }
    lstPrograms->setCurrentRow(-1);
}

void frmConProf::EnableProgramBoxes(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtPath, cmdBrowse, chkExitProgram, cmdDelete}) {
        w->setEnabled(on);
    }
}

void frmConProf::ProgramChosen(int row) {
    const int k = SelectedProgram();
    if (row < 0 || k < 1) {
        return;
    }
    const LaunchApp& app = edit_.LaunchApps[static_cast<std::size_t>(k)];
    txtPath->setText(ToQt(app.LaunchAppCL));
    chkExitProgram->setChecked(app.LaunchAppClose);
    EnableProgramBoxes(true);
}

void frmConProf::InsertProgram() {
    if (edit_.nLaunchApps >= ConnectionProfile::kMaxLaunchApps) {
        return;
    }
    edit_.nLaunchApps += 1;
    edit_.LaunchApps[static_cast<std::size_t>(edit_.nLaunchApps)] = LaunchApp{"", true};
    lstPrograms->addItem(QString());
    lstPrograms->setCurrentRow(edit_.nLaunchApps - 1);
    txtPath->setFocus();
    txtPath->selectAll();
}

void frmConProf::DeleteProgram() {
    const int k = SelectedProgram();
    if (k < 1) {
        return;
    }
    auto& apps = edit_.LaunchApps;
    for (int j = k; j < edit_.nLaunchApps; ++j) {
        apps[static_cast<std::size_t>(j)] = apps[static_cast<std::size_t>(j + 1)];
    }
    apps[static_cast<std::size_t>(edit_.nLaunchApps)] = LaunchApp{};
    edit_.nLaunchApps -= 1;
    FillPrograms();
    txtPath->clear();
    chkExitProgram->setChecked(false);
    EnableProgramBoxes(false);
}

void frmConProf::BrowseProgram() {
    if (SelectedProgram() < 1) {
        return;
    }
    const std::string current = ProgramPathOf(FromQt(txtPath->text()));
    const std::string chosen =
        chooseProgram ? chooseProgram(current) : ChooseProgramFile(app_, current, this);
    if (!chosen.empty()) {
        txtPath->setText(ToQt(QuoteProgramPath(chosen)));
    }
}

// ---- charge profiles ----

void frmConProf::FillCharges() {
    const QSignalBlocker quiet(lstCharges);
    lstCharges->clear();
    lstCharges->addItem(ToQt(app_.LangText("nocharges", "No Charges")));
    if (services_.charges.names) {
        for (const auto& name : services_.charges.names()) {
            lstCharges->addItem(ToQt(name));
        }
    }
    lstCharges->setCurrentRow(-1);
    cmdCPAdd->setEnabled(static_cast<bool>(services_.charges.add));
}

void frmConProf::ChargeChosen(int row) {
    if (row >= 0) {
        edit_.ChargeProfile = FromQt(lstCharges->item(row)->text());
    }
    cmdCPEdit->setEnabled(row > 0 && services_.charges.edit);
    cmdCPDelete->setEnabled(row > 0 && services_.charges.remove);
}

void frmConProf::AddCharge() {
    if (!services_.charges.add) {
        return;
    }
    const auto name =
        AskName(app_, app_.LangText("enterchargename", "Enter phonecharge profile name"),
                app_.LangText("entername", "Enter name"), "", this);
    if (!name || name->empty()) {
        return;
    }
    // A second profile of the same name would share the first one's section.
    for (int row = 1; row < lstCharges->count(); ++row) {
        if (FromQt(lstCharges->item(row)->text()) == *name) {
            app_.platform.sound.Beep();
            return;
        }
    }
    if (!services_.charges.add(*name)) {
        app_.platform.sound.Beep();
        return;
    }
    lstCharges->addItem(ToQt(*name));
    lstCharges->setCurrentRow(lstCharges->count() - 1);
    EditCharge();
}

void frmConProf::EditCharge() {
    const int row = lstCharges->currentRow();
    if (row > 0 && services_.charges.edit) {
        services_.charges.edit(FromQt(lstCharges->item(row)->text()), this);
    }
}

void frmConProf::DeleteCharge() {
    const int row = lstCharges->currentRow();
    if (row < 1 || !services_.charges.remove) {
        return;
    }
    services_.charges.remove(row);
    FillCharges();
    lstCharges->setCurrentRow(0);
}

// ---- OK ----

void frmConProf::OkClicked() {
    if (txtName->text().isEmpty() || cmbCon1->currentText().isEmpty()) {
        app_.platform.sound.Beep();
        return;
    }
    accepted_ = true;
    if (edit_.Con2 == edit_.Con1) {
        edit_.Con2.clear();
    }
    app_.settings.GlobalLaunchApps = chkGlobal->isChecked();
    if (app_.settings.GlobalLaunchApps) {
        ConnectionProfile& global = app_.profiles.ConProf[0];
        global.nLaunchApps = edit_.nLaunchApps;
        global.LaunchApps = edit_.LaunchApps;
    }
    accept();
}

// ---- the main window's commands ----

bool EditConnectionProfile(AppCore& app, RasFunc& ras, int profile, ProfileReferences& refs,
                           const ConProfServices& services, QWidget* parent) {
    ConnectionProfile buffer;
    if (profile == 0) {
        if (app.profiles.nProfs >= ProfileTable::kMaxProfiles) {
            std::string unused;
            MsgBoxEx(app,
                     app.LangText("toomanyprofiles",
                                  "There is no room for more than # connection profiles.",
                                  std::to_string(ProfileTable::kMaxProfiles)),
                     app.LangText("notification", "Notification"), kMsgBoxInformation, unused, 0,
                     parent);
            return false;
        }
    } else if (const ConnectionProfile* existing = app.profiles.Find(profile)) {
        buffer = *existing;
    } else {
        return false;
    }
    frmConProf editor(app, ras, buffer, services, parent);
    editor.SetData();
    editor.exec();
    if (!editor.DialogAccepted()) {
        return false;
    }
    // The selection follows the edited profile through the sort, also when the caller keeps none.
    int selection = profile;
    ProfileReferences held = refs;
    if (held.selProfile == nullptr) {
        held.selProfile = &selection;
    }
    bool changed = true;
    if (profile == 0) {
        changed = AddConnectionProfile(app.profiles, held, editor.EditProfile());
    } else {
        *held.selProfile = profile;
        ReplaceSelectedProfile(app.profiles, held, editor.EditProfile());
    }
    if (held.settings == nullptr) {
        SaveSettings(app.settings);  // GlobalLaunchApps
    }
    return changed;
}

}  // namespace kestrelon
