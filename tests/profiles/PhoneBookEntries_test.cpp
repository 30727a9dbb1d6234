#include "profiles/PhoneBookEntries.h"

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "dialer/SimulatedRasPhoneBook.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

class PhoneBookEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteFile(path_,
                        "; the sample's comment\n"
                        "[Nightjar Online]\n"
                        "PhoneNumber=0800 555 0100\n"
                        "UserName=guest\n"
                        "Password=nightjar\n"
                        "HangUpMs=100\n"
                        "\n"
                        "[Harbour Net]\n"
                        "Answer=busy connect\n");
    }
    // The service's own reading of the file.
    std::vector<PhoneBookEntry> Book() const { return ParsePhoneBook(test::ReadFile(path_)); }

    TempProgramDirectory dir_;
    std::string path_ = dir_.File("rasphone.pbk");
};

TEST_F(PhoneBookEntriesTest, WrittenKeysAreWhatTheServiceDials) {
    PhoneBookEntryKeys keys = ReadPhoneBookEntry(path_, "nightjar online");
    EXPECT_EQ(keys.phoneNumber, "0800 555 0100");
    EXPECT_EQ(keys.userName, "guest");
    EXPECT_EQ(keys.password, "nightjar");
    EXPECT_EQ(keys.deviceMs, "");

    keys.password = "secret";
    keys.answer = "busy busy connect";
    keys.deviceMs = "500";
    keys.dropAfter = "30";
    keys.ipAddress = "10.1.2.3";
    WritePhoneBookEntry(path_, "Nightjar Online", keys);
    const auto entry = FindEntry(Book(), "Nightjar Online");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->password, "secret");
    EXPECT_EQ(entry->answers.size(), 3u);
    EXPECT_EQ(entry->deviceMs, 500u);
    EXPECT_EQ(entry->dropAfterMs, 30000u);
    EXPECT_EQ(entry->ipAddress, "10.1.2.3");
    EXPECT_EQ(entry->hangUpMs, 100u) << "a key the dialog does not show must stay";

    // Emptied simulation keys go, so that the defaults apply again.
    keys.deviceMs.clear();
    keys.ipAddress.clear();
    WritePhoneBookEntry(path_, "Nightjar Online", keys);
    const std::string text = test::ReadFile(path_);
    EXPECT_EQ(text.find("DeviceMs"), std::string::npos);
    EXPECT_EQ(text.find("IpAddress"), std::string::npos);
    EXPECT_EQ(FindEntry(Book(), "Nightjar Online")->deviceMs, 2000u);
}

TEST_F(PhoneBookEntriesTest, CreateRefusesTakenAndInvalidNames) {
    PhoneBookEntryKeys keys;
    keys.phoneNumber = "123";
    EXPECT_TRUE(CreatePhoneBookEntry(path_, "Kestrel Dial", keys));
    EXPECT_FALSE(CreatePhoneBookEntry(path_, "HARBOUR NET", {}));
    EXPECT_FALSE(CreatePhoneBookEntry(path_, "", {}));
    EXPECT_FALSE(CreatePhoneBookEntry(path_, " padded", {}));
    EXPECT_FALSE(CreatePhoneBookEntry(path_, "bad]name", {}));
    EXPECT_FALSE(CreatePhoneBookEntry(path_, std::string(257, 'x'), {}));
    EXPECT_EQ(PhoneBookEntryNames(path_),
              (std::vector<std::string>{"Nightjar Online", "Harbour Net", "Kestrel Dial"}));
    EXPECT_EQ(FindEntry(Book(), "Kestrel Dial")->phoneNumber, "123");
}

TEST_F(PhoneBookEntriesTest, RenameKeepsPlaceKeysAndComments) {
    EXPECT_TRUE(RenamePhoneBookEntry(path_, "nightjar online", "Nightjar Fast"));
    EXPECT_EQ(PhoneBookEntryNames(path_),
              (std::vector<std::string>{"Nightjar Fast", "Harbour Net"}));
    const std::string text = test::ReadFile(path_);
    EXPECT_TRUE(text.starts_with("; the sample's comment\n[Nightjar Fast]\n"));
    EXPECT_EQ(ReadPhoneBookEntry(path_, "Nightjar Fast").password, "nightjar");

    EXPECT_FALSE(RenamePhoneBookEntry(path_, "Nightjar Fast", "harbour net"));
    EXPECT_FALSE(RenamePhoneBookEntry(path_, "Missing", "Anything"));
    EXPECT_FALSE(RenamePhoneBookEntry(path_, "Harbour Net", "[x"));
    // Another spelling of the same name is a rename too.
    EXPECT_TRUE(RenamePhoneBookEntry(path_, "Harbour Net", "HARBOUR NET"));
    EXPECT_EQ(PhoneBookEntryNames(path_)[1], "HARBOUR NET");
}

TEST_F(PhoneBookEntriesTest, RenameKeepsWindowsLineEnds) {
    test::WriteFile(path_, "[A]\r\nPhoneNumber=1\r\n[B]\r\nPhoneNumber=2\r\n");
    EXPECT_TRUE(RenamePhoneBookEntry(path_, "B", "C"));
    EXPECT_EQ(test::ReadFile(path_), "[A]\r\nPhoneNumber=1\r\n[C]\r\nPhoneNumber=2\r\n");
}

TEST_F(PhoneBookEntriesTest, DeleteRemovesOnlyThatEntry) {
    EXPECT_TRUE(DeletePhoneBookEntry(path_, "Nightjar Online"));
    EXPECT_FALSE(DeletePhoneBookEntry(path_, "Nightjar Online"));
    EXPECT_EQ(PhoneBookEntryNames(path_), (std::vector<std::string>{"Harbour Net"}));
    EXPECT_EQ(FindEntry(Book(), "Harbour Net")->answers.size(), 2u);
}

}  // namespace
}  // namespace kestrelon
