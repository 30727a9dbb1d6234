#pragma once

#include <functional>
#include <string>

#include "platform/IconImage.h"

namespace kestrelon {

enum class TrayMouse { LeftDoubleClick, RightClick, LeftClick, Move };

// The desktop's notification area. Icons are told apart by a small id chosen by the caller.
class TrayService {
  public:
    virtual ~TrayService() = default;
    virtual bool IsAvailable() const = 0;
    virtual void Add(int id, const IconImage& icon, const std::string& tip) = 0;
    virtual void Modify(int id, const IconImage& icon, const std::string& tip) = 0;
    virtual void Delete(int id) = 0;
    virtual void SetMouseHandler(std::function<void(int id, TrayMouse)> handler) = 0;
};

}  // namespace kestrelon
