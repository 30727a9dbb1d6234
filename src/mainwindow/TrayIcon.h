#pragma once

#include <map>
#include <string>

#include "platform/IconImage.h"

namespace kestrelon {

class TrayService;

// The notification-area icon operations. The service sets picture and tip together, so the
// module remembers both: a modify without a picture keeps the picture, one with an empty tip
// keeps the tip.
class TrayIcon {
  public:
    explicit TrayIcon(TrayService& service) : service_(service) {}

    bool TrayAdd(int id, const IconImage& icon, const std::string& tip);
    // icon null keeps the picture; an empty tip keeps the tip.
    bool TrayModify(int id, const IconImage* icon, const std::string& tip);
    bool TrayDelete(int id);

    bool Shown(int id) const { return shown_.count(id) != 0; }
    // The picture and tip last given for an icon (empty when it is not shown).
    const IconImage& Picture(int id) const;
    const std::string& Tip(int id) const;

  private:
    struct Entry {
        IconImage icon;
        std::string tip;
    };
    TrayService& service_;
    std::map<int, Entry> shown_;
};

}  // namespace kestrelon
