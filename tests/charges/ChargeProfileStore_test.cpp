#include "charges/ChargeProfileStore.h"

#include <gtest/gtest.h>

#include "ChargeTestSupport.h"
#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::Cents;
using test::ReadFile;
using test::TimeOfDay;
using test::WriteFile;

RegionalFormat CommaDecimals() {
    RegionalFormat format;
    format.decimalSeparator = ",";
    format.thousandsSeparator = ".";
    format.currencySymbol = "EUR";
    format.symbolBeforeAmount = false;
    format.symbolSeparatedBySpace = true;
    return format;
}

class ChargeProfileStoreTest : public ::testing::Test {
  protected:
    ChargeProfileStoreTest() { SetIniRegionalFormat(RegionalFormat{}); }
    ~ChargeProfileStoreTest() override { SetIniRegionalFormat(RegionalFormat{}); }

    std::string Ini() const { return ReadFile(dir_.File("Kestrelon.Ini")); }

    TempProgramDirectory dir_;
};

ChargeProfile Night() {
    ChargeProfile p = test::Profile(Cents(10), Cents(300));
    p.Name = "Night";
    p.Window(++p.nItems) = {127, TimeOfDay(22), TimeOfDay(8), Cents(150)};
    p.Window(++p.nItems) = {test::kMondayToFriday, TimeOfDay(8, 30), TimeOfDay(17, 45),
                            test::Tt(12345)};
    return p;
}

TEST_F(ChargeProfileStoreTest, ProfileRoundTripsThroughItsNumberedKeys) {
    SaveChargeProfile(Night());
    const std::string ini = Ini();
    EXPECT_NE(ini.find("[CPNight]"), std::string::npos);
    EXPECT_NE(ini.find("StartRate=0.1"), std::string::npos);
    EXPECT_NE(ini.find("nItems=2"), std::string::npos);
    EXPECT_NE(ini.find("1WeekDays=127"), std::string::npos);
    EXPECT_NE(ini.find("1StartTime=22:00:00"), std::string::npos);
    EXPECT_NE(ini.find("2Rate=1.2345"), std::string::npos);
    EXPECT_EQ(ReadChargeProfile("Night"), Night());
}

TEST_F(ChargeProfileStoreTest, MoneyAndMissingValuesReadInTheUserFormat) {
    SetIniRegionalFormat(CommaDecimals());
    WriteFile(dir_.File("Kestrelon.Ini"),
              "[CPDay]\nStartRate=0,12\nBaseRate=abc\nnItems=2\n1StartTime=8:15\n1EndTime=\n"
              "1WeekDays=62\n1Rate=1,5\n");
    const ChargeProfile p = ReadChargeProfile("Day");
    EXPECT_EQ(p.StartRate, Cents(12));
    EXPECT_EQ(p.BaseRate, Cents(0));
    ASSERT_EQ(p.nItems, 2);
    EXPECT_EQ(p.Window(1).StartTime, TimeOfDay(8, 15));
    EXPECT_EQ(p.Window(1).EndTime, 0);
    EXPECT_EQ(p.Window(1).WeekDays, 62);
    EXPECT_EQ(p.Window(1).Rate, Cents(150));
    EXPECT_EQ(p.Window(2), RateWindow{});
    // Written back with the comma too.
    SaveChargeProfile(p);
    EXPECT_NE(Ini().find("1Rate=1,5"), std::string::npos);

    // A name without a section charges nothing.
    EXPECT_EQ(ReadChargeProfile("Nowhere").nItems, 0);
    EXPECT_EQ(ReadChargeProfile("Nowhere").StartRate, Cents(0));
}

TEST_F(ChargeProfileStoreTest, SavingFewerWindowsLeavesTheOldKeys) {
    ChargeProfile p = Night();
    for (int i = 3; i <= 5; ++i) {
        p.Window(++p.nItems) = {127, TimeOfDay(i), TimeOfDay(i + 1), Cents(i)};
    }
    SaveChargeProfile(p);
    p.nItems = 3;
    SaveChargeProfile(p);
    EXPECT_NE(Ini().find("5Rate=0.05"), std::string::npos);
    const ChargeProfile back = ReadChargeProfile("Night");
    EXPECT_EQ(back.nItems, 3);
    EXPECT_EQ(back.Window(4), RateWindow{});
}

TEST_F(ChargeProfileStoreTest, NameListAddAndDelete) {
    EXPECT_TRUE(LoadChargeNames().empty());
    ASSERT_TRUE(AddChargeName("A"));
    ASSERT_TRUE(AddChargeName("B"));
    ASSERT_TRUE(AddChargeName("C"));
    EXPECT_EQ(LoadChargeNames(), (std::vector<std::string>{"A", "B", "C"}));
    SaveChargeProfile(Night());
    DeleteChargeName(2);
    EXPECT_EQ(LoadChargeNames(), (std::vector<std::string>{"A", "C"}));
    const std::string ini = Ini();
    EXPECT_NE(ini.find("nCharges=2"), std::string::npos);
    EXPECT_NE(ini.find("2ChargeName=C"), std::string::npos);
    EXPECT_NE(ini.find("3ChargeName=C"), std::string::npos);
    EXPECT_NE(ini.find("[CPNight]"), std::string::npos);
}

TEST_F(ChargeProfileStoreTest, TheListStopsAtSixtyFourNames) {
    for (int i = 1; i <= kMaxChargeNames; ++i) {
        ASSERT_TRUE(AddChargeName("P" + std::to_string(i)));
    }
    EXPECT_FALSE(AddChargeName("one too many"));
    EXPECT_EQ(LoadChargeNames().size(), 64u);
    EXPECT_EQ(Ini().find("one too many"), std::string::npos);
}

TEST_F(ChargeProfileStoreTest, CacheKeepsTenProfilesAndEvictsTheOldest) {
    ChargeProfile first = Night();
    first.Name = "First";
    SaveChargeProfile(first);
    ChargeProfileCache cache;
    EXPECT_EQ(cache.GetChargeProfile("First").StartRate, Cents(10));
    EXPECT_EQ(cache.FileReads(), 1);

    // A change on disk is not seen while the profile is cached.
    first.StartRate = Cents(99);
    SaveChargeProfile(first);
    EXPECT_EQ(cache.GetChargeProfile("First").StartRate, Cents(10));
    // Names compare with their letter case.
    cache.GetChargeProfile("first");
    EXPECT_EQ(cache.FileReads(), 2);

    // Nine more names fill the slots; the tenth other name reuses slot 0.
    for (int i = 1; i <= 8; ++i) {
        cache.GetChargeProfile("Other" + std::to_string(i));
    }
    EXPECT_EQ(cache.GetChargeProfile("First").StartRate, Cents(10));
    cache.GetChargeProfile("Other9");
    EXPECT_EQ(cache.FileReads(), 11);
    EXPECT_EQ(cache.GetChargeProfile("First").StartRate, Cents(99));
    EXPECT_EQ(cache.FileReads(), 12);

    // The editor's reset reads again.
    first.StartRate = Cents(5);
    SaveChargeProfile(first);
    EXPECT_EQ(cache.GetChargeProfile("First", {}, true).StartRate, Cents(5));
}

TEST_F(ChargeProfileStoreTest, ImportMergesNewNamesAndDeletesEveryFile) {
    ChargeProfile kept = Night();
    SaveChargeProfile(kept);
    AddChargeName("Night");
    const std::string night =
        "[Charges]\nnCharges=2\n1ChargeName=Night\n2ChargeName=Weekend\n"
        "[CPNight]\nStartRate=7\n[CPWeekend]\nStartRate=0.2\nBaseRate=1\n"
        "nItems=1\n1WeekDays=65\n1StartTime=00:00\n1EndTime=00:00\n"
        "1Rate=0.5\n";
    WriteFile(dir_.File("cpExtra.INI"), night);
    WriteFile(dir_.File("CPEMPTY.ini"), "[Other]\nx=1\n");
    WriteFile(dir_.File("notcp.ini"), night);

    ChargeProfileCache cache;
    ImportChargeFiles(cache);
    EXPECT_EQ(LoadChargeNames(), (std::vector<std::string>{"Night", "Weekend"}));
    // The existing profile is not overwritten.
    EXPECT_EQ(ReadChargeProfile("Night"), kept);
    const ChargeProfile weekend = ReadChargeProfile("Weekend");
    EXPECT_EQ(weekend.StartRate, Cents(20));
    EXPECT_EQ(weekend.nItems, 1);
    EXPECT_EQ(weekend.Window(1).WeekDays, 65);
    EXPECT_EQ(weekend.Window(1).Rate, Cents(50));
    EXPECT_FALSE(test::FileExists(dir_.File("cpExtra.INI")));
    EXPECT_FALSE(test::FileExists(dir_.File("CPEMPTY.ini")));
    EXPECT_TRUE(test::FileExists(dir_.File("notcp.ini")));

    // A second import of the same file adds nothing.
    WriteFile(dir_.File("cpExtra.INI"), night);
    ImportChargeFiles(cache);
    EXPECT_EQ(LoadChargeNames().size(), 2u);
}

}  // namespace
}  // namespace kestrelon
