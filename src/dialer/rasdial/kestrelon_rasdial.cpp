// kestrelon-rasdial: lists, dials and hangs up connections of the simulated remote access
// service from the command line, in the manner of the platform's own dial tool.
//
//   kestrelon-rasdial                         lists the active connections
//   kestrelon-rasdial ENTRY [USER [PASSWORD]]  dials ENTRY and leaves it connected
//   kestrelon-rasdial ENTRY /disconnect        hangs up the connections of ENTRY

#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/IniDocument.h"
#include "dialer/RasBackend.h"
#include "dialer/RasServiceDirectory.h"
#include "dialer/SimulatedRas.h"
#include "platform/posix/PosixTimerLoop.h"
#include "platform/posix/SystemClock.h"

namespace kestrelon {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

// Each line goes out at once, so a script or a pipe sees the states as they arrive.
void Say(std::string_view line) {
    std::cout << line << '\n' << std::flush;
}

void SayError(RasBackend& ras, std::uint32_t code) {
    Say("Remote Access error " + std::to_string(code) + " - " + ras.ErrorString(code));
}

void SayUsage() {
    Say("Usage: kestrelon-rasdial [ENTRY [USER [PASSWORD]]]");
    Say("       kestrelon-rasdial ENTRY /disconnect");
}

int ListConnections(RasBackend& ras) {
    const std::vector<RasConnection> connections = ras.EnumConnections();
    if (connections.empty()) {
        Say("No connections");
    } else {
        Say("Connected to");
        for (const RasConnection& connection : connections) {
            Say(connection.entryName);
        }
    }
    Say("Command completed successfully.");
    return kSuccess;
}

int Disconnect(RasBackend& ras, const std::string& entry) {
    bool found = false;
    for (const RasConnection& connection : ras.EnumConnections()) {
        if (EqualsIgnoreCase(connection.entryName, entry)) {
            ras.HangUp(connection.handle);
            found = true;
        }
    }
    if (!found) {
        Say("You are not connected to " + entry + ".");
        return kFailure;
    }
    Say("Command completed successfully.");
    return kSuccess;
}

int DialEntry(RasBackend& ras, PosixTimerLoop& loop, const std::string& entry,
              const std::vector<std::string>& credentials) {
    for (const RasConnection& connection : ras.EnumConnections()) {
        if (EqualsIgnoreCase(connection.entryName, entry)) {
            Say("You are already connected to " + connection.entryName + ".");
            Say("Command completed successfully.");
            return kSuccess;
        }
    }
    RasDialParams params = ras.GetEntryDialParams(entry);
    if (!credentials.empty()) {
        params.userName = credentials[0];
    }
    if (credentials.size() > 1) {
        params.password = credentials[1];
    }

    RasHandle handle = 0;
    ras.SetDialEventSink([&](int, std::uint32_t state, std::uint32_t error) {
        if (error != 0) {
            SayError(ras, error);
            ras.HangUp(handle);
            loop.Quit(kFailure);
        } else if (state == kRasCsDeviceConnected) {
            Say("Verifying username and password...");
        } else if (state == kRasCsConnected) {
            Say("Connected to " + entry + ".");
            Say("Command completed successfully.");
            loop.Quit(kSuccess);
        }
    });
    Say("Connecting to " + entry + "...");
    const std::uint32_t result = ras.Dial(1, entry, params.userName, params.password, handle);
    if (result != 0) {
        SayError(ras, result);
        return kFailure;
    }
    // A call that never answers keeps the tool waiting, as a modem would, until interrupted.
    const int code = loop.Run();
    return code == PosixTimerLoop::kNothingLeft ? kFailure : code;
}

bool IsDisconnectSwitch(const std::string& argument) {
    return EqualsIgnoreCase(argument, "/disconnect") || EqualsIgnoreCase(argument, "/d");
}

int Main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "/?" || args[0] == "-h" || args[0] == "--help")) {
        SayUsage();
        return kSuccess;
    }
    if (args.size() > 3 || (!args.empty() && args[0].starts_with('/'))) {
        SayUsage();
        return kFailure;
    }
    const std::string directory = RasServiceDirectory();
    if (directory.empty()) {
        Say("The service directory cannot be found: set KESTRELON_RAS_DIR or HOME.");
        return kFailure;
    }
    SystemClock clock;
    PosixTimerLoop loop;
    SimulatedRas ras(directory, clock, loop);

    if (args.empty()) {
        return ListConnections(ras);
    }
    if (args.size() == 2 && IsDisconnectSwitch(args[1])) {
        return Disconnect(ras, args[0]);
    }
    return DialEntry(ras, loop, args[0], {args.begin() + 1, args.end()});
}

}  // namespace
}  // namespace kestrelon

int main(int argc, char** argv) {
    return kestrelon::Main(argc, argv);
}
