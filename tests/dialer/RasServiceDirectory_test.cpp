#include "dialer/RasServiceDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

// Sets or clears an environment variable for one test and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RasServiceDirectoryTest, ExplicitDirectoryThenConfigFolderThenHome) {
    TempProgramDirectory temp;
    const std::string explicitDir = temp.Path() + "/explicit/ras";
    const std::string config = temp.Path() + "/config";
    const std::string home = temp.Path() + "/home";
    {
        ScopedEnvironment ras("KESTRELON_RAS_DIR", explicitDir.c_str());
        ScopedEnvironment xdg("XDG_CONFIG_HOME", config.c_str());
        EXPECT_EQ(RasServiceDirectory(), explicitDir);
        EXPECT_TRUE(std::filesystem::is_directory(explicitDir));
    }
    {
        ScopedEnvironment ras("KESTRELON_RAS_DIR", "");
        ScopedEnvironment xdg("XDG_CONFIG_HOME", config.c_str());
        ScopedEnvironment homeVar("HOME", home.c_str());
        EXPECT_EQ(RasServiceDirectory(), config + "/kestrelon-ras");
        EXPECT_TRUE(std::filesystem::is_directory(config + "/kestrelon-ras"));
    }
    {
        ScopedEnvironment ras("KESTRELON_RAS_DIR", nullptr);
        ScopedEnvironment xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnvironment homeVar("HOME", home.c_str());
        EXPECT_EQ(RasServiceDirectory(), home + "/.config/kestrelon-ras");
        EXPECT_TRUE(std::filesystem::is_directory(home + "/.config/kestrelon-ras"));
    }
}

}  // namespace
}  // namespace kestrelon
