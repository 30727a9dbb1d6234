#pragma once

#include <string>

namespace kestrelon {

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a document, folder or address with the program the desktop associates with it.
    virtual bool Open(const std::string& target) = 0;
};

}  // namespace kestrelon
