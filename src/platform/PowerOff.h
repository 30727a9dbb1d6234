#pragma once

#include <string>

namespace kestrelon {

struct PowerOffResult {
    enum class Outcome { Requested, Refused, Unavailable };
    Outcome outcome = Outcome::Unavailable;
    std::string detail;  // why it was refused or unavailable, for the log
};

class PowerOff {
  public:
    virtual ~PowerOff() = default;
    // Asks the session's power manager to switch the computer off, without asking the user.
    virtual PowerOffResult RequestPowerOff() = 0;
};

}  // namespace kestrelon
