#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "platform/TempProgramDirectory.h"

extern char** environ;

namespace kestrelon {
namespace {

// Must match the helper program.
constexpr int kKeys = 400;
constexpr int kValueLength = 400;

std::string Version(char fill) {
    std::string text = "[Data]\n";
    const std::string value(kValueLength, fill);
    for (int n = 0; n < kKeys; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "Key%05d", n);
        text += std::string(key) + "=" + value + "\n";
    }
    return text;
}

pid_t StartWriter(const std::string& directory) {
    std::string program = KESTRELON_INI_WRITER_HELPER;
    std::string dirArg = directory;
    char* argv[] = {program.data(), dirArg.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    return pid;
}

// A writer killed at any moment leaves the INI file either wholly old or wholly new; a
// half-written temporary file may be left behind, but never under the INI file's name.
TEST(AtomicSave, KilledWriterNeverLeavesAPartialFile) {
    TempProgramDirectory dir;
    const std::string ini = dir.File("Kestrelon.Ini");
    const std::string versionA = Version('A');
    const std::string versionB = Version('B');
    bool seenA = false;
    bool seenB = false;
    int leftovers = 0;

    const auto started = std::chrono::steady_clock::now();
    for (int round = 0; round < 200; ++round) {
        const pid_t writer = StartWriter(dir.Path());
        ASSERT_GT(writer, 0);
        if (round == 0) {
            // Let the first complete version appear before killing starts.
            for (int wait = 0; wait < 5000 && !test::FileExists(ini); ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        // Varied moments, spread over start-up, reading, and writing.
        std::this_thread::sleep_for(std::chrono::microseconds((round * 7919) % 45000));
        ASSERT_EQ(kill(writer, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

        const std::string content = test::ReadFile(ini);
        ASSERT_TRUE(content == versionA || content == versionB)
            << "round " << round << ": INI file of " << content.size() << " bytes is partial";
        seenA = seenA || content == versionA;
        seenB = seenB || content == versionB;

        leftovers = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name == "Kestrelon.Ini") {
                continue;
            }
            ++leftovers;
            ASSERT_TRUE(name.starts_with("Kestrelon.Ini.tmp-")) << name;
        }
    }
    EXPECT_TRUE(seenA && seenB) << "the writer never completed both versions ";
    RecordProperty("temporary_leftovers", leftovers);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

}  // namespace
}  // namespace kestrelon
