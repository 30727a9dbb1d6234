// Rewrites "Kestrelon.Ini" in the directory named on the command line, over and over,
// alternating between two complete versions: every key "A..." or every key "B...". The
// atomic-save test kills it at random moments and checks that the file is always whole.
#include <string>

#include "core/INIio.h"
#include "core/ProgramDirectory.h"

namespace {

// Keep in step with the atomic-save test, which rebuilds both versions byte for byte.
constexpr int kKeys = 400;
constexpr int kValueLength = 400;

std::string KeyName(int n) {
    std::string digits = std::to_string(n);
    return "Key" + std::string(5 - digits.size(), '0') + digits;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    kestrelon::SetProgramDirectory(argv[1]);
    for (;;) {
        // Each write flips the version found in the file, also across restarts of this program.
        kestrelon::IniBatch batch;
        const bool wasA = batch.ReadString("Data", KeyName(0)).starts_with('A');
        const std::string value(kValueLength, wasA ? 'B' : 'A');
        for (int n = 0; n < kKeys; ++n) {
            batch.Write("Data", KeyName(n), value);
        }
        if (!batch.Commit()) {
            return 1;
        }
    }
}
