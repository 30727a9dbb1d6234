#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "charges/ChargeProfile.h"

namespace kestrelon {

// The charge profiles in "Kestrelon.Ini" (or another INI file; "" = "Kestrelon.Ini"):
// section "Charges" lists the names ("nCharges", "1ChargeName" ...), and section "CP" + name
// holds each profile.

inline constexpr int kMaxChargeNames = 64;

// Names 1 .. nCharges in list order (the vector's element i-1 is name i), at most 64.
std::vector<std::string> LoadChargeNames(std::string_view file = {});
// Appends a name to the list; false (nothing written) when the list already holds 64.
bool AddChargeName(const std::string& name);
// Removes name k (1-based): later names move up one key; the last key and the profile's own
// section stay in the file.
void DeleteChargeName(int k);
// Writes the profile into its section in one file write. Keys of windows beyond nItems left
// from an earlier save stay.
void SaveChargeProfile(const ChargeProfile& profile, std::string_view file = {});
// Reads a profile from its section; a name without a section gives zero rates, no windows.
ChargeProfile ReadChargeProfile(const std::string& name, std::string_view file = {});

// The ten-slot cache through which every reader gets a profile. Slots are reused in order
// 0 .. 9; names compare exactly (letter case counts).
class ChargeProfileCache {
  public:
    static constexpr int kSlots = 10;

    // reset empties the cache first (the editor's reload).
    ChargeProfile GetChargeProfile(const std::string& name, std::string_view file = {},
                                   bool reset = false);
    // How often a profile was read from a file, for the callers' tests and figures.
    int FileReads() const { return fileReads_; }

  private:
    std::array<ChargeProfile, kSlots> slots_{};
    int next_ = 0;
    int fileReads_ = 0;
};

// Start-up: merges every "cp*.INI" file of the program directory (pattern letters in any case)
// into "Kestrelon.Ini", in directory order. Names already listed are skipped with their
// profiles; each file is deleted afterwards, whether or not anything was taken from it.
void ImportChargeFiles(ChargeProfileCache& cache);

}  // namespace kestrelon
