#include "core/INIio.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::ReadFile;
using test::WriteFile;

class IniTest : public ::testing::Test {
  protected:
    void SetUp() override { savedFormat_ = IniRegionalFormat(); }
    void TearDown() override { SetIniRegionalFormat(savedFormat_); }

    std::string Ini() const { return dir_.File("Kestrelon.Ini"); }

    TempProgramDirectory dir_;
    RegionalFormat savedFormat_;
};

TEST_F(IniTest, SectionsAndKeysMatchWithoutRegardToCase) {
    WriteFile(Ini(), "[Settings]\nDialDelay=2000\n");
    EXPECT_EQ(IniReadString("settings", "dialdelay"), "2000");
    EXPECT_EQ(IniReadString("SETTINGS", "Dialdelay"), "2000");
    EXPECT_EQ(IniReadNumber("Settings", "DIALDELAY"), 2000);

    // A write in another case updates the existing line and keeps its spelling.
    IniWrite("settings", "DIALDELAY", "3000");
    IniWrite("SETTINGS", "ProgLog", "p.log");
    EXPECT_EQ(ReadFile(Ini()), "[Settings]\nDialDelay=3000\nProgLog=p.log\n");
}

TEST_F(IniTest, MissingFileSectionOrKeyReadsAsNothing) {
    EXPECT_EQ(IniReadString("Settings", "ProgLog"), "");
    EXPECT_EQ(IniReadNumber("Settings", "MaxLogSize"), 0);
    EXPECT_FALSE(IniReadBool("Settings", "StartHidden"));
    EXPECT_EQ(IniReadCurrency("Charges", "Rate"), Currency{});
    EXPECT_FALSE(test::FileExists(Ini())) << "a read must not create the file";

    WriteFile(Ini(), "[Settings]\nProgLog=Program.log\n");
    EXPECT_EQ(IniReadString("Other", "ProgLog"), "");
    EXPECT_EQ(IniReadString("Settings", "DialLog"), "");
}

TEST_F(IniTest, ValuesAreReadThroughA1024CharacterBuffer) {
    const std::string fits(1023, 'a');
    const std::string full(1024, 'b');
    const std::string longer = std::string(1023, 'c') + "tail beyond the buffer";
    IniWrite("S", "Fits", fits);
    IniWrite("S", "Full", full);
    IniWrite("S", "Longer", longer);

    EXPECT_EQ(IniReadString("S", "Fits"), fits);
    EXPECT_EQ(IniReadString("S", "Full"), std::string(1023, 'b'));
    EXPECT_EQ(IniReadString("S", "Longer"), std::string(1023, 'c'));
    // The whole value is on disk; only the read is cut.
    EXPECT_NE(ReadFile(Ini()).find(longer), std::string::npos);

    IniBatch batch;
    EXPECT_EQ(batch.ReadString("S", "Longer"), std::string(1023, 'c'));
}

TEST_F(IniTest, AValueEndsAtItsFirstNulCharacter) {
    WriteFile(Ini(), std::string("[S]\nK=ab\0cd\n", 12));
    EXPECT_EQ(IniReadString("S", "K"), "ab");
}

TEST_F(IniTest, NumbersAreTheLeadingDecimalNumber) {
    WriteFile(Ini(),
              "[S]\nA=12abc\nB=abc\nC=-7 apples\nD=  42  \nE=3.5x\nF=\nG=+8\nH=0x1A\nI=1.2.3\n");
    EXPECT_EQ(IniReadNumber("S", "A"), 12);
    EXPECT_EQ(IniReadNumber("S", "B"), 0);
    EXPECT_EQ(IniReadNumber("S", "C"), -7);
    EXPECT_EQ(IniReadNumber("S", "D"), 42);
    EXPECT_EQ(IniReadNumber("S", "E"), 3.5);
    EXPECT_EQ(IniReadNumber("S", "F"), 0);
    EXPECT_EQ(IniReadNumber("S", "G"), 8);
    EXPECT_EQ(IniReadNumber("S", "H"), 0);
    EXPECT_EQ(IniReadNumber("S", "I"), 1.2);
    EXPECT_EQ(IniReadNumber("S", "Absent"), 0);
}

TEST_F(IniTest, OnlyTrueInAnyLetterCaseIsTrue) {
    WriteFile(Ini(),
              "[S]\na=True\nb=true\nc=TRUE\nd=  tRUe  \n"
              "e=1\nf=yes\ng=Truely\nh=False\ni=\nj=-1\n");
    for (const char* key : {"a", "b", "c", "d"}) {
        EXPECT_TRUE(IniReadBool("S", key)) << key;
    }
    for (const char* key : {"e", "f", "g", "h", "i", "j", "absent"}) {
        EXPECT_FALSE(IniReadBool("S", key)) << key;
    }
}

TEST_F(IniTest, WritersUseTheStoredTextForms) {
    IniWrite("S", "On", true);
    IniWrite("S", "Off", false);
    IniWrite("S", "Int", -42);
    IniWrite("S", "Long", 1234567890123LL);
    IniWrite("S", "Text", "Program.log");
    EXPECT_EQ(ReadFile(Ini()),
              "[S]\nOn=True\nOff=False\nInt=-42\nLong=1234567890123\nText=Program.log\n");
    EXPECT_EQ(IniNumberText(12.5), "12.5");
    EXPECT_EQ(IniNumberText(-300), "-300");
}

TEST_F(IniTest, EmptyFileNameMeansKestrelonIniInTheProgramDirectory) {
    IniWrite("S", "K", "main");
    IniWrite("S", "K", "other", "other.ini");
    const std::string absolute = dir_.File("absolute.ini");
    IniWrite("S", "K", "absolute", absolute);

    EXPECT_EQ(ReadFile(Ini()), "[S]\nK=main\n");
    EXPECT_EQ(ReadFile(dir_.File("other.ini")), "[S]\nK=other\n");
    EXPECT_EQ(ReadFile(absolute), "[S]\nK=absolute\n");
    EXPECT_EQ(IniReadString("S", "K", "Kestrelon.Ini"), "main");
    EXPECT_EQ(IniReadString("S", "K", "other.ini"), "other");
    EXPECT_EQ(IniPath(""), Ini());
}

TEST_F(IniTest, EveryReadSeesTheFileAsItIsOnDisk) {
    IniWrite("Settings", "DialDelay", 2000);
    EXPECT_EQ(IniReadNumber("Settings", "DialDelay"), 2000);
    WriteFile(Ini(), "[Settings]\nDialDelay=750\n");
    EXPECT_EQ(IniReadNumber("Settings", "DialDelay"), 750);
    std::filesystem::remove(Ini());
    EXPECT_EQ(IniReadString("Settings", "DialDelay"), "");
}

TEST_F(IniTest, ABatchReachesTheDiskAsOneWrite) {
    test::FileWriteCounter writes(dir_.Path());
    ASSERT_TRUE(writes.Ok());
    WriteFile(Ini(), "[Settings]\nDialDelay=2000\n");
    ASSERT_EQ(writes.Writes("Kestrelon.Ini"), 1);
    {
        IniBatch batch;
        for (int n = 1; n <= 50; ++n) {
            batch.Write("ConProf", std::to_string(n) + "Name", "Profile " + std::to_string(n));
        }
        batch.Write("Settings", "DialDelay", 900);
        EXPECT_EQ(batch.ReadString("conprof", "50name"), "Profile 50");
        EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0) << "nothing is written before the commit";
        EXPECT_EQ(IniReadNumber("Settings", "DialDelay"), 2000);
        EXPECT_TRUE(batch.Commit());
        EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 1);
        // A second commit with nothing new writes nothing.
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0);
    EXPECT_EQ(IniReadString("ConProf", "50Name"), "Profile 50");
    EXPECT_EQ(IniReadNumber("Settings", "DialDelay"), 900);

    {
        IniBatch batch;  // committed by its destructor
        batch.Write("Settings", "DialDelay", 1);
    }
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 1);
    { IniBatch readOnly; }
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0);

    // Single writes each rewrite the file.
    IniWrite("S", "a", 1);
    IniWrite("S", "b", 2);
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 2);
}

TEST_F(IniTest, UnknownEntriesCommentsAndBlankLinesStayInPlace) {
    WriteFile(Ini(),
              "; Kestrelon settings, edited by hand\n"
              "[Settings]\n"
              "DialDelay=2000\n"
              "; keep this comment\n"
              "Mystery=42\n"
              "\n"
              "[Unknown]\n"
              "Foo = bar baz\n"
              "not a key line\n"
              "\n"
              "[Sounds]\n"
              "1Enabled=True\n");
    IniWrite("Settings", "DialDelay", 2500);
    IniWrite("Settings", "NewKey", "x");
    IniWrite("Sounds", "2Enabled", false);
    IniWrite("NewSection", "A", 1);
    EXPECT_EQ(ReadFile(Ini()),
              "; Kestrelon settings, edited by hand\n"
              "[Settings]\n"
              "DialDelay=2500\n"
              "; keep this comment\n"
              "Mystery=42\n"
              "NewKey=x\n"
              "\n"
              "[Unknown]\n"
              "Foo = bar baz\n"
              "not a key line\n"
              "\n"
              "[Sounds]\n"
              "1Enabled=True\n"
              "2Enabled=False\n"
              "[NewSection]\n"
              "A=1\n");
    EXPECT_EQ(IniReadString("Unknown", "Foo"), "bar baz");

    IniDeleteKey("settings", "MYSTERY");
    IniDeleteSection("unknown");
    EXPECT_EQ(ReadFile(Ini()),
              "; Kestrelon settings, edited by hand\n"
              "[Settings]\n"
              "DialDelay=2500\n"
              "; keep this comment\n"
              "NewKey=x\n"
              "\n"
              "[Sounds]\n"
              "1Enabled=True\n"
              "2Enabled=False\n"
              "[NewSection]\n"
              "A=1\n");
}

TEST_F(IniTest, LineEndsByteOrderMarkAndAMissingLastLineEndAreKept) {
    WriteFile(Ini(), "[S]\r\nA=1\r\n\r\n[T]\r\nC=3\r\n");
    EXPECT_EQ(IniReadString("S", "A"), "1");
    IniWrite("S", "B", 2);
    EXPECT_EQ(ReadFile(Ini()), "[S]\r\nA=1\r\nB=2\r\n\r\n[T]\r\nC=3\r\n");

    const std::string bom = "\xEF\xBB\xBF";
    WriteFile(Ini(), bom + "[Settings]\r\nLanguage=Deutsch\r\n");
    EXPECT_EQ(IniReadString("Settings", "Language"), "Deutsch");
    IniWrite("Settings", "Language", "");
    EXPECT_EQ(ReadFile(Ini()), bom + "[Settings]\r\nLanguage=\r\n");

    WriteFile(Ini(), "[S]\nA=1");
    EXPECT_EQ(IniReadString("S", "A"), "1");
    IniWrite("S", "A", 5);
    EXPECT_EQ(ReadFile(Ini()), "[S]\nA=5");
    IniWrite("S", "B", 2);
    EXPECT_EQ(ReadFile(Ini()), "[S]\nA=5\nB=2");
}

TEST_F(IniTest, ANewFileIsReadableByItsOwnerOnly) {
    IniWrite("S", "Pass", "secret");
    EXPECT_EQ(test::FileMode(Ini()), 0600);

    // An existing file keeps the permissions the user gave it.
    WriteFile(dir_.File("other.ini"), "[S]\n");
    std::filesystem::permissions(dir_.File("other.ini"), static_cast<std::filesystem::perms>(0644));
    IniWrite("S", "K", "v", "other.ini");
    EXPECT_EQ(test::FileMode(dir_.File("other.ini")), 0644);

    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 2) << "no temporary file is left behind";
}

TEST_F(IniTest, AValueCannotSplitItsLine) {
    IniWrite("S", "K", "a\r\n[Evil]\r\nX=1");
    EXPECT_EQ(IniReadString("S", "K"), "a");
    EXPECT_EQ(IniReadString("Evil", "X"), "");
}

TEST_F(IniTest, MoneyIsStoredInTheUsersRegionalForm) {
    RegionalFormat german;
    german.decimalSeparator = ",";
    german.thousandsSeparator = ".";
    german.currencySymbol = "\xE2\x82\xAC";
    german.symbolBeforeAmount = false;
    SetIniRegionalFormat(german);

    IniWrite("CP1", "Rate", Currency{15000});
    IniWrite("CP1", "Base", Currency{-25});
    EXPECT_EQ(ReadFile(Ini()), "[CP1]\nRate=1,5\nBase=-0,0025\n");
    EXPECT_EQ(IniReadCurrency("CP1", "Rate"), Currency{15000});
    EXPECT_EQ(IniReadCurrency("CP1", "Base"), Currency{-25});

    WriteFile(Ini(), "[CP1]\nA=1.234,5678\nB=12,34 \xE2\x82\xAC\nC=abc\nD=\n");
    EXPECT_EQ(IniReadCurrency("CP1", "A"), Currency{12345678});
    EXPECT_EQ(IniReadCurrency("CP1", "B"), Currency{123400});
    EXPECT_EQ(IniReadCurrency("CP1", "C"), Currency{});
    EXPECT_EQ(IniReadCurrency("CP1", "D"), Currency{});

    // The same text means something else to a user with a point as decimal separator.
    SetIniRegionalFormat(RegionalFormat{});
    WriteFile(Ini(), "[CP1]\nRate=1,5\nBase=0.12\n");
    EXPECT_EQ(IniReadCurrency("CP1", "Rate"), Currency::FromUnits(15));
    EXPECT_EQ(IniReadCurrency("CP1", "Base"), Currency{1200});
}

}  // namespace
}  // namespace kestrelon
