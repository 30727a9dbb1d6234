#pragma once

#include <functional>
#include <string>

#include "platform/MailClientLocator.h"

namespace kestrelon {

// Finds the desktop's default mail program: the handler of mailto links named in the
// freedesktop "mimeapps.list" files, and the command line of its desktop entry with the field
// codes (%u, %U, ...) removed. "" when none is set.
// getEnv reads an environment variable (tests pass their own).
std::string DefaultMailCommand(const std::function<std::string(const char*)>& getEnv);

class DesktopMailClientLocator : public MailClientLocator {
  public:
    std::string DefaultMailCommand() override;
};

}  // namespace kestrelon
