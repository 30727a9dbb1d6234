#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialer/RasBackend.h"

namespace kestrelon {

// What the status panel shows.
enum StatusState {
    kStatusWelcome = 0,
    kStatusDialing = 1,
    kStatusAuthorising = 2,
    kStatusConnectionError = 3,
    kStatusAborted = 4,
    kStatusConnected = 5,
    kStatusDisconnected = 6,
};

// One dialing line.
struct DialLine {
    RasHandle Handle = 0;      // call in progress or connected; 0 = idle
    RasHandle HungHandle = 0;  // last call hung up here, for the wait-invalidate rule
    std::string EntryName;
    int ProfileIndex = 0;  // profile whose error rules apply to this line
    bool DeviceConnected = false;
    std::uint32_t DialStart = 0;
    std::uint32_t LastError = 0;  // waiting to be handled; 0 = none
    std::uint32_t State = 0;
    std::uint32_t PortErrorSince = 0;  // first swallowed 602/631; 0 = none
    std::uint32_t ErrorTick = 0;
    std::uint32_t AttemptMs = 0;  // length of the last failed call
};

// The one dial session of the process.
struct DialSession {
    static constexpr int kDialTickSlots = 50;

    bool Dialing = false;
    int ConnLine = -1;  // 1 or 2; 0 = none; -1 = none since start-up
    int CurProfile = 0;
    bool DualActive = false;
    std::uint32_t DialBegin = 0;
    int DialCount = 0;
    std::array<std::uint32_t, kDialTickSlots + 1> DialTicks{};
    std::uint32_t LastErrorCode = 0;
    std::uint32_t ConnectStart = 0;
    std::string ConnEntry;
    int AuthLine = 0;
    int StatusState = kStatusWelcome;
    float OnlineSeconds = 0;
    float DialsPerMinute = 0;
    std::string IpAddress;
    std::string ChargesText;
    std::array<DialLine, 3> Lines{};  // 1 and 2

    DialLine& Line(int n) { return Lines[static_cast<std::size_t>(n)]; }
    const DialLine& Line(int n) const { return Lines[static_cast<std::size_t>(n)]; }
};

// "h:mm:ss" from one hour on, else "m:ss"; with hoursAndMinutes "h:mm".
std::string FormatDuration(double seconds, bool hoursAndMinutes = false);

// The dial summary's dials per minute: one decimal (cut, not rounded) below 10, else whole.
std::string FormatDialsPerMinute(int dialCount, float dialSeconds);

}  // namespace kestrelon
