#include "dialer/RasFunc.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "core/Language.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

// A service whose answers the test sets and whose calls it counts.
class ScriptedRasBackend : public RasBackend {
  public:
    void SetDialEventSink(DialEventSink s) override { sink = std::move(s); }
    std::vector<std::string> EnumEntries() override { return entries; }
    RasDialParams GetEntryDialParams(const std::string&) override { return {}; }
    std::uint32_t Dial(int, const std::string&, const std::string&, const std::string&,
                       RasHandle& handle) override {
        handle = 42;
        return 0;
    }
    void HangUp(RasHandle handle) override { hungUp.push_back(handle); }
    std::uint32_t GetConnectStatus(RasHandle, std::uint32_t& state) override {
        state = kRasCsConnected;
        return 0;
    }
    std::vector<RasConnection> EnumConnections() override { return connections; }
    std::optional<std::uint32_t> ConnectDurationMs(RasHandle) override {
        ++durationCalls;
        return duration;
    }
    std::string IpAddress(RasHandle) override { return "10.1.2.3"; }
    std::string ErrorString(std::uint32_t code) override {
        return code == 676 ? std::string("The line is busy.\0garbage", 25) : "";
    }

    DialEventSink sink;
    std::vector<std::string> entries;
    std::vector<RasConnection> connections;
    std::optional<std::uint32_t> duration;
    std::vector<RasHandle> hungUp;
    int durationCalls = 0;
};

class RasFuncTest : public ::testing::Test {
  protected:
    ScriptedRasBackend backend_;
    TextLookup lang_;
    RasFunc ras_{backend_, lang_};
};

TEST_F(RasFuncTest, FindRasConnectionWithoutConnectionsClearsNameAndHandle) {
    std::string name = "Nightjar";
    RasHandle handle = 17;
    ras_.FindRasConnection(name, handle);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(name, "");
}

TEST_F(RasFuncTest, FindRasConnectionByNameTakesTheLastMatch) {
    backend_.connections = {{11, "First"}, {12, "Twice"}, {13, "Other"}, {14, "Twice"}};

    std::string name;
    RasHandle handle = 0;
    ras_.FindRasConnection(name, handle);
    EXPECT_EQ(handle, 11u);
    EXPECT_EQ(name, "First");

    name = "Twice";
    ras_.FindRasConnection(name, handle);
    EXPECT_EQ(handle, 14u);
    EXPECT_EQ(name, "Twice");

    // Names match exactly; with no match the handle passed in stays.
    name = "twice";
    handle = 99;
    ras_.FindRasConnection(name, handle);
    EXPECT_EQ(handle, 99u);
    EXPECT_EQ(name, "twice");
}

TEST_F(RasFuncTest, ConnectDurationIsAskedForOnlyFromMajorVersionFiveOfTheNtFamily) {
    backend_.duration = 65000;
    ras_.SetPlatformVersion(true, 4);
    EXPECT_EQ(ras_.RasConnectDuration(5), 0u);
    ras_.SetPlatformVersion(false, 5);
    EXPECT_EQ(ras_.RasConnectDuration(5), 0u);
    EXPECT_EQ(backend_.durationCalls, 0);

    ras_.SetPlatformVersion(true, 5);
    EXPECT_EQ(ras_.RasConnectDuration(5), 65000u);
    backend_.duration.reset();
    EXPECT_EQ(ras_.RasConnectDuration(5), 0u);
    EXPECT_EQ(backend_.durationCalls, 2);
}

TEST_F(RasFuncTest, HangUpOfNoHandleDoesNotReachTheService) {
    ras_.RasHangUp(0);
    ras_.RasHangUp(8);
    EXPECT_EQ(backend_.hungUp, std::vector<RasHandle>{8});
}

TEST_F(RasFuncTest, ErrorTextsOfTheServiceAndTheProgramsOwnNumbers) {
    EXPECT_EQ(ras_.RasErrorText(676), "The line is busy.");
    EXPECT_EQ(ras_.RasErrorText(1001), "");
    EXPECT_EQ(ras_.RasErrorText(5000), "");
    EXPECT_EQ(ras_.RasErrorText(900), "Kestrelon has reached the maximum number of dials");
    EXPECT_EQ(ras_.RasErrorText(901), "Connecting timed out");
}

TEST_F(RasFuncTest, ProgramsOwnErrorTextsComeInTheLanguageInUse) {
    TempProgramDirectory dir;
    test::WriteFile(dir.File("lngDeutsch.ini"),
                    "[Default]\n"
                    "errormaxdials=Kestrelon hat die maximale Anzahl an Anwahlen erreicht\n"
                    "errorconnecttimeout=Zeit\xC3\xBC"
                    "berschreitung beim Verbinden\n");
    lang_.SetLanguageInUse("Deutsch");
    EXPECT_EQ(ras_.RasErrorText(900), "Kestrelon hat die maximale Anzahl an Anwahlen erreicht");
    EXPECT_EQ(ras_.RasErrorText(901),
              "Zeit\xC3\xBC"
              "berschreitung beim Verbinden");
    EXPECT_EQ(ras_.RasErrorText(676), "The line is busy.") << "service texts stay English";
}

TEST_F(RasFuncTest, DialEventsReachTheHandlerAndItsFailuresAreSwallowed) {
    std::vector<std::uint32_t> states;
    ASSERT_TRUE(backend_.sink);
    backend_.sink(1, 3, 0);  // no handler yet: dropped quietly
    ras_.SetDialEventHandler([&](int line, std::uint32_t state, std::uint32_t error) {
        states.push_back(state);
        if (line == 2 && error == 676) {
            throw std::runtime_error("handler failed");
        }
    });
    EXPECT_NO_THROW(backend_.sink(2, 2, 676));
    EXPECT_NO_THROW(backend_.sink(1, kRasCsConnected, 0));
    EXPECT_EQ(states, (std::vector<std::uint32_t>{2, kRasCsConnected}));
}

}  // namespace
}  // namespace kestrelon
