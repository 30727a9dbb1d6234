#pragma once

#include "platform/Shell.h"

namespace kestrelon {

// Opens documents and addresses with the desktop's associated programs.
class QtShell : public Shell {
  public:
    bool Open(const std::string& target) override;
};

}  // namespace kestrelon
