#include "profiles/ConProfMod.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "conman/ScheduledTask.h"
#include "core/AppSettings.h"
#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "core/Scramble.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::ReadFile;
using test::WriteFile;

ConnectionProfile Named(const std::string& name, int backup = 0) {
    ConnectionProfile p;
    p.Name = name;
    p.Con1 = name + " Line";
    p.BackupCon = backup;
    return p;
}

// The lines of one section of an INI text, without its header; case-blind section name.
std::vector<std::string> SectionLines(const std::string& content, const std::string& section) {
    std::vector<std::string> lines;
    std::istringstream in(content);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.starts_with('[')) {
            inside = ToLower(line) == "[" + ToLower(section) + "]";
        } else if (inside) {
            lines.push_back(line);
        }
    }
    return lines;
}

class ProfileStoreTest : public ::testing::Test {
  protected:
    ProfileStoreTest() {
        InitSoundEvents(settings_.sounds);
        refs_.selProfile = &sel_;
        refs_.sessionProfile = &session_;
        refs_.settings = &settings_;
        refs_.tasks = &tasks_;
        refs_.hangUpAll = [this] { ++hangUps_; };
    }

    std::string Ini() const { return dir_.File("Kestrelon.Ini"); }

    void Fill(const std::vector<ConnectionProfile>& profiles) {
        table_.nProfs = static_cast<int>(profiles.size());
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            table_.ConProf[i + 1] = profiles[i];
        }
    }

    std::vector<std::string> Names(const ProfileTable& table) const {
        std::vector<std::string> names;
        for (int i = 1; i <= table.nProfs; ++i) {
            names.push_back(table.Find(i)->Name);
        }
        return names;
    }
    std::string NameOf(int n) const {
        const ConnectionProfile* p = table_.Find(n);
        return p != nullptr ? p->Name : "<none " + std::to_string(n) + ">";
    }

    void AddTask(int action, int connection) {
        tasks_.tasks[static_cast<std::size_t>(++tasks_.nTasks)] = {8, 0, action, connection};
    }
    int TaskConnection(int t) const { return tasks_.tasks[static_cast<std::size_t>(t)].connection; }

    std::unique_ptr<ProfileTable> Reloaded() const {
        auto table = std::make_unique<ProfileTable>();
        LoadProfiles(*table);
        return table;
    }

    TempProgramDirectory dir_;
    ProfileTable table_;
    AppSettings settings_;
    TaskTable tasks_;
    int sel_ = 0;
    int session_ = 0;
    int hangUps_ = 0;
    ProfileReferences refs_;
};

TEST_F(ProfileStoreTest, OfficeExampleIsWrittenByteForByte) {
    ConnectionProfile office;
    office.Name = "Office";
    office.Con1 = "Office Line";
    office.UName = "jdoe";
    office.Reconnect = true;
    office.TrayTimer = 2;
    office.TrayColor = 10;
    office.CancCall = 60;
    office.MaxDials = 5;
    office.nLaunchApps = 1;
    office.LaunchApps[1] = {"C:\\Mail\\mail.exe", true};
    Fill({office});
    ProfileReferences noRefs;  // no settings: the file holds the profile section alone
    SaveProfiles(table_, noRefs);

    const std::string expected =
        "[ConProf]\n"
        "nProfs=1\n"
        "0Name=\n0Con1=\n0Con2=\n0UName=\n0Pass=\n0Reconnect=False\n0IgnFErr=False\n0IgnErr=\n"
        "0TrayTimer=0\n0Countdown=0\n0Warning=0\n0TrayColor=0\n0CancCall=0\n0KeepAlive=False\n"
        "0BackupCon=0\n0MaxDials=0\n0ChargeProfile=\n0nLaunchApps=0\n"
        "1Name=Office\n"
        "1Con1=Office Line\n"
        "1Con2=\n"
        "1UName=jdoe\n"
        "1Pass=\n"
        "1Reconnect=True\n"
        "1IgnFErr=False\n"
        "1IgnErr=\n"
        "1TrayTimer=2\n"
        "1Countdown=0\n"
        "1Warning=0\n"
        "1TrayColor=10\n"
        "1CancCall=60\n"
        "1KeepAlive=False\n"
        "1BackupCon=0\n"
        "1MaxDials=5\n"
        "1ChargeProfile=\n"
        "1nLaunchApps=1\n"
        "1LaunchAppCL1=C:\\Mail\\mail.exe\n"
        "1LaunchAppClose1=True\n";
    EXPECT_EQ(ReadFile(Ini()), expected);
    EXPECT_EQ(*Reloaded()->Find(1), office);
}

TEST_F(ProfileStoreTest, EveryFieldSurvivesSaveAndLoadBesideTheSettings) {
    settings_.StartCon = -1;
    ConnectionProfile p = Named("Home", 2);
    p.Con2 = "Home ISDN";
    p.UName = "me";
    p.Pass = ScramblePassword("s3cret pw");
    p.IgnFErr = true;
    p.IgnErr = "676 678";
    p.TrayTimer = 1;
    p.TrayColor = 15;
    p.CountDown = 5400;
    p.Warning = 5;
    p.KeepAlive = true;
    p.ChargeProfile = "Night tariff";
    p.nLaunchApps = 2;
    p.LaunchApps[1] = {"/usr/bin/mail --check", false};
    p.LaunchApps[2] = {"/opt/news", true};
    Fill({p, Named("Work")});
    table_.ConProf[0].nLaunchApps = 1;
    table_.ConProf[0].LaunchApps[1] = {"/usr/bin/global", true};
    SaveProfiles(table_, refs_);

    const auto lines = SectionLines(ReadFile(Ini()), "ConProf");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1Countdown=5400"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1Pass=" + p.Pass), lines.end());
    EXPECT_EQ(IniReadNumber("Settings", "StartCon"), -1);  // the settings are beside it

    const auto loaded = Reloaded();
    EXPECT_EQ(loaded->nProfs, 2);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_EQ(loaded->ConProf[i], table_.ConProf[i]) << "slot " << i;
    }
}

TEST_F(ProfileStoreTest, MissingCountYieldsNoProfilesButSlotZeroIsRead) {
    LoadProfiles(table_);  // no file at all
    EXPECT_EQ(table_.nProfs, 0);
    EXPECT_EQ(table_.ConProf[0], ConnectionProfile{});

    WriteFile(Ini(),
              "[conprof]\n0nLaunchApps=1\n0LaunchAppCL1=/bin/global\n0LaunchAppClose1=TRUE\n"
              "1Name=Ghost\n1Con1=Ghost Line\n");
    table_.ConProf[1] = Named("stale");
    LoadProfiles(table_);
    EXPECT_EQ(table_.nProfs, 0);
    EXPECT_EQ(table_.ConProf[0].nLaunchApps, 1);
    EXPECT_EQ(table_.ConProf[0].LaunchApps[1], (LaunchApp{"/bin/global", true}));
    EXPECT_EQ(table_.ConProf[1], ConnectionProfile{});
}

TEST_F(ProfileStoreTest, HandEditedValuesReadCaseBlindRoundedAndDefaulted) {
    WriteFile(Ini(),
              "[CONPROF]\nNPROFS=1.6\n"  // rounds to 2
              "1name=First\n1COUNTDOWN=90.5\n1warning=2.5\n1TrayColor=abc\n1CancCall= 45s\n"
              "1Reconnect= true \n1IgnFErr=yes\n1KeepAlive=1\n1MaxDials=-3\n"
              "2Name=Second\n2nLaunchApps=-4\n");
    LoadProfiles(table_);
    ASSERT_EQ(table_.nProfs, 2);
    const ConnectionProfile& p = table_.ConProf[1];
    EXPECT_EQ(p.Name, "First");
    EXPECT_EQ(p.CountDown, 90);  // halves go to the even neighbour
    EXPECT_EQ(p.Warning, 2);
    EXPECT_EQ(p.TrayColor, 0);
    EXPECT_EQ(p.CancCall, 45);
    EXPECT_TRUE(p.Reconnect);
    EXPECT_FALSE(p.IgnFErr);
    EXPECT_FALSE(p.KeepAlive);
    EXPECT_EQ(p.MaxDials, -3);
    EXPECT_EQ(table_.ConProf[2].nLaunchApps, 0);
}

TEST_F(ProfileStoreTest, CountsBeyondTheTableAreCutWhenReading) {
    std::string ini = "[ConProf]\nnProfs=70\n1nLaunchApps=40\n";
    for (int i = 1; i <= 70; ++i) {
        ini += std::to_string(i) + "Name=P" + std::to_string(i) + "\n";
    }
    for (int j = 1; j <= 40; ++j) {
        ini += "1LaunchAppCL" + std::to_string(j) + "=app" + std::to_string(j) + "\n";
    }
    WriteFile(Ini(), ini);
    LoadProfiles(table_);
    EXPECT_EQ(table_.nProfs, ProfileTable::kMaxProfiles);
    EXPECT_EQ(table_.ConProf[64].Name, "P64");
    EXPECT_EQ(table_.ConProf[1].nLaunchApps, ConnectionProfile::kMaxLaunchApps);
    EXPECT_EQ(table_.ConProf[1].LaunchApps[32].LaunchAppCL, "app32");

    WriteFile(Ini(), "[ConProf]\nnProfs=-2\n1Name=P1\n");
    LoadProfiles(table_);
    EXPECT_EQ(table_.nProfs, 0);
}

TEST_F(ProfileStoreTest, OwnBackupIsSavedAsNone) {
    Fill({Named("A", 1), Named("B", 1)});
    SaveProfiles(table_, refs_);
    EXPECT_EQ(table_.ConProf[1].BackupCon, 0);
    EXPECT_EQ(table_.ConProf[2].BackupCon, 1);
    const auto lines = SectionLines(ReadFile(Ini()), "ConProf");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1BackupCon=0"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "2BackupCon=1"), lines.end());
}

TEST_F(ProfileStoreTest, BackupThatBecomesItsOwnNumberBySortingIsNotCleared) {
    // The check looks at the sorted numbers: B backs up A, and stays so after the sort.
    Fill({Named("B", 2), Named("A")});
    SaveProfiles(table_, refs_);
    EXPECT_EQ(Names(table_), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(table_.ConProf[2].BackupCon, 1);
}

TEST_F(ProfileStoreTest, SortRenumbersEveryHeldNumber) {
    // Reverse order; each held number names a profile that must stay the same profile.
    Fill({Named("Delta", 4), Named("charlie", 1), Named("Bravo", 2), Named("alpha", 3)});
    sel_ = 1;                           // Delta
    session_ = 2;                       // charlie
    settings_.StartCon = 3;             // Bravo
    AddTask(kTaskSelectConnection, 4);  // alpha
    AddTask(2, 4);                      // another action: the number is not a profile
    AddTask(kTaskSelectConnection, 0);
    tasks_.tasks[4] = {9, 0, kTaskSelectConnection, 1};  // beyond nTasks

    SaveProfiles(table_, refs_);

    EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "Bravo", "charlie", "Delta"}));
    EXPECT_EQ(NameOf(sel_), "Delta");
    EXPECT_EQ(NameOf(session_), "charlie");
    EXPECT_EQ(NameOf(settings_.StartCon), "Bravo");
    EXPECT_EQ(NameOf(table_.ConProf[4].BackupCon), "alpha");    // Delta -> alpha
    EXPECT_EQ(NameOf(table_.ConProf[3].BackupCon), "Delta");    // charlie -> Delta
    EXPECT_EQ(NameOf(table_.ConProf[2].BackupCon), "charlie");  // Bravo -> charlie
    EXPECT_EQ(NameOf(table_.ConProf[1].BackupCon), "Bravo");    // alpha -> Bravo
    EXPECT_EQ(NameOf(TaskConnection(1)), "alpha");
    EXPECT_EQ(TaskConnection(2), 4);
    EXPECT_EQ(TaskConnection(3), 0);
    EXPECT_EQ(TaskConnection(4), 1);

    // The moved start-up profile is in the settings file, and the file in name order.
    EXPECT_EQ(IniReadNumber("Settings", "StartCon"), 2);
    EXPECT_EQ(Names(*Reloaded()), Names(table_));
}

TEST_F(ProfileStoreTest, NamesEqualApartFromCaseExchangeAtEverySave) {
    Fill({Named("office"), Named("Office")});
    table_.ConProf[1].Con1 = "lower";
    sel_ = 1;
    SaveProfiles(table_, refs_);
    EXPECT_EQ(table_.ConProf[1].Name, "Office");
    EXPECT_EQ(table_.ConProf[sel_].Con1, "lower");
    SaveProfiles(table_, refs_);
    EXPECT_EQ(table_.ConProf[1].Name, "office");
    EXPECT_EQ(sel_, 1);
}

TEST(ProfileNameOrder, IsCaseBlindWithPrefixesAndEqualNamesNotAfter) {
    EXPECT_TRUE(ProfileNameNotAfter("alpha", "Beta"));
    EXPECT_FALSE(ProfileNameNotAfter("Beta", "alpha"));
    EXPECT_TRUE(ProfileNameNotAfter("OFFICE", "office"));
    EXPECT_TRUE(ProfileNameNotAfter("Off", "Office"));
    EXPECT_FALSE(ProfileNameNotAfter("Office", "Off"));
    EXPECT_TRUE(ProfileNameNotAfter("", "x"));
    EXPECT_TRUE(ProfileNameNotAfter("", ""));
    EXPECT_FALSE(ProfileNameNotAfter("x", ""));
    // Codes decide, blanks and digits before letters, and bytes above 127 after them.
    EXPECT_TRUE(ProfileNameNotAfter("Copy of Office", "Copyright"));
    EXPECT_TRUE(ProfileNameNotAfter("9 Dial", "A Dial"));
    EXPECT_TRUE(ProfileNameNotAfter("Zeta", "\xC3\x84rger"));
}

TEST_F(ProfileStoreTest, AddedProfileIsSortedInAndTheSelectionFollows) {
    Fill({Named("Beta"), Named("gamma")});
    settings_.StartCon = 1;
    ASSERT_TRUE(AddConnectionProfile(table_, refs_, Named("alpha")));
    EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "Beta", "gamma"}));
    EXPECT_EQ(sel_, 1);
    EXPECT_EQ(settings_.StartCon, 2);
    EXPECT_EQ(IniReadNumber("Settings", "StartCon"), 2);
    EXPECT_EQ(Names(*Reloaded()), Names(table_));
}

TEST_F(ProfileStoreTest, CopyIsNamedAndPlacedByName) {
    ConnectionProfile office = Named("Office", 1);
    office.UName = "jdoe";
    office.nLaunchApps = 1;
    office.LaunchApps[1] = {"/bin/mail", true};
    Fill({Named("Home"), office, Named("Work")});
    sel_ = 2;
    ASSERT_TRUE(CopyConnectionProfile(table_, refs_, "Copy of"));
    EXPECT_EQ(Names(table_),
              (std::vector<std::string>{"Copy of Office", "Home", "Office", "Work"}));
    EXPECT_EQ(sel_, 1);
    ConnectionProfile expected = office;
    expected.Name = "Copy of Office";
    expected.BackupCon = 2;  // still Home, which moved from 1 to 2
    EXPECT_EQ(table_.ConProf[1], expected);
    EXPECT_EQ(table_.ConProf[3].BackupCon, 2);
}

TEST_F(ProfileStoreTest, CopyWithoutAValidSelectionDoesNothing) {
    Fill({Named("Home")});
    sel_ = 2;
    EXPECT_FALSE(CopyConnectionProfile(table_, refs_, "Copy of"));
    EXPECT_EQ(table_.nProfs, 1);
    EXPECT_FALSE(test::FileExists(Ini()));
}

TEST_F(ProfileStoreTest, FullTableRefusesAddAndCopy) {
    for (int i = 1; i <= ProfileTable::kMaxProfiles; ++i) {
        table_.ConProf[i] = Named("P" + std::to_string(100 + i));
    }
    table_.nProfs = ProfileTable::kMaxProfiles;
    sel_ = 5;
    EXPECT_FALSE(AddConnectionProfile(table_, refs_, Named("Extra")));
    EXPECT_FALSE(CopyConnectionProfile(table_, refs_, "Copy of"));
    EXPECT_EQ(table_.nProfs, ProfileTable::kMaxProfiles);
    EXPECT_EQ(sel_, 5);
    EXPECT_EQ(table_.ConProf[5].Name, "P105");
    EXPECT_FALSE(test::FileExists(Ini()));

    // One below full still takes one more.
    table_.nProfs = ProfileTable::kMaxProfiles - 1;
    EXPECT_TRUE(AddConnectionProfile(table_, refs_, Named("Extra")));
    EXPECT_EQ(table_.nProfs, ProfileTable::kMaxProfiles);
    EXPECT_EQ(NameOf(sel_), "Extra");
}

TEST_F(ProfileStoreTest, ReplacedProfileMovesWithTheSelection) {
    Fill({Named("Alpha"), Named("Beta"), Named("Gamma")});
    sel_ = 1;
    ReplaceSelectedProfile(table_, refs_, Named("Zulu"));
    EXPECT_EQ(Names(table_), (std::vector<std::string>{"Beta", "Gamma", "Zulu"}));
    EXPECT_EQ(sel_, 3);
    EXPECT_EQ(Names(*Reloaded()), Names(table_));
}

TEST_F(ProfileStoreTest, DeleteRenumbersAndClearsWhatNamedTheProfile) {
    Fill({Named("A", 2), Named("B", 1), Named("C", 4), Named("D", 3)});
    settings_.StartCon = 2;
    SaveProfiles(table_, refs_);  // the file now holds StartCon 2
    sel_ = 2;
    session_ = 2;
    AddTask(kTaskSelectConnection, 2);
    AddTask(kTaskSelectConnection, 4);
    AddTask(3, 2);  // another action keeps its number

    DeleteProfile(table_, refs_, 2);

    EXPECT_EQ(hangUps_, 1);
    EXPECT_EQ(Names(table_), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(table_.ConProf[1].BackupCon, 0);  // A: 2 -> 0
    EXPECT_EQ(table_.ConProf[2].BackupCon, 3);  // C: 4 -> 3, still D
    EXPECT_EQ(table_.ConProf[3].BackupCon, 2);  // D: 3 -> 2, still C
    EXPECT_EQ(settings_.StartCon, 0);
    EXPECT_EQ(IniReadNumber("Settings", "StartCon"), 0);
    EXPECT_EQ(sel_, 4);  // one past the new last profile
    EXPECT_EQ(session_, 4);
    EXPECT_EQ(TaskConnection(1), 0);
    EXPECT_EQ(TaskConnection(2), 3);
    EXPECT_EQ(TaskConnection(3), 2);
    EXPECT_EQ(table_.ConProf[4].Name, "D");  // the old last slot is left as it was
}

TEST_F(ProfileStoreTest, DeleteOfAnotherProfileKeepsTheSessionAndMovesStartCon) {
    Fill({Named("A"), Named("B"), Named("C"), Named("D")});
    settings_.StartCon = 3;
    session_ = 1;
    DeleteProfile(table_, refs_, 2);
    EXPECT_EQ(hangUps_, 0);
    EXPECT_EQ(session_, 1);
    EXPECT_EQ(NameOf(settings_.StartCon), "C");
}

TEST_F(ProfileStoreTest, DeletedLastSlotKeysStayInTheFileButAreNotRead) {
    Fill({Named("A"), Named("B"), Named("C")});
    SaveProfiles(table_, refs_);
    DeleteProfile(table_, refs_, 1);
    SaveProfiles(table_, refs_);

    const auto lines = SectionLines(ReadFile(Ini()), "ConProf");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "nProfs=2"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "3Name=C"), lines.end());
    const auto loaded = Reloaded();
    EXPECT_EQ(Names(*loaded), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(loaded->ConProf[3], ConnectionProfile{});
}

TEST_F(ProfileStoreTest, DeleteOutsideTheTableChangesNothing) {
    Fill({Named("A")});
    session_ = 0;
    DeleteProfile(table_, refs_, 0);
    DeleteProfile(table_, refs_, 2);
    EXPECT_EQ(table_.nProfs, 1);
    EXPECT_EQ(hangUps_, 0);
}

TEST_F(ProfileStoreTest, PhoneBookEntriesBecomeSortedProfilesWithScrambledPasswords) {
    const std::vector<FirstRunEntry> entries = {
        {"Work Dial", "worker", "pa ss\"word"}, {"Home", "me", ""}, {"Backup ISP", "", "x"}};
    CreateProfilesFromPhoneBook(table_, refs_, entries);

    EXPECT_EQ(Names(table_), (std::vector<std::string>{"Backup ISP", "Home", "Work Dial"}));
    const ConnectionProfile& work = table_.ConProf[3];
    EXPECT_EQ(work.Con1, "Work Dial");
    EXPECT_EQ(work.UName, "worker");
    EXPECT_NE(work.Pass, "pa ss\"word");
    EXPECT_EQ(UnscramblePassword(work.Pass), "pa ss\"word");
    ConnectionProfile blankRest = work;
    blankRest.Name = blankRest.Con1 = blankRest.UName = blankRest.Pass = "";
    EXPECT_EQ(blankRest, ConnectionProfile{});

    // Stored exactly as held; an empty password as an empty value.
    const auto lines = SectionLines(ReadFile(Ini()), "ConProf");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "3Pass=" + work.Pass), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "2Pass="), lines.end());
    const auto loaded = Reloaded();
    EXPECT_EQ(UnscramblePassword(loaded->ConProf[3].Pass), "pa ss\"word");
    EXPECT_EQ(UnscramblePassword(loaded->ConProf[1].Pass), "x");
}

TEST_F(ProfileStoreTest, PhoneBookBeyondTheTableFillsItOnly) {
    std::vector<FirstRunEntry> entries;
    for (int i = 0; i < 70; ++i) {
        entries.push_back({"Entry " + std::to_string(100 + i), "", ""});
    }
    CreateProfilesFromPhoneBook(table_, refs_, entries);
    EXPECT_EQ(table_.nProfs, ProfileTable::kMaxProfiles);
    EXPECT_EQ(table_.ConProf[64].Name, "Entry 163");
}

TEST_F(ProfileStoreTest, ProfileSaveIsOneFileWrite) {
    Fill({Named("B"), Named("A"), Named("C")});
    test::FileWriteCounter writes(dir_.Path());
    ASSERT_TRUE(writes.Ok());
    ProfileReferences noSettings;
    SaveProfiles(table_, noSettings);
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 1);
}

}  // namespace
}  // namespace kestrelon
