#pragma once

#include <string>

namespace kestrelon {

// The program's own message boxes, as the core asks for them.
class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual void Information(const std::string& text, const std::string& title) = 0;
    virtual bool Question(const std::string& text, const std::string& title) = 0;
};

}  // namespace kestrelon
