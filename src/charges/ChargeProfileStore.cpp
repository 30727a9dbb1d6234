#include "charges/ChargeProfileStore.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "charges/DateValue.h"
#include "core/INIio.h"
#include "core/IniDocument.h"
#include "core/ProgramDirectory.h"

namespace kestrelon {

namespace {

constexpr std::string_view kNamesSection = "Charges";

std::string Section(const std::string& name) {
    return "CP" + name;
}

std::string NameKey(int i) {
    return std::to_string(i) + "ChargeName";
}

int ReadCount(const IniBatch& ini, std::string_view section, std::string_view key) {
    return static_cast<int>(LeadingNumber(ini.ReadString(section, key)));
}

Currency ReadMoney(const IniBatch& ini, const std::string& section, const std::string& key) {
    return ParseCurrency(ini.ReadString(section, key), IniRegionalFormat()).value_or(Currency{});
}

// An empty text is midnight; a text that is not a time too.
double ReadTime(const IniBatch& ini, const std::string& section, const std::string& key) {
    const std::string text = ini.ReadString(section, key);
    return text.empty() ? 0 : ParseTimeOfDay(text).value_or(0);
}

}  // namespace

std::vector<std::string> LoadChargeNames(std::string_view file) {
    const IniBatch ini(file);
    const int count = std::clamp(ReadCount(ini, kNamesSection, "nCharges"), 0, kMaxChargeNames);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        names.push_back(ini.ReadString(kNamesSection, NameKey(i)));
    }
    return names;
}

bool AddChargeName(const std::string& name) {
    IniBatch ini;
    const int count = ReadCount(ini, kNamesSection, "nCharges") + 1;
    if (count > kMaxChargeNames) {
        return false;
    }
    ini.Write(kNamesSection, "nCharges", count);
    ini.Write(kNamesSection, NameKey(count), name);
    return ini.Commit();
}

void DeleteChargeName(int k) {
    IniBatch ini;
    const int count = ReadCount(ini, kNamesSection, "nCharges") - 1;
    ini.Write(kNamesSection, "nCharges", count);
    for (int i = k; i <= count; ++i) {
        ini.Write(kNamesSection, NameKey(i), ini.ReadString(kNamesSection, NameKey(i + 1)));
    }
}

void SaveChargeProfile(const ChargeProfile& profile, std::string_view file) {
    IniBatch ini(file);
    const std::string section = Section(profile.Name);
    ini.Write(section, "StartRate", profile.StartRate);
    ini.Write(section, "BaseRate", profile.BaseRate);
    ini.Write(section, "nItems", profile.nItems);
    for (int i = 1; i <= profile.nItems && i <= ChargeProfile::kMaxWindows; ++i) {
        const RateWindow& w = profile.Window(i);
        const std::string n = std::to_string(i);
        ini.Write(section, n + "WeekDays", w.WeekDays);
        ini.Write(section, n + "StartTime", TimeOfDayText(w.StartTime));
        ini.Write(section, n + "EndTime", TimeOfDayText(w.EndTime));
        ini.Write(section, n + "Rate", w.Rate);
    }
}

ChargeProfile ReadChargeProfile(const std::string& name, std::string_view file) {
    const IniBatch ini(file);
    const std::string section = Section(name);
    ChargeProfile profile;
    profile.Name = name;
    profile.StartRate = ReadMoney(ini, section, "StartRate");
    profile.BaseRate = ReadMoney(ini, section, "BaseRate");
    profile.nItems = std::clamp(ReadCount(ini, section, "nItems"), 0, ChargeProfile::kMaxWindows);
    for (int i = 1; i <= profile.nItems; ++i) {
        RateWindow& w = profile.Window(i);
        const std::string n = std::to_string(i);
        w.StartTime = ReadTime(ini, section, n + "StartTime");
        w.WeekDays = ReadCount(ini, section, n + "WeekDays");
        w.EndTime = ReadTime(ini, section, n + "EndTime");
        w.Rate = ReadMoney(ini, section, n + "Rate");
    }
    return profile;
}

ChargeProfile ChargeProfileCache::GetChargeProfile(const std::string& name, std::string_view file,
                                                   bool reset) {
    if (reset) {
        next_ = 0;
        for (ChargeProfile& slot : slots_) {
            slot.Name.clear();
        }
    }
    for (const ChargeProfile& slot : slots_) {
        if (!slot.Name.empty() && slot.Name == name) {
            return slot;
        }
    }
    ChargeProfile profile = ReadChargeProfile(name, file);
    ++fileReads_;
    if (next_ > kSlots - 1) {
        next_ = 0;
    }
    slots_[static_cast<std::size_t>(next_)] = profile;
    ++next_;
    return profile;
}

void ImportChargeFiles(ChargeProfileCache& cache) {
    std::vector<std::string> names = LoadChargeNames();
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(ProgramDirectory(), error)) {
        const std::string fileName = entry.path().filename().string();
        const std::string lower = ToLower(fileName);
        if (entry.is_regular_file(error) && lower.starts_with("cp") && lower.ends_with(".ini")) {
            files.push_back(entry.path());
        }
    }
    for (const auto& path : files) {
        const std::string file = path.string();
        for (const std::string& name : LoadChargeNames(file)) {
            if (std::find(names.begin(), names.end(), name) != names.end()) {
                continue;
            }
            const ChargeProfile profile = cache.GetChargeProfile(name, file, false);
            if (AddChargeName(name)) {
                names.push_back(name);
                SaveChargeProfile(profile, {});
            }
        }
        std::filesystem::remove(path, error);
    }
}

}  // namespace kestrelon
