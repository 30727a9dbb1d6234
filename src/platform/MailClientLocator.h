#pragma once

#include <string>

namespace kestrelon {

class MailClientLocator {
  public:
    virtual ~MailClientLocator() = default;
    // The command line of the desktop's default mail program, or "" when there is none.
    virtual std::string DefaultMailCommand() = 0;
};

}  // namespace kestrelon
