#include "profiles/ConProfRules.h"

#include <gtest/gtest.h>

#include "profiles/ProgramLauncher.h"

namespace kestrelon {
namespace {

TEST(ConProfRulesTest, CountDownTextAndItsTwoTypedForms) {
    EXPECT_EQ(CountDownText(5400), "1:30");
    EXPECT_EQ(CountDownText(0), "0:00");
    EXPECT_EQ(CountDownText(7500), "2:05");
    EXPECT_EQ(CountDownText(36000 + 59 * 60 + 59), "10:59");  // seconds are not shown

    EXPECT_EQ(CountDownSeconds("2:05"), 7500);
    EXPECT_EQ(CountDownSeconds("125"), 7500);
    EXPECT_EQ(CountDownSeconds("1:30"), CountDownSeconds("90"));
    EXPECT_EQ(CountDownSeconds(""), 0);
    EXPECT_EQ(CountDownSeconds(":45"), 45 * 60);
    EXPECT_EQ(CountDownSeconds("3:"), 3 * 3600);
    // Only the part before the first colon is hours; the minutes end at the next colon.
    EXPECT_EQ(CountDownSeconds("1:2:3"), 3600 + 120);
    EXPECT_EQ(CountDownSeconds("99999"), 99999 * 60);
    EXPECT_EQ(CountDownSeconds("12:345"), std::nullopt);  // 6 characters change nothing
    EXPECT_EQ(CountDownSeconds("100000"), std::nullopt);
}

TEST(ConProfRulesTest, LeadingDigitsOfPastedText) {
    EXPECT_EQ(LeadingDigitsValue("1500"), 1500);
    EXPECT_EQ(LeadingDigitsValue("12abc"), 12);
    EXPECT_EQ(LeadingDigitsValue("abc12"), 0);
    EXPECT_EQ(LeadingDigitsValue(""), 0);
    EXPECT_EQ(LeadingDigitsValue("  42 7"), 42);
    EXPECT_EQ(LeadingDigitsValue("-5"), 0);
    EXPECT_EQ(LeadingDigitsValue("99999999999999999999999"), 2147483647);
}

TEST(ConProfRulesTest, ProgramListLineIsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(ProgramListLine("C:\\Mail\\mail.exe"), "mail");
    EXPECT_EQ(ProgramListLine("/usr/bin/mail.sh -x"), "mail");
    EXPECT_EQ(ProgramListLine("  notepad  "), "notepad");
    EXPECT_EQ(ProgramListLine("xterm -e mutt"), "xterm -e mutt");
    // A leading dot is not an extension; the cut is before the first dot.
    EXPECT_EQ(ProgramListLine("/home/u/.profile"), ".profile");
    EXPECT_EQ(ProgramListLine("archive.tar.gz"), "archive");
    EXPECT_EQ(ProgramListLine("C:\\Tools\\"), "");
    EXPECT_EQ(ProgramListLine(""), "");
}

TEST(ConProfRulesTest, ProgramPathOfACommandLine) {
    EXPECT_EQ(ProgramPathOf("\"C:\\Program Files\\mail.exe\" -check"),
              "C:\\Program Files\\mail.exe");
    EXPECT_EQ(ProgramPathOf("C:\\Mail\\mail.exe /check now"), "C:\\Mail\\mail.exe");
    EXPECT_EQ(ProgramPathOf("  /opt/x/run  "), "/opt/x/run");
    EXPECT_EQ(ProgramPathOf("\"unclosed quote.sh -x"), "\"unclosed quote.sh");
}

TEST(ConProfRulesTest, QuotedProgramPathSplitsBackWhole) {
    for (const std::string path :
         {"/usr/bin/mutt", "/home/u/My Programs/run it.sh", "/tmp/a\"b$c`d\\e"}) {
        const std::string line = QuoteProgramPath(path) + " --arg";
        const auto words = SplitCommandLine(line);
        ASSERT_EQ(words.size(), 2u) << line;
        EXPECT_EQ(words[0], path);
    }
    EXPECT_EQ(QuoteProgramPath("/usr/bin/mutt"), "/usr/bin/mutt");
}

TEST(ConProfRulesTest, PaletteColourUnderThePointer) {
    EXPECT_EQ(PaletteColourAt(0, 0, 160, 40), 0);
    EXPECT_EQ(PaletteColourAt(159, 0, 160, 40), 7);
    EXPECT_EQ(PaletteColourAt(0, 20, 160, 40), 8);
    EXPECT_EQ(PaletteColourAt(45, 25, 160, 40), 10);
    EXPECT_EQ(PaletteColourAt(159, 39, 160, 40), 15);
    // The divisors are rounded: a grid of 162 x 41 has cells of 20 x 21, the spare pixels
    // still belong to the last column and row.
    EXPECT_EQ(PaletteColourAt(161, 40, 162, 41), 15);
    EXPECT_EQ(PaletteColourAt(-3, -3, 160, 40), 0);
}

TEST(ConProfRulesTest, SectionNameCharacters) {
    EXPECT_TRUE(IsSectionNameCharacter('a'));
    EXPECT_TRUE(IsSectionNameCharacter(' '));
    EXPECT_TRUE(IsSectionNameCharacter(U'\u00e9'));
    EXPECT_FALSE(IsSectionNameCharacter('['));
    EXPECT_FALSE(IsSectionNameCharacter(']'));
    EXPECT_FALSE(IsSectionNameCharacter('\n'));
    EXPECT_FALSE(IsSectionNameCharacter(0x7F));
}

}  // namespace
}  // namespace kestrelon
