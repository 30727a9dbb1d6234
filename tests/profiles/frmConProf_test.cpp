#include "profiles/frmConProf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

#include "core/Scramble.h"
#include "dialer/RasFunc.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmMsgBox.h"
#include "platform/qt/WindowTestSupport.h"
#include "profiles/ConProfMod.h"
#include "profiles/PhoneBookEntries.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

constexpr const char* kPhoneBook =
    "[Nightjar Online]\nPhoneNumber=0800 1\nUserName=guest\nPassword=nightjar\n"
    "[Harbour Net]\nPhoneNumber=0800 2\nUserName=sailor\nPassword=harbour\n"
    "[Brief Link]\nPhoneNumber=0800 3\n";

// The phone-book side of the remote access service over the phone book file. (The simulated
// service's header cannot share a file with the profile store's: both name a PhoneBookEntry.)
class PhoneBookBackend : public RasBackend {
  public:
    explicit PhoneBookBackend(std::string path) : path_(std::move(path)) {}
    void SetDialEventSink(DialEventSink) override {}
    std::vector<std::string> EnumEntries() override { return PhoneBookEntryNames(path_); }
    RasDialParams GetEntryDialParams(const std::string& entry) override {
        const PhoneBookEntryKeys keys = ReadPhoneBookEntry(path_, entry);
        return {keys.userName, keys.password};
    }
    std::uint32_t Dial(int, const std::string&, const std::string&, const std::string&,
                       RasHandle& handle) override {
        handle = 0;
        return 623;
    }
    void HangUp(RasHandle) override {}
    std::uint32_t GetConnectStatus(RasHandle, std::uint32_t&) override {
        return kErrorInvalidHandle;
    }
    std::vector<RasConnection> EnumConnections() override { return {}; }
    std::optional<std::uint32_t> ConnectDurationMs(RasHandle) override { return std::nullopt; }
    std::string IpAddress(RasHandle) override { return ""; }
    std::string ErrorString(std::uint32_t) override { return ""; }

  private:
    std::string path_;
};

class ConProfTest : public test::WindowTest {
  protected:
    ConProfTest() { test::WriteFile(PhoneBookPath(), kPhoneBook); }

    std::string PhoneBookPath() const { return dir_.File("rasphone.pbk"); }

    ConProfServices Services() {
        ConProfServices services;
        services.phoneBookPath = PhoneBookPath();
        services.charges.names = [this] { return chargeNames_; };
        services.charges.add = [this](const std::string& name) {
            chargeNames_.push_back(name);
            return true;
        };
        services.charges.edit = [this](const std::string& name, QWidget*) {
            edited_.push_back(name);
            return true;
        };
        services.charges.remove = [this](int k) {
            chargeNames_.erase(chargeNames_.begin() + (k - 1));
            return true;
        };
        return services;
    }

    // The editor over a profile, loaded and filled as the main window opens it.
    std::unique_ptr<frmConProf> Open(const ConnectionProfile& profile = {}) {
        auto editor = std::make_unique<frmConProf>(app_, ras_, profile, Services());
        editor->SetData();
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        return editor;
    }

    static void Choose(QComboBox* list, const QString& text) {
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        // As a pick from the drop-down: one choice, not a walk through the entries above it.
        list->setCurrentIndex(index);
    }
    static void Retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    static QStringList Texts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }
    void AddProfile(const std::string& name, const std::string& con1) {
        ConnectionProfile& p =
            app_.profiles.ConProf[static_cast<std::size_t>(++app_.profiles.nProfs)];
        p.Name = name;
        p.Con1 = con1;
    }
    // Answers the next input box with a text.
    static void AnswerInput(const QString& text) {
        WhenModalOpens([text](QWidget* modal) {
            auto* box = qobject_cast<frmMsgBox*>(modal);
            ASSERT_NE(box, nullptr);
            box->txtInput->setText(text);
            QTest::mouseClick(box->cmdYes, Qt::LeftButton);
        });
    }

    PhoneBookBackend service_{PhoneBookPath()};
    RasFunc ras_{service_, app_.lang};
    std::vector<std::string> chargeNames_{"Daytime", "Weekend"};
    std::vector<std::string> edited_;
};

TEST_F(ConProfTest, OkNeedsANameAndAConnectionAndAChosenEntryFillsTheName) {
    auto editor = Open();
    QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    EXPECT_EQ(fake_.sound.beeps, 1);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->DialogAccepted());

    Choose(editor->cmbCon1, "Harbour Net");
    EXPECT_EQ(editor->txtName->text(), "Harbour Net");
    EXPECT_EQ(editor->EditProfile().Name, "Harbour Net");
    EXPECT_EQ(editor->EditProfile().Con1, "Harbour Net");
    // The user name was empty: the entry's stored credentials come along, scrambled.
    EXPECT_EQ(editor->EditProfile().UName, "sailor");
    EXPECT_EQ(editor->EditProfile().Pass, ScramblePassword("harbour"));

    // A typed name stays when another entry is chosen.
    Retype(editor->txtName, "Work");
    Choose(editor->cmbCon1, "Nightjar Online");
    EXPECT_EQ(editor->EditProfile().Name, "Work");
    EXPECT_EQ(editor->EditProfile().UName, "sailor") << "a user name is never overwritten";

    Retype(editor->txtName, "");
    QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    EXPECT_EQ(fake_.sound.beeps, 2);
    EXPECT_TRUE(editor->isVisible());
    QTest::keyClicks(editor->txtName, "Home");
    QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    EXPECT_TRUE(editor->DialogAccepted());
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(ConProfTest, AnExistingProfileWithoutUserNameGetsTheEntrysCredentials) {
    ConnectionProfile profile;
    profile.Name = "Travel";
    profile.Con1 = "Nightjar Online";
    auto editor = Open(profile);
    EXPECT_EQ(editor->EditProfile().UName, "guest");
    EXPECT_EQ(editor->EditProfile().Pass, ScramblePassword("nightjar"));
    EXPECT_EQ(editor->txtUName->text(), "guest");

    profile.UName = "me";
    profile.Pass = ScramblePassword("mine");
    auto other = Open(profile);
    EXPECT_EQ(other->EditProfile().UName, "me");
    EXPECT_EQ(other->EditProfile().Pass, ScramblePassword("mine"));
}

TEST_F(ConProfTest, AStoredPasswordShowsAsAsterisksAndIsRetypedWhole) {
    ConnectionProfile profile;
    profile.Name = "Travel";
    profile.Con1 = "Nightjar Online";
    profile.UName = "me";
    profile.Pass = ScramblePassword("s3cret");
    {
        auto editor = Open(profile);
        EXPECT_EQ(editor->txtPass->text(), "******");
        QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
        EXPECT_EQ(editor->EditProfile().Pass, profile.Pass) << "untouched box, same password";
    }
    {
        auto editor = Open(profile);
        editor->txtPass->setFocus();
        editor->txtPass->end(false);
        QTest::keyClick(editor->txtPass, Qt::Key_X);
        EXPECT_EQ(editor->txtPass->text(), "x") << "the key empties the box first";
        EXPECT_EQ(editor->EditProfile().Pass, ScramblePassword("x"));
        // Tabbing through the box is no key press into it.
        QTest::keyClicks(editor->txtPass, "*y");
        EXPECT_EQ(editor->txtPass->text(), "y");
        EXPECT_EQ(editor->EditProfile().Pass, ScramblePassword("y"));
    }
    {
        // A text that begins with an asterisk is never stored.
        auto editor = Open(profile);
        editor->txtPass->setText("*abc");
        EXPECT_EQ(editor->EditProfile().Pass, profile.Pass);
    }
}

TEST_F(ConProfTest, NumberBoxesFilterKeysAndIgnoreOverLargeValues) {
    ConnectionProfile profile;
    profile.Name = "P";
    profile.Con1 = "Brief Link";
    profile.CancCall = 60;
    profile.MaxDials = 5;
    profile.TrayTimer = 2;
    profile.CountDown = 5400;
    auto editor = Open(profile);
    editor->TabStrip1->setCurrentIndex(2);
    QApplication::processEvents();
    EXPECT_EQ(editor->txtCountDown->text(), "1:30");
    EXPECT_TRUE(editor->txtCountDown->isEnabled());
    EXPECT_TRUE(editor->txtCountDown->isVisible());
    EXPECT_FALSE(editor->txtCountDown->isReadOnly());

    Retype(editor->txtCountDown, "2:05");
    EXPECT_EQ(editor->EditProfile().CountDown, 7500);
    Retype(editor->txtCountDown, "9");
    EXPECT_EQ(editor->EditProfile().CountDown, 540);
    Retype(editor->txtCountDown, "125");
    EXPECT_EQ(editor->EditProfile().CountDown, 7500);
    QTest::keyClicks(editor->txtCountDown, "x:");
    EXPECT_EQ(editor->txtCountDown->text(), "125:") << "letters never reach the box";
    QTest::keyClicks(editor->txtCountDown, "3");
    EXPECT_EQ(editor->EditProfile().CountDown, 125 * 3600 + 180);
    QTest::keyClicks(editor->txtCountDown, "0");  // six characters: no change
    EXPECT_EQ(editor->txtCountDown->text(), "125:30");
    EXPECT_EQ(editor->EditProfile().CountDown, 125 * 3600 + 180);

    editor->TabStrip1->setCurrentIndex(1);
    QApplication::processEvents();
    Retype(editor->txtCancCall, "15999");
    EXPECT_EQ(editor->EditProfile().CancCall, 15999);
    Retype(editor->txtCancCall, "90");
    QTest::keyClicks(editor->txtCancCall, "a-");
    EXPECT_EQ(editor->txtCancCall->text(), "90");
    Retype(editor->txtCancCall, "16000");
    EXPECT_EQ(editor->EditProfile().CancCall, 1600) << "the value before the last digit";
    Retype(editor->txtCancCall, "");
    QTest::keyClicks(editor->txtCancCall, "45");
    editor->txtCancCall->setText("16000");
    EXPECT_EQ(editor->EditProfile().CancCall, 45);

    Retype(editor->txtMaxDials, "29999");
    EXPECT_EQ(editor->EditProfile().MaxDials, 29999);
    editor->txtMaxDials->setText("30000");
    EXPECT_EQ(editor->EditProfile().MaxDials, 29999);
    // Pasted text was not filtered: its leading digits count.
    editor->txtMaxDials->setText("12dials");
    EXPECT_EQ(editor->EditProfile().MaxDials, 12);

    editor->TabStrip1->setCurrentIndex(2);
    QApplication::processEvents();
    Retype(editor->txtWarning, "12345678");
    EXPECT_EQ(editor->EditProfile().Warning, 12345678);
    QTest::keyClicks(editor->txtWarning, "9");
    EXPECT_EQ(editor->EditProfile().Warning, 12345678) << "nine characters are ignored";

    editor->TabStrip1->setCurrentIndex(1);
    QApplication::processEvents();
    Retype(editor->txtIgnErr, "676 678x");
    EXPECT_EQ(editor->EditProfile().IgnErr, "676 678");
}

TEST_F(ConProfTest, TrayOptionsEnableTheirBoxesAndThePaletteSetsTheColour) {
    ConnectionProfile profile;
    profile.TrayColor = 99;
    auto editor = Open(profile);
    EXPECT_EQ(editor->EditProfile().TrayColor, 0) << "a colour beyond 15 is black";
    EXPECT_TRUE(editor->optTrayTimer[0]->isChecked());
    EXPECT_FALSE(editor->txtCountDown->isEnabled());
    EXPECT_FALSE(editor->pctClr->isEnabled());

    editor->TabStrip1->setCurrentIndex(2);
    QApplication::processEvents();
    editor->optTrayTimer[1]->click();
    EXPECT_EQ(editor->EditProfile().TrayTimer, 1);
    EXPECT_FALSE(editor->txtWarning->isEnabled());
    EXPECT_TRUE(editor->pctClr->isEnabled());
    const int w = editor->pctClr->width();
    const int h = editor->pctClr->height();
    QTest::mousePress(editor->pctClr, Qt::LeftButton, {}, QPoint(w * 2 / 8 + 1, h / 2 + 1));
    EXPECT_EQ(editor->EditProfile().TrayColor, 10);
    EXPECT_EQ(editor->pctClrEx->pixmap().toImage().pixelColor(5, 5), QColor(0, 255, 0));

    editor->optTrayTimer[2]->click();
    EXPECT_TRUE(editor->txtCountDown->isEnabled());
    EXPECT_TRUE(editor->lblWarning->isEnabled());
    editor->optTrayTimer[0]->click();
    QTest::mousePress(editor->pctClr, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(editor->EditProfile().TrayColor, 10) << "no colour without a counter";
}

TEST_F(ConProfTest, TheProgramListHoldsThirtyTwoProgramsAndShowsFileNames) {
    ConnectionProfile profile;
    profile.nLaunchApps = 1;
    profile.LaunchApps[1] = {"C:\\Mail\\mail.exe", false};
    auto editor = Open(profile);
    EXPECT_EQ(Texts(editor->lstPrograms), QStringList{"mail"});
    EXPECT_FALSE(editor->txtPath->isEnabled());

    QTest::mouseClick(editor->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(editor->EditProfile().nLaunchApps, 2);
    EXPECT_TRUE(editor->chkExitProgram->isChecked()) << "a new program ends with the line";
    EXPECT_TRUE(editor->txtPath->isEnabled());
    QTest::keyClicks(editor->txtPath, "/usr/bin/fetchmail.sh -d");
    EXPECT_EQ(Texts(editor->lstPrograms), (QStringList{"mail", "fetchmail"}));
    EXPECT_EQ(editor->EditProfile().LaunchApps[2], (LaunchApp{"/usr/bin/fetchmail.sh -d", true}));
    QTest::mouseClick(editor->chkExitProgram, Qt::LeftButton);
    EXPECT_FALSE(editor->EditProfile().LaunchApps[2].LaunchAppClose);

    editor->chooseProgram = [](const std::string& current) {
        EXPECT_EQ(current, "/usr/bin/fetchmail.sh");
        return std::string("/opt/My Tools/run.sh");
    };
    QTest::mouseClick(editor->cmdBrowse, Qt::LeftButton);
    EXPECT_EQ(editor->EditProfile().LaunchApps[2].LaunchAppCL, "\"/opt/My Tools/run.sh\"");
    EXPECT_EQ(editor->lstPrograms->item(1)->text(), "run");

    for (int i = 3; i <= 32; ++i) {
        QTest::mouseClick(editor->cmdInsert, Qt::LeftButton);
    }
    EXPECT_EQ(editor->EditProfile().nLaunchApps, 32);
    QTest::mouseClick(editor->cmdInsert, Qt::LeftButton);
    EXPECT_EQ(editor->EditProfile().nLaunchApps, 32);
    EXPECT_EQ(editor->lstPrograms->count(), 32);

    editor->lstPrograms->setCurrentRow(0);
    EXPECT_EQ(editor->txtPath->text(), "C:\\Mail\\mail.exe");
    QTest::mouseClick(editor->cmdDelete, Qt::LeftButton);
    EXPECT_EQ(editor->EditProfile().nLaunchApps, 31);
    EXPECT_EQ(editor->EditProfile().LaunchApps[1].LaunchAppCL, "\"/opt/My Tools/run.sh\"");
    EXPECT_EQ(editor->lstPrograms->currentRow(), -1);
    EXPECT_TRUE(editor->txtPath->text().isEmpty());
    EXPECT_FALSE(editor->txtPath->isEnabled());
    EXPECT_FALSE(editor->cmdDelete->isEnabled());
    EXPECT_FALSE(editor->chkExitProgram->isChecked());
}

TEST_F(ConProfTest, GlobalSettingsEditTheGlobalListAndStoreItInTheProfileToo) {
    app_.settings.GlobalLaunchApps = true;
    app_.profiles.ConProf[0].nLaunchApps = 1;
    app_.profiles.ConProf[0].LaunchApps[1] = {"/usr/bin/global", true};
    ConnectionProfile profile;
    profile.Name = "Own";
    profile.Con1 = "Brief Link";
    profile.nLaunchApps = 2;
    profile.LaunchApps[1] = {"/bin/own1", false};
    profile.LaunchApps[2] = {"/bin/own2", false};
    auto editor = Open(profile);
    EXPECT_TRUE(editor->chkGlobal->isChecked());
    EXPECT_EQ(Texts(editor->lstPrograms), QStringList{"global"});
    QTest::mouseClick(editor->cmdInsert, Qt::LeftButton);
    QTest::keyClicks(editor->txtPath, "/bin/added");
    QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    ASSERT_TRUE(editor->DialogAccepted());
    EXPECT_EQ(app_.profiles.ConProf[0].nLaunchApps, 2);
    EXPECT_EQ(app_.profiles.ConProf[0].LaunchApps[2].LaunchAppCL, "/bin/added");
    EXPECT_EQ(editor->EditProfile().nLaunchApps, 2);
    EXPECT_EQ(editor->EditProfile().LaunchApps[1].LaunchAppCL, "/usr/bin/global");

    // Unticked, the setting goes off on OK and the global list stays as it was.
    auto again = Open(profile);
    QTest::mouseClick(again->chkGlobal, Qt::LeftButton);
    EXPECT_TRUE(app_.settings.GlobalLaunchApps) << "the tick counts only on OK";
    QTest::mouseClick(again->cmdInsert, Qt::LeftButton);
    QTest::mouseClick(again->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(app_.settings.GlobalLaunchApps);
    EXPECT_EQ(app_.profiles.ConProf[0].nLaunchApps, 2);
    EXPECT_EQ(again->EditProfile().nLaunchApps, 3);
}

TEST_F(ConProfTest, SecondConnectionEqualToTheFirstIsClearedOnOk) {
    ConnectionProfile profile;
    profile.Name = "Dual";
    profile.Con1 = "Harbour Net";
    profile.UName = "x";
    auto editor = Open(profile);
    EXPECT_FALSE(editor->cmbCon2->isEnabled());
    QTest::mouseClick(editor->chkCon2, Qt::LeftButton);
    EXPECT_TRUE(editor->cmbCon2->isEnabled());
    EXPECT_TRUE(editor->cmdConEdit[2]->isEnabled());
    Choose(editor->cmbCon2, "Harbour Net");
    EXPECT_EQ(editor->EditProfile().Con2, "Harbour Net");
    QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    EXPECT_EQ(editor->EditProfile().Con2, "");

    profile.Con2 = "Brief Link";
    auto other = Open(profile);
    EXPECT_TRUE(other->chkCon2->isChecked());
    QTest::mouseClick(other->chkCon2, Qt::LeftButton);
    EXPECT_EQ(other->EditProfile().Con2, "") << "unticking empties the second connection";
}

TEST_F(ConProfTest, ChargeProfilesAreAddedEditedAndDeletedFromTheList) {
    ConnectionProfile profile;
    profile.ChargeProfile = "Weekend";
    auto editor = Open(profile);
    EXPECT_EQ(Texts(editor->lstCharges), (QStringList{"No Charges", "Daytime", "Weekend"}));
    EXPECT_EQ(editor->lstCharges->currentRow(), 2);
    EXPECT_TRUE(editor->cmdCPDelete->isEnabled());

    AnswerInput("Night");
    QTest::mouseClick(editor->cmdCPAdd, Qt::LeftButton);
    EXPECT_EQ(chargeNames_.back(), "Night");
    EXPECT_EQ(editor->lstCharges->currentItem()->text(), "Night");
    EXPECT_EQ(editor->EditProfile().ChargeProfile, "Night");
    EXPECT_EQ(edited_, std::vector<std::string>{"Night"}) << "the editor opens on a new one";

    AnswerInput("Daytime");  // taken: refused with a beep
    QTest::mouseClick(editor->cmdCPAdd, Qt::LeftButton);
    EXPECT_EQ(chargeNames_.size(), 3u);
    EXPECT_EQ(fake_.sound.beeps, 1);

    editor->lstCharges->setCurrentRow(1);
    QTest::mouseClick(editor->cmdCPDelete, Qt::LeftButton);
    EXPECT_EQ(chargeNames_, (std::vector<std::string>{"Weekend", "Night"}));
    EXPECT_EQ(Texts(editor->lstCharges), (QStringList{"No Charges", "Weekend", "Night"}));
    EXPECT_EQ(editor->lstCharges->currentRow(), 0);
    EXPECT_EQ(editor->EditProfile().ChargeProfile, "No Charges");
    EXPECT_FALSE(editor->cmdCPEdit->isEnabled());
    EXPECT_FALSE(editor->cmdCPDelete->isEnabled());
}

TEST_F(ConProfTest, AnUnknownChargeProfileShowsAsNoCharges) {
    ConnectionProfile profile;
    profile.ChargeProfile = "Gone";
    auto editor = Open(profile);
    EXPECT_EQ(editor->lstCharges->currentRow(), 0);
    EXPECT_EQ(editor->EditProfile().ChargeProfile, "No Charges");
}

TEST_F(ConProfTest, RenamingAndDeletingEntriesKeepTheConnectionsRight) {
    ConnectionProfile profile;
    profile.Name = "Both";
    profile.Con1 = "Harbour Net";
    profile.Con2 = "Brief Link";
    profile.UName = "u";
    auto editor = Open(profile);
    QTest::mouseClick(editor->cmdConEdit[1], Qt::LeftButton);
    EXPECT_EQ(editor->CurrentEntry(), "Harbour Net");
    AnswerInput("Harbour Fast");
    editor->RenameEntry();
    EXPECT_EQ(editor->EditProfile().Con1, "Harbour Fast");
    EXPECT_EQ(editor->cmbCon1->currentText(), "Harbour Fast");
    EXPECT_EQ(editor->cmbCon2->currentText(), "Brief Link");
    EXPECT_EQ(PhoneBookEntryNames(PhoneBookPath()),
              (std::vector<std::string>{"Nightjar Online", "Harbour Fast", "Brief Link"}));
    EXPECT_EQ(ras_.EnumRasEntries()[1], "Harbour Fast");

    QTest::mouseClick(editor->cmdConEdit[2], Qt::LeftButton);
    EXPECT_EQ(editor->CurrentEntry(), "Brief Link");
    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<frmMsgBox*>(modal)->cmdYes, Qt::LeftButton);
    });
    editor->DeleteEntry();
    EXPECT_EQ(editor->cmbCon2->count(), 2);
    EXPECT_EQ(editor->cmbCon2->currentIndex(), -1);
    EXPECT_EQ(editor->cmbCon1->currentText(), "Harbour Fast");
    EXPECT_FALSE(PhoneBookHasEntry(PhoneBookPath(), "Brief Link"));

    // Cancelled questions change nothing.
    QTest::mouseClick(editor->cmdConEdit[1], Qt::LeftButton);
    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<frmMsgBox*>(modal)->cmdNo, Qt::LeftButton);
    });
    editor->DeleteEntry();
    EXPECT_TRUE(PhoneBookHasEntry(PhoneBookPath(), "Harbour Fast"));
}

TEST_F(ConProfTest, F1ShowsTheTopicOfTheCurrentTab) {
    auto editor = Open();
    const char* const topics[] = {"cpaccount", "cpdialing", "cptrayicon", "cpprograms",
                                  "cpcharges"};
    for (int tab = 0; tab < frmConProf::kTabs; ++tab) {
        editor->TabStrip1->setCurrentIndex(tab);
        EXPECT_EQ(editor->CurrentTab(), tab + 1);
        QTest::keyClick(editor.get(), Qt::Key_F1);
        auto* help = editor->findChild<frmHelp*>();
        ASSERT_NE(help, nullptr);
        const QString shown = help->txtHelp->source().fileName() + help->txtHelp->toPlainText();
        EXPECT_TRUE(shown.contains(QString(topics[tab]) + ".htm")) << shown.toStdString();
    }
}

TEST_F(ConProfTest, AddAndEditGoThroughTheProfileTable) {
    AddProfile("Beta", "Harbour Net");
    AddProfile("Gamma", "Brief Link");
    app_.SelProfile = 2;
    ProfileReferences refs;
    refs.selProfile = &app_.SelProfile;
    refs.settings = &app_.settings;
    WhenModalOpens([](QWidget* modal) {
        auto* editor = qobject_cast<frmConProf*>(modal);
        ASSERT_NE(editor, nullptr);
        editor->cmbCon1->setCurrentIndex(0);
        editor->txtName->setText("alpha");
        QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    });
    EXPECT_TRUE(EditConnectionProfile(app_, ras_, 0, refs, Services()));
    ASSERT_EQ(app_.profiles.nProfs, 3);
    EXPECT_EQ(app_.profiles.ConProf[1].Name, "alpha");
    EXPECT_EQ(app_.profiles.ConProf[1].Con1, "Nightjar Online");
    EXPECT_EQ(app_.SelProfile, 1);

    WhenModalOpens([](QWidget* modal) {
        auto* editor = qobject_cast<frmConProf*>(modal);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->txtName->text(), "Gamma");
        editor->txtName->setText("Delta");
        QTest::mouseClick(editor->cmdCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(EditConnectionProfile(app_, ras_, 3, refs, Services()));
    EXPECT_EQ(app_.profiles.ConProf[3].Name, "Gamma");

    WhenModalOpens([](QWidget* modal) {
        auto* editor = qobject_cast<frmConProf*>(modal);
        editor->txtName->setText("Aardvark");
        QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
    });
    EXPECT_TRUE(EditConnectionProfile(app_, ras_, 3, refs, Services()));
    EXPECT_EQ(app_.profiles.ConProf[1].Name, "Aardvark");
    EXPECT_EQ(app_.SelProfile, 1) << "the selection follows the renamed profile";
    ProfileTable stored;
    LoadProfiles(stored);
    EXPECT_EQ(stored.nProfs, 3);
    EXPECT_EQ(stored.ConProf[1].Name, "Aardvark");
}

}  // namespace
}  // namespace kestrelon
