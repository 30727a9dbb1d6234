#include "core/Scramble.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/INIio.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

std::string RandomPrintable(std::mt19937& rng, int maxLength) {
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> code(32, 126);
    std::string text(static_cast<std::size_t>(length(rng)), ' ');
    for (char& c : text) {
        c = static_cast<char>(code(rng));
    }
    return text;
}

// Characters, not bytes: scrambled codes above 127 take two bytes in UTF-8.
std::size_t CodePoints(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) {
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

TEST(Scramble, RoundTripsEveryPrintablePasswordWithoutLowCharacters) {
    std::mt19937 rng(20260412);
    int changed = 0;
    constexpr int kPasswords = 3000;
    for (int i = 0; i < kPasswords; ++i) {
        const std::string plain = RandomPrintable(rng, 64);
        const std::string scrambled = ScramblePassword(plain);
        ASSERT_EQ(UnscramblePassword(scrambled), plain) << "password #" << i << ": " << plain;
        ASSERT_EQ(CodePoints(scrambled), plain.size()) << plain;
        for (unsigned char c : scrambled) {
            ASSERT_GE(c, 35) << "in the scrambled form of " << plain;
        }
        changed += !plain.empty() && scrambled != plain ? 1 : 0;
    }
    EXPECT_GT(changed, kPasswords * 95 / 100) << "passwords are mostly left readable";
}

TEST(Scramble, EveryPrintableCharacterAtEveryPositionRoundTrips) {
    for (std::size_t length : {1u, 2u, 7u, 16u}) {
        for (int c = 32; c <= 126; ++c) {
            const std::string plain(length, static_cast<char>(c));
            ASSERT_EQ(UnscramblePassword(ScramblePassword(plain)), plain) << c << " x" << length;
        }
    }
}

TEST(Scramble, ControlAndNonAsciiCharactersSurvive) {
    const std::string withControls =
        "ab\tc\x01\x1F"
        "d";
    const std::string scrambled = ScramblePassword(withControls);
    EXPECT_EQ(scrambled[2], '\t');
    EXPECT_EQ(UnscramblePassword(scrambled), withControls);

    const std::string umlauts = "M\xC3\xBCller \xE2\x82\xAC p\xC3\xA4sswort";
    EXPECT_EQ(UnscramblePassword(ScramblePassword(umlauts)), umlauts);
    EXPECT_EQ(ScramblePassword(""), "");
}

TEST(Scramble, ScrambledPasswordsSurviveTheIniFile) {
    TempProgramDirectory dir;
    std::mt19937 rng(77);
    IniBatch batch;
    std::vector<std::string> plains;
    for (int n = 1; n <= 300; ++n) {
        plains.push_back(RandomPrintable(rng, 40));
        batch.Write("MailCheck", std::to_string(n) + "Pass", ScramblePassword(plains.back()));
    }
    ASSERT_TRUE(batch.Commit());
    for (int n = 1; n <= 300; ++n) {
        EXPECT_EQ(UnscramblePassword(IniReadString("MailCheck", std::to_string(n) + "Pass")),
                  plains[static_cast<std::size_t>(n - 1)])
            << n;
    }
}

}  // namespace
}  // namespace kestrelon
