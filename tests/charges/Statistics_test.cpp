#include "charges/Statistics.h"

#include <cstring>

#include <gtest/gtest.h>

#include "ChargeTestSupport.h"
#include "core/FileHelpers.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::At;
using test::ReadFile;

class StatisticsTest : public ::testing::Test {
  protected:
    bool Write(const std::string& con, const std::string& charge, double start, double end) {
        return WriteStatisticsRecord(con, charge, start, end, fake_.messages);
    }
    std::string File() const { return ReadFile(StatisticsFilePath()); }
    std::vector<StatisticsRecord> Records() { return StatisticsReader().ReadAll(); }

    TempProgramDirectory dir_;
    FakePlatform fake_;
};

TEST_F(StatisticsTest, FirstConnectionCreatesOneRecordLaidOutByteForByte) {
    EXPECT_FALSE(StatisticsAvailable());
    ASSERT_TRUE(Write("Office", "Night", 46000.25, 46000.5));
    const std::string bytes = File();
    ASSERT_EQ(bytes.size(), 144u);
    EXPECT_EQ(bytes.substr(0, 64), "Office" + std::string(58, ' '));
    EXPECT_EQ(bytes.substr(64, 64), "Night" + std::string(59, ' '));
    // 46000.25 as a little-endian IEEE double: 0x40E6760800000000.
    EXPECT_EQ(bytes.substr(128, 8), std::string("\x00\x00\x00\x00\x08\x76\xE6\x40", 8));
    EXPECT_EQ(Records()[0].End, 46000.5);
    EXPECT_TRUE(StatisticsAvailable());
    EXPECT_TRUE(fake_.messages.informations.empty());
}

TEST_F(StatisticsTest, WithoutChargeProfileTheNameIsAllSpacesAndNoConnectionWritesNothing) {
    ASSERT_TRUE(Write("", "Night", 1, 2));
    EXPECT_FALSE(test::FileExists(StatisticsFilePath()));
    ASSERT_TRUE(Write("Office", "", 1, 2));
    EXPECT_EQ(File().substr(64, 64), std::string(64, ' '));
    EXPECT_EQ(TrimStatisticsName(Records()[0].ChargeName), "");
}

TEST_F(StatisticsTest, AppendOrReplaceByTheStartRule) {
    const double start = At(2026, 12, 7, 10);
    // Written while online twice (graph opened twice), then at the end: one record.
    Write("Office", "Night", start, At(2026, 12, 7, 10, 5));
    Write("Office", "Night", start, At(2026, 12, 7, 10, 9));
    Write("Office", "Night", start, At(2026, 12, 7, 10, 30));
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].End, At(2026, 12, 7, 10, 30));
    // The next connection starting exactly at that end is appended.
    Write("Home", "Night", At(2026, 12, 7, 10, 30), At(2026, 12, 7, 11));
    ASSERT_EQ(Records().size(), 2u);
    // One that starts before the last end (a clock set back) replaces the last record.
    Write("Away", "Day", At(2026, 12, 7, 10, 45), At(2026, 12, 7, 12));
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(TrimStatisticsName(records[0].ConName), "Office");
    EXPECT_EQ(TrimStatisticsName(records[1].ConName), "Away");
    EXPECT_EQ(File().size(), 288u);
}

TEST_F(StatisticsTest, LongNamesAreCutAtSixtyFourBytes) {
    const std::string name(70, 'x');
    Write(name + "", "  padded charge  ", 1, 2);
    const auto records = Records();
    EXPECT_EQ(TrimStatisticsName(records[0].ConName), std::string(64, 'x'));
    EXPECT_EQ(TrimStatisticsName(records[0].ChargeName), "padded charge");
    EXPECT_EQ(File().size(), 144u);
}

TEST_F(StatisticsTest, APartialLastRecordIsIgnoredAndOverwritten) {
    Write("Office", "Night", 10, 11);
    {
        std::ofstream out(StatisticsFilePath(), std::ios::binary | std::ios::app);
        out << std::string(50, 'Z');
    }
    StatisticsReader reader;
    EXPECT_EQ(reader.Count(), 1u);
    // The last whole record ends at 11, so this is appended at offset 144.
    Write("Home", "Night", 12, 13);
    const std::string bytes = File();
    ASSERT_EQ(bytes.size(), 288u);
    EXPECT_EQ(bytes.substr(144, 4), "Home");
}

TEST_F(StatisticsTest, AZeroMomentShowsTheFaultMessageAndStillWrites) {
    Write("Office", "Night", 0, 11);
    ASSERT_EQ(fake_.messages.informations.size(), 1u);
    EXPECT_EQ(fake_.messages.informations[0].text,
              "error bij wegschrijven! neem contact op met de maker");
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(StatisticsTest, AnOpenReaderKeepsReadingCorrectRecords) {
    for (int i = 0; i < 3; ++i) {
        Write("P" + std::to_string(i), "C", 10.0 + i, 10.5 + i);
    }
    const std::string before = File();
    StatisticsReader reader;
    ASSERT_EQ(reader.Count(), 3u);
    // While the graph is open the running connection is written again and a new one appended.
    Write("P2", "C", 12, 12.9);
    Write("P3", "C", 13, 13.5);
    const auto records = reader.ReadAll();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(TrimStatisticsName(records[0].ConName), "P0");
    EXPECT_EQ(records[1].Start, 11.0);
    EXPECT_EQ(records[2].End, 12.9);
    // The earlier records are untouched byte for byte.
    EXPECT_EQ(File().substr(0, 288), before.substr(0, 288));
    EXPECT_EQ(File().size(), 4 * 144u);
}

}  // namespace
}  // namespace kestrelon
