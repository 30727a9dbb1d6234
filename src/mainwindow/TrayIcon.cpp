#include "mainwindow/TrayIcon.h"

#include "platform/TrayService.h"

namespace kestrelon {

bool TrayIcon::TrayAdd(int id, const IconImage& icon, const std::string& tip) {
    if (!service_.IsAvailable()) {
        return false;
    }
    shown_[id] = {icon, tip};
    service_.Add(id, icon, tip);
    return true;
}

bool TrayIcon::TrayModify(int id, const IconImage* icon, const std::string& tip) {
    const auto found = shown_.find(id);
    if (found == shown_.end() || !service_.IsAvailable()) {
        return false;
    }
    if (icon == nullptr && tip.empty()) {
        return true;
    }
    if (icon != nullptr) {
        found->second.icon = *icon;
    }
    if (!tip.empty()) {
        found->second.tip = tip;
    }
    service_.Modify(id, found->second.icon, found->second.tip);
    return true;
}

bool TrayIcon::TrayDelete(int id) {
    if (shown_.erase(id) == 0) {
        return false;
    }
    service_.Delete(id);
    return true;
}

const IconImage& TrayIcon::Picture(int id) const {
    static const IconImage kNone;
    const auto found = shown_.find(id);
    return found != shown_.end() ? found->second.icon : kNone;
}

const std::string& TrayIcon::Tip(int id) const {
    static const std::string kNone;
    const auto found = shown_.find(id);
    return found != shown_.end() ? found->second.tip : kNone;
}

}  // namespace kestrelon
