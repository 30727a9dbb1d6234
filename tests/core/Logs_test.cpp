#include "core/Logs.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/AppSettings.h"
#include "core/FileHelpers.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::FileExists;
using test::ReadFile;
using test::WriteFile;

class LogsTest : public ::testing::Test {
  protected:
    LogsTest() {
        settings_.ProgLog = "Program.log";
        settings_.DialLog = "Dial.log";
        settings_.ErrorLog = "Error.log";
        settings_.MaxLogSize = 50;
        fake_.clock.SetNow(LocalTime{2026, 12, 4, 17, 5, 9});
    }

    std::string ProgramLog() const { return dir_.File("Program.log"); }

    // Numbered lines of 48 characters and CR LF, so every cut position is recognisable.
    static std::string Lines(int count) {
        std::string text;
        for (int n = 0; n < count; ++n) {
            char line[64];
            std::snprintf(line, sizeof line, "01/01/26 10:00:00  line %05d ..................\r\n",
                          n);
            text += line;
        }
        return text;
    }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppSettings settings_;
    Logs logs_{settings_, fake_.clock, fake_.messages};
};

constexpr char kStamp[] = "04/12/26 17:05:09  ";

TEST_F(LogsTest, LinesCarryDayMonthYearAndTime) {
    logs_.WriteLog("Started dialing: Home", kProgramLog);
    fake_.clock.SetNow(LocalTime{2000, 1, 9, 8, 0, 0});
    logs_.WriteLog("Kestrelon shut down", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()),
              "04/12/26 17:05:09  Started dialing: Home\r\n"
              "09/01/00 08:00:00  Kestrelon shut down\r\n");
}

TEST_F(LogsTest, EachKindHasItsFileAndAnEmptyNameSwitchesItOff) {
    settings_.DialLog = "";
    logs_.WriteLog("program", kProgramLog);
    logs_.WriteLog("dial", kDialLog);
    logs_.WriteLog("", kDialLog);
    logs_.WriteLog("633", kErrorLog);

    EXPECT_EQ(ReadFile(ProgramLog()), std::string(kStamp) + "program\r\n");
    EXPECT_EQ(ReadFile(dir_.File("Error.log")), std::string(kStamp) + "633\r\n");
    EXPECT_FALSE(FileExists(dir_.File("Dial.log")));
    EXPECT_EQ(logs_.LogPath(kDialLog), "");
    EXPECT_TRUE(fake_.messages.informations.empty());

    std::filesystem::create_directory(dir_.File("logs"));
    settings_.DialLog = dir_.File("logs/mine.log");
    logs_.WriteLog("absolute", kDialLog);
    EXPECT_EQ(ReadFile(dir_.File("logs/mine.log")), std::string(kStamp) + "absolute\r\n");
}

TEST_F(LogsTest, ASeparatorIsWrittenOnlyAfterATextLine) {
    // Missing file: nothing, and no file is created.
    logs_.WriteLog("", kProgramLog);
    EXPECT_FALSE(FileExists(ProgramLog()));

    // Shorter than 3 bytes: nothing.
    WriteFile(ProgramLog(), "x\n");
    logs_.WriteLog("", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), "x\n");

    WriteFile(ProgramLog(), "");
    logs_.WriteLog("Kestrelon started", kProgramLog);
    logs_.WriteLog("", kProgramLog);
    const std::string afterSeparator = std::string(kStamp) + "Kestrelon started\r\n\r\n";
    EXPECT_EQ(ReadFile(ProgramLog()), afterSeparator);

    // The file already ends with an empty line.
    logs_.WriteLog("", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), afterSeparator);

    logs_.WriteLog("Kestrelon started", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), afterSeparator + kStamp + "Kestrelon started\r\n");
}

TEST_F(LogsTest, ALogOverTheLimitIsCutToItsNewestTenthsAtALineStart) {
    const std::string over = "X" + Lines(1024);  // 51 201 bytes
    ASSERT_EQ(over.size(), 51201u);
    WriteFile(ProgramLog(), over);
    logs_.WriteLog("next", kProgramLog);

    const std::string tail = over.substr(over.size() - 46080);
    const std::string kept = tail.substr(tail.find('\n') + 1);
    EXPECT_EQ(ReadFile(ProgramLog()), kept + kStamp + "next\r\n");
    EXPECT_TRUE(kept.starts_with("01/01/26 10:00:00  line ")) << kept.substr(0, 30);

    // At the limit exactly nothing is cut.
    const std::string atLimit = Lines(1024);
    ASSERT_EQ(atLimit.size(), 51200u);
    WriteFile(ProgramLog(), atLimit);
    logs_.WriteLog("next", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), atLimit + kStamp + "next\r\n");
}

TEST_F(LogsTest, ASeparatorRequestAlsoCutsTheLog) {
    const std::string over = "X" + Lines(1024);
    WriteFile(dir_.File("Dial.log"), over);
    logs_.WriteLog("", kDialLog);
    const std::string tail = over.substr(over.size() - 46080);
    EXPECT_EQ(ReadFile(dir_.File("Dial.log")), tail.substr(tail.find('\n') + 1) + "\r\n");
}

TEST_F(LogsTest, ATailWithoutAUsableLineFeedIsKeptWhole) {
    settings_.MaxLogSize = 1;  // 1024 bytes, 922 kept
    WriteFile(ProgramLog(), std::string(1025, 'x'));
    logs_.WriteLog("a", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), std::string(922, 'x') + kStamp + "a\r\n");

    // The only line feed is the last byte of the kept part.
    WriteFile(ProgramLog(), std::string(1100, 'y') + "\n");
    logs_.WriteLog("b", kProgramLog);
    EXPECT_EQ(ReadFile(ProgramLog()), std::string(921, 'y') + "\n" + kStamp + "b\r\n");
}

TEST_F(LogsTest, AFileErrorShowsOneMessageAndTheCallerGoesOn) {
    settings_.ProgLog = "missing-folder/Program.log";
    logs_.WriteLog("lost", kProgramLog);
    ASSERT_EQ(fake_.messages.informations.size(), 1u);
    const std::string& text = fake_.messages.informations[0].text;
    EXPECT_TRUE(text.starts_with("Error while writing to ")) << text;
    EXPECT_TRUE(text.ends_with("missing-folder/Program.log")) << text;

    // The other logs are not affected, and each failed line is reported once.
    logs_.WriteLog("633", kErrorLog);
    EXPECT_EQ(ReadFile(dir_.File("Error.log")), std::string(kStamp) + "633\r\n");
    EXPECT_EQ(fake_.messages.informations.size(), 1u);
    logs_.WriteLog("lost again", kProgramLog);
    EXPECT_EQ(fake_.messages.informations.size(), 2u);
    // A separator for a file that cannot exist has nothing to do and reports nothing.
    logs_.WriteLog("", kProgramLog);
    EXPECT_EQ(fake_.messages.informations.size(), 2u);
}

}  // namespace
}  // namespace kestrelon
