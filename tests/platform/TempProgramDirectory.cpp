#include "platform/TempProgramDirectory.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "core/ProgramDirectory.h"

namespace kestrelon {

TempProgramDirectory::TempProgramDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kestrelon-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary program directory");
    }
    path_ = buffer.data();
    SetProgramDirectory(path_);
}

TempProgramDirectory::~TempProgramDirectory() {
    // Tests may have made files read-only; make everything removable first.
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
    // Nothing should go on writing into the removed directory.
    SetProgramDirectory("");
}

}  // namespace kestrelon
