#include "dialer/SimulatedRas.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "platform/FakeClock.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

using test::ReadFile;
using test::WriteFile;

constexpr std::uint32_t kOpenPort = 0;
constexpr std::uint32_t kConnectDevice = 2;

struct Event {
    int line = 0;
    std::uint32_t state = 0;
    std::uint32_t error = 0;
    std::uint32_t atMs = 0;  // since the test began
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{line " << e.line << ", state " << e.state << ", error " << e.error << ", at "
               << e.atMs << "}";
}

class SimulatedRasTest : public ::testing::Test {
  protected:
    SimulatedRasTest() : dir_(temp_.Path() + "/ras"), begin_(clock_.TickCount()) {
        std::filesystem::create_directories(dir_);
    }

    void WritePhoneBook(const std::string& content) { WriteFile(dir_ + "/rasphone.pbk", content); }

    std::unique_ptr<SimulatedRas> Open() {
        auto ras = std::make_unique<SimulatedRas>(dir_, clock_, clock_);
        ras->SetDialEventSink([this](int line, std::uint32_t state, std::uint32_t error) {
            events_.push_back({line, state, error, clock_.TickCount() - begin_});
        });
        return ras;
    }

    std::uint32_t Elapsed() const { return clock_.TickCount() - begin_; }

    // Dials and checks that the call started without any event inside the call.
    RasHandle DialOk(SimulatedRas& ras, const std::string& entry, int line = 1) {
        RasHandle handle = 0;
        const std::size_t before = events_.size();
        EXPECT_EQ(ras.Dial(line, entry, "user", "secret", handle), 0u);
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(events_.size(), before) << "an event came from inside Dial";
        return handle;
    }

    std::vector<std::string> Connected(SimulatedRas& ras) {
        std::vector<std::string> names;
        for (const RasConnection& c : ras.EnumConnections()) {
            names.push_back(c.entryName);
        }
        return names;
    }

    TempProgramDirectory temp_;
    FakeClock clock_;
    std::string dir_;
    std::uint32_t begin_;
    std::vector<Event> events_;
};

TEST_F(SimulatedRasTest, SuccessiveDialsFollowTheAnswersAndTheLastOneRepeats) {
    WritePhoneBook("[Harbour]\nAnswer=busy busy connect\nDeviceMs=200\nAuthMs=100\nFailMs=150\n");
    auto ras = Open();

    for (int dial = 0; dial < 2; ++dial) {
        events_.clear();
        const std::uint32_t start = Elapsed();
        const RasHandle handle = DialOk(*ras, "Harbour", 2);
        clock_.Advance(149);
        EXPECT_EQ(events_,
                  (std::vector<Event>{{2, kOpenPort, 0, start}, {2, kConnectDevice, 0, start}}));
        clock_.Advance(1);
        ASSERT_EQ(events_.size(), 3u);
        EXPECT_EQ(events_[2], (Event{2, kConnectDevice, 676, start + 150}));
        ras->HangUp(handle);
        clock_.Advance(1000);
    }

    for (int dial = 0; dial < 2; ++dial) {
        events_.clear();
        const std::uint32_t start = Elapsed();
        const RasHandle handle = DialOk(*ras, "Harbour");
        clock_.Advance(1000);
        EXPECT_EQ(events_, (std::vector<Event>{{1, kOpenPort, 0, start},
                                               {1, kConnectDevice, 0, start},
                                               {1, kRasCsDeviceConnected, 0, start + 200},
                                               {1, kRasCsConnected, 0, start + 300}}));
        EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Harbour"});
        std::uint32_t state = 0;
        EXPECT_EQ(ras->GetConnectStatus(handle, state), 0u);
        EXPECT_EQ(state, kRasCsConnected);
        ras->HangUp(handle);
        EXPECT_TRUE(Connected(*ras).empty());
    }
}

TEST_F(SimulatedRasTest, AuthFailConnectsTheDeviceThenRefusesTheLogOn) {
    WritePhoneBook("[Strict]\nAnswer=authfail\nDeviceMs=500\nAuthMs=250\n");
    auto ras = Open();
    const RasHandle handle = DialOk(*ras, "Strict");
    std::uint32_t state = 99;
    EXPECT_EQ(ras->GetConnectStatus(handle, state), 0u);
    EXPECT_EQ(state, kOpenPort);
    clock_.Advance(500);
    ASSERT_EQ(events_.size(), 3u);
    EXPECT_EQ(events_[2], (Event{1, kRasCsDeviceConnected, 0, 500}));
    EXPECT_EQ(ras->GetConnectStatus(handle, state), 0u);
    EXPECT_EQ(state, kRasCsDeviceConnected);
    clock_.Advance(250);
    ASSERT_EQ(events_.size(), 4u);
    EXPECT_EQ(events_[3].error, 691u);
    EXPECT_NE(events_[3].state, kRasCsDeviceConnected);
    EXPECT_NE(events_[3].state, kRasCsConnected);
    EXPECT_EQ(events_[3].atMs, 750u);
    EXPECT_TRUE(Connected(*ras).empty());
}

TEST_F(SimulatedRasTest, SilentCallNeverSendsAnythingAndStaysInProgress) {
    WritePhoneBook("[Void]\nAnswer=silent\n");
    auto ras = Open();
    const RasHandle handle = DialOk(*ras, "Void");
    clock_.Advance(600000);
    EXPECT_TRUE(events_.empty());
    std::uint32_t state = 99;
    EXPECT_EQ(ras->GetConnectStatus(handle, state), 0u);
    EXPECT_EQ(state, kOpenPort);
    EXPECT_TRUE(Connected(*ras).empty());
}

TEST_F(SimulatedRasTest, NumberOutcomesAndNamedFailuresGiveTheirErrors) {
    WritePhoneBook(
        "[Odd]\nAnswer=noanswer nodialtone frobnicate 720 BUSY\nFailMs=40\n"
        "[Zero]\nAnswer=\nDeviceMs=0\nAuthMs=0\n");
    auto ras = Open();
    std::vector<std::uint32_t> errors;
    for (int dial = 0; dial < 5; ++dial) {
        events_.clear();
        const RasHandle handle = DialOk(*ras, "Odd");
        clock_.Advance(39);
        EXPECT_EQ(events_.size(), 2u);
        clock_.Advance(1);
        ASSERT_EQ(events_.size(), 3u);
        errors.push_back(events_.back().error);
        ras->HangUp(handle);
    }
    // The unknown word is skipped; the last answer repeats.
    EXPECT_EQ(errors, (std::vector<std::uint32_t>{678, 680, 720, 676, 676}));

    // An empty answer connects; zero delays still come from a timer, not from inside Dial.
    events_.clear();
    DialOk(*ras, "Zero");
    clock_.Advance(0);
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.back().state, kRasCsConnected);
}

TEST_F(SimulatedRasTest, UnknownEntryFailsAtOnceWithoutEvents) {
    WritePhoneBook("[Known]\n");
    auto ras = Open();
    RasHandle handle = 77;
    EXPECT_EQ(ras->Dial(1, "Unknown", "", "", handle), 623u);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(clock_.ActiveTimers(), 0);
    clock_.Advance(10000);
    EXPECT_TRUE(events_.empty());
}

TEST_F(SimulatedRasTest, EntriesAreMatchedWithoutRegardToCaseAndListedInFileOrder) {
    WritePhoneBook(
        "[Zulu]\nUserName=z\nPassword=zz\n[alpha]\nUserName=a\n[ZULU]\nUserName=other\n"
        "[Mike Two]\n");
    auto ras = Open();
    EXPECT_EQ(ras->EnumEntries(), (std::vector<std::string>{"Zulu", "alpha", "Mike Two"}));
    const RasDialParams params = ras->GetEntryDialParams("zulu");
    EXPECT_EQ(params.userName, "z");
    EXPECT_EQ(params.password, "zz");
    EXPECT_EQ(ras->GetEntryDialParams("nobody").userName, "");
    DialOk(*ras, "MIKE TWO");
    clock_.Advance(5000);
    EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Mike Two"});
}

TEST_F(SimulatedRasTest, PhoneBookEditsCountAtTheNextDial) {
    WritePhoneBook("[Edit]\nAnswer=busy\nFailMs=10\n");
    auto ras = Open();
    RasHandle handle = DialOk(*ras, "Edit");
    clock_.Advance(10);
    EXPECT_EQ(events_.back().error, 676u);
    ras->HangUp(handle);

    WritePhoneBook("[Edit]\nAnswer=busy 633\nFailMs=10\n[Added]\n");
    EXPECT_EQ(ras->EnumEntries(), (std::vector<std::string>{"Edit", "Added"}));
    handle = DialOk(*ras, "Edit");  // the second dial of the entry
    clock_.Advance(10);
    EXPECT_EQ(events_.back().error, 633u);
}

TEST_F(SimulatedRasTest, HangUpCancelsPendingEventsAndTheHandleTurnsInvalidLater) {
    WritePhoneBook("[Slow]\nDeviceMs=1000\nAuthMs=1000\nHangUpMs=500\n");
    auto ras = Open();
    const RasHandle handle = DialOk(*ras, "Slow");
    clock_.Advance(1000);
    ASSERT_EQ(events_.back().state, kRasCsDeviceConnected);
    const std::size_t seen = events_.size();

    ras->HangUp(handle);
    EXPECT_EQ(clock_.ActiveTimers(), 0) << "the pending events are cancelled";
    clock_.Advance(499);
    std::uint32_t state = 0;
    EXPECT_EQ(ras->GetConnectStatus(handle, state), 0u) << "still valid right after the hang-up";
    EXPECT_EQ(state, kRasCsDisconnected);
    clock_.Advance(1);
    EXPECT_EQ(ras->GetConnectStatus(handle, state), kErrorInvalidHandle);
    clock_.Advance(10000);
    EXPECT_EQ(events_.size(), seen) << "no event after the hang-up";
    EXPECT_TRUE(Connected(*ras).empty());

    // Hanging up again, nothing or a handle nobody has is harmless.
    ras->HangUp(handle);
    ras->HangUp(0);
    ras->HangUp(987654);
    EXPECT_EQ(ras->GetConnectStatus(987654, state), kErrorInvalidHandle);
}

TEST_F(SimulatedRasTest, HangUpOfAConnectionUsesTheDefaultDelay) {
    WritePhoneBook("[Quick]\nDeviceMs=10\nAuthMs=10\n[Other]\nDeviceMs=10\nAuthMs=10\n");
    auto ras = Open();
    const RasHandle quick = DialOk(*ras, "Quick");
    const RasHandle other = DialOk(*ras, "Other");
    EXPECT_NE(quick, other);
    clock_.Advance(20);
    EXPECT_EQ(Connected(*ras), (std::vector<std::string>{"Quick", "Other"}));

    ras->HangUp(987654);  // unknown handles leave the others alone
    ras->HangUp(quick);
    EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Other"});
    std::uint32_t state = 0;
    clock_.Advance(299);
    EXPECT_EQ(ras->GetConnectStatus(quick, state), 0u);
    clock_.Advance(1);
    EXPECT_EQ(ras->GetConnectStatus(quick, state), kErrorInvalidHandle);
    EXPECT_EQ(ras->GetConnectStatus(other, state), 0u);
    EXPECT_EQ(state, kRasCsConnected);
}

TEST_F(SimulatedRasTest, HangUpFromInsideTheSinkStopsTheRestOfTheCall) {
    WritePhoneBook("[Inner]\nDeviceMs=10\nAuthMs=10\nHangUpMs=0\n");
    auto ras = Open();
    RasHandle handle = 0;
    std::vector<std::uint32_t> states;
    ras->SetDialEventSink([&](int, std::uint32_t state, std::uint32_t) {
        states.push_back(state);
        ras->HangUp(handle);
        std::uint32_t ignored = 0;
        ras->GetConnectStatus(handle, ignored);
    });
    ASSERT_EQ(ras->Dial(1, "Inner", "", "", handle), 0u);
    clock_.Advance(100);
    // The open-port state comes; the connect-device state of the same moment does not.
    EXPECT_EQ(states, std::vector<std::uint32_t>{kOpenPort});
    EXPECT_TRUE(Connected(*ras).empty());
}

TEST_F(SimulatedRasTest, DialOfAConnectedEntryFailsWithPortAlreadyOpen) {
    WritePhoneBook("[Once]\nDeviceMs=10\nAuthMs=10\nFailMs=70\nAnswer=connect busy\n");
    auto ras = Open();
    DialOk(*ras, "Once");
    clock_.Advance(20);
    events_.clear();
    DialOk(*ras, "once", 2);
    clock_.Advance(69);
    EXPECT_EQ(events_.size(), 2u);
    clock_.Advance(1);
    ASSERT_EQ(events_.size(), 3u);
    EXPECT_EQ(events_.back().error, 602u);
    EXPECT_EQ(events_.back().line, 2);
    EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Once"});
}

TEST_F(SimulatedRasTest, TwoCallsOfOneEntryRacingGiveOneConnection) {
    WritePhoneBook("[Race]\nDeviceMs=10\nAuthMs=10\n");
    auto ras = Open();
    DialOk(*ras, "Race", 1);
    DialOk(*ras, "Race", 2);
    clock_.Advance(20);
    EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Race"});
    ASSERT_GE(events_.size(), 2u);
    EXPECT_EQ(events_[events_.size() - 2], (Event{1, kRasCsConnected, 0, 20}));
    EXPECT_EQ(events_.back().line, 2);
    EXPECT_EQ(events_.back().error, 602u);
}

TEST_F(SimulatedRasTest, LineDropsForEveryReaderAfterDropAfter) {
    WritePhoneBook(
        "[Short]\nDeviceMs=10\nAuthMs=10\nDropAfter=5\n[Long]\nDeviceMs=10\nAuthMs=10\n");
    auto ras = Open();
    auto reader = Open();
    const RasHandle handle = DialOk(*ras, "Short");
    clock_.Advance(20);
    EXPECT_EQ(Connected(*reader), std::vector<std::string>{"Short"});
    clock_.Advance(4999);
    EXPECT_EQ(reader->ConnectDurationMs(handle), 4999u);
    EXPECT_EQ(Connected(*reader), std::vector<std::string>{"Short"});
    clock_.Advance(1);
    EXPECT_TRUE(Connected(*reader).empty());
    EXPECT_TRUE(Connected(*ras).empty());
    std::uint32_t state = 0;
    EXPECT_EQ(ras->GetConnectStatus(handle, state), kErrorInvalidHandle);
    EXPECT_EQ(reader->ConnectDurationMs(handle), std::nullopt);
    EXPECT_EQ(reader->IpAddress(handle), "");

    // The next write of the table leaves the dropped line out.
    EXPECT_NE(ReadFile(dir_ + "/rasconn.tbl").find("Short"), std::string::npos);
    DialOk(*ras, "Long");
    EXPECT_EQ(ReadFile(dir_ + "/rasconn.tbl").find("Short"), std::string::npos);
}

TEST_F(SimulatedRasTest, TimesHoldAcrossTheWrapOfTheTickCount) {
    WritePhoneBook("[Wrap]\nDeviceMs=10\nAuthMs=10\nDropAfter=2\n");
    clock_.SetTickCount(0xFFFFFFFFu - 500);
    auto ras = Open();
    const RasHandle handle = DialOk(*ras, "Wrap");
    clock_.Advance(20);
    clock_.Advance(1000);  // the tick count has wrapped now
    EXPECT_LT(clock_.TickCount(), 1000u);
    EXPECT_EQ(ras->ConnectDurationMs(handle), 1000u);
    EXPECT_EQ(Connected(*ras), std::vector<std::string>{"Wrap"});
    clock_.Advance(1000);
    EXPECT_TRUE(Connected(*ras).empty());
}

TEST_F(SimulatedRasTest, TwoInstancesOnOneDirectorySeeEachOthersConnections) {
    WritePhoneBook(
        "[Shared]\nDeviceMs=10\nAuthMs=10\nFailMs=30\n[Second]\nDeviceMs=10\nAuthMs=10\n");
    auto first = Open();
    auto second = Open();
    const RasHandle shared = DialOk(*first, "Shared");
    const RasHandle other = DialOk(*second, "Second");
    EXPECT_NE(shared, other) << "handles are unique across instances";
    std::uint32_t state = 0;
    EXPECT_EQ(second->GetConnectStatus(shared, state), kErrorInvalidHandle)
        << "a call in progress belongs to its own instance";
    clock_.Advance(20);

    const std::vector<RasConnection> seen = second->EnumConnections();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].handle, shared);
    EXPECT_EQ(seen[0].entryName, "Shared");
    EXPECT_EQ(second->GetConnectStatus(shared, state), 0u);
    EXPECT_EQ(state, kRasCsConnected);
    EXPECT_EQ(second->IpAddress(shared), first->IpAddress(shared));
    clock_.Advance(700);
    EXPECT_EQ(second->ConnectDurationMs(shared), 700u);

    // The entry is connected system-wide: the other instance cannot dial it too.
    events_.clear();
    DialOk(*second, "Shared");
    clock_.Advance(30);
    EXPECT_EQ(events_.back().error, 602u);

    // A connection outlives the instance that made it; a hang-up anywhere ends it everywhere.
    first.reset();
    EXPECT_EQ(Connected(*second), (std::vector<std::string>{"Shared", "Second"}));
    auto third = Open();
    third->HangUp(other);
    EXPECT_EQ(Connected(*second), std::vector<std::string>{"Shared"});
    EXPECT_EQ(second->GetConnectStatus(other, state), kErrorInvalidHandle);
    EXPECT_EQ(third->GetConnectStatus(other, state), 0u) << "valid for a while where hung up";
    clock_.Advance(300);
    EXPECT_EQ(third->GetConnectStatus(other, state), kErrorInvalidHandle);
}

TEST_F(SimulatedRasTest, MissingPhoneBookIsCreatedWithTheSampleEntries) {
    const std::string fresh = temp_.Path() + "/new/service";
    {
        SimulatedRas ras(fresh, clock_, clock_);
        EXPECT_EQ(ras.EnumEntries().size(), 4u);
    }
    ASSERT_TRUE(test::FileExists(fresh + "/rasphone.pbk"));
    EXPECT_EQ(test::FileMode(fresh + "/rasphone.pbk") & 077, 0) << "passwords are in it";

    dir_ = fresh;
    auto ras = Open();
    const std::vector<std::string> entries = ras->EnumEntries();
    for (const std::string& entry : entries) {
        EXPECT_FALSE(ras->GetEntryDialParams(entry).userName.empty()) << entry;
    }
    // Run every entry three times and look at what it did.
    std::vector<std::vector<std::uint32_t>> results(entries.size());
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            events_.clear();
            const RasHandle handle = DialOk(*ras, entries[i]);
            clock_.Advance(10000);
            results[i].push_back(events_.back().error != 0 ? events_.back().error
                                                           : events_.back().state);
            ras->HangUp(handle);
        }
    }
    const std::vector<std::uint32_t> connects(3, kRasCsConnected);
    const std::vector<std::uint32_t> busyTwice{676, 676, kRasCsConnected};
    const std::vector<std::uint32_t> alwaysBusy(3, 676);
    EXPECT_EQ(std::count(results.begin(), results.end(), busyTwice), 1);
    EXPECT_EQ(std::count(results.begin(), results.end(), alwaysBusy), 1);
    EXPECT_EQ(std::count(results.begin(), results.end(), connects), 2);

    // One of the entries that connect drops by itself after a while.
    int dropping = 0;
    for (const std::string& entry : entries) {
        const RasHandle handle = DialOk(*ras, entry);
        clock_.Advance(10000);
        if (!ras->ConnectDurationMs(handle)) {
            continue;
        }
        clock_.Advance(10 * 60 * 1000);
        std::uint32_t state = 0;
        dropping += ras->GetConnectStatus(handle, state) == kErrorInvalidHandle ? 1 : 0;
        ras->HangUp(handle);
    }
    EXPECT_EQ(dropping, 1);
}

TEST_F(SimulatedRasTest, ExistingPhoneBookIsNotReplaced) {
    WritePhoneBook("; mine\n[Only]\n");
    auto ras = Open();
    EXPECT_EQ(ras->EnumEntries(), std::vector<std::string>{"Only"});
    EXPECT_EQ(ReadFile(dir_ + "/rasphone.pbk"), "; mine\n[Only]\n");
}

TEST_F(SimulatedRasTest, IpAddressDiffersPerEntryUnlessTheKeySetsIt) {
    std::string book;
    for (int n = 0; n < 20; ++n) {
        book += "[Entry " + std::to_string(n) + "]\nDeviceMs=1\nAuthMs=1\n";
    }
    book += "[Fixed]\nDeviceMs=1\nAuthMs=1\nIpAddress=192.0.2.44\n";
    WritePhoneBook(book);
    auto ras = Open();
    std::set<std::string> addresses;
    const std::regex privateAddress(R"(10\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))");
    for (int n = 0; n < 20; ++n) {
        const RasHandle handle = DialOk(*ras, "Entry " + std::to_string(n));
        EXPECT_EQ(ras->IpAddress(handle), "") << "no address before the connection is up";
        clock_.Advance(2);
        const std::string address = ras->IpAddress(handle);
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(address, parts, privateAddress)) << address;
        for (int p = 1; p <= 3; ++p) {
            EXPECT_LE(std::stoi(parts[p]), 255);
        }
        EXPECT_NE(parts[3], "0");
        addresses.insert(address);
        ras->HangUp(handle);
        DialOk(*ras, "Entry " + std::to_string(n));  // the same entry gets the same address
        clock_.Advance(2);
        EXPECT_EQ(ras->IpAddress(ras->EnumConnections().back().handle), address);
        ras->HangUp(ras->EnumConnections().back().handle);
    }
    EXPECT_EQ(addresses.size(), 20u);

    const RasHandle fixed = DialOk(*ras, "Fixed");
    clock_.Advance(2);
    EXPECT_EQ(ras->IpAddress(fixed), "192.0.2.44");
    EXPECT_EQ(ras->IpAddress(0), "");
}

TEST_F(SimulatedRasTest, ErrorStringsAreTheServiceTexts) {
    WritePhoneBook("[x]\n");
    auto ras = Open();
    EXPECT_EQ(ras->ErrorString(602), "The port is already open.");
    EXPECT_EQ(ras->ErrorString(623),
              "The system could not find the phone book entry for this connection.");
    EXPECT_EQ(ras->ErrorString(629), "The port was disconnected by the remote machine.");
    EXPECT_EQ(ras->ErrorString(631), "The port was disconnected by the user.");
    EXPECT_EQ(ras->ErrorString(633),
              "The modem (or other connecting device) is already in use or is not configured "
              "properly.");
    EXPECT_EQ(ras->ErrorString(676), "The line is busy.");
    EXPECT_EQ(ras->ErrorString(678), "There was no answer.");
    EXPECT_EQ(ras->ErrorString(680), "There was no dial tone.");
    EXPECT_EQ(ras->ErrorString(691),
              "Access was denied because the username and/or password was invalid on the "
              "domain.");
    EXPECT_EQ(ras->ErrorString(718),
              "Timed out waiting for a valid response from the remote PPP peer.");
    for (std::uint32_t code = 600; code <= 744; ++code) {
        EXPECT_FALSE(ras->ErrorString(code).empty()) << code;
    }
    for (const std::uint32_t unknown : {0u, 6u, 599u, 801u, 900u, 901u, 1001u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ras->ErrorString(unknown), "") << unknown;
    }
}

}  // namespace
}  // namespace kestrelon
