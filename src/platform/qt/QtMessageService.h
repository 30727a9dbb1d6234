#pragma once

#include "platform/MessageService.h"

namespace kestrelon {

class AppCore;

// The core's message boxes, shown as the program's own message box window.
class QtMessageService : public MessageService {
  public:
    void SetApp(AppCore* app) { app_ = app; }
    void Information(const std::string& text, const std::string& title) override;
    bool Question(const std::string& text, const std::string& title) override;

  private:
    AppCore* app_ = nullptr;
};

}  // namespace kestrelon
