#pragma once

#include "platform/PowerOff.h"

namespace kestrelon {

// Asks the session's power manager (logind over the system bus) to switch the computer off.
// The request is not interactive: when the policy wants a password it is refused, not asked.
class LogindPowerOff : public PowerOff {
  public:
    PowerOffResult RequestPowerOff() override;
};

}  // namespace kestrelon
