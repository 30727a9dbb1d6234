#pragma once

#include <string>

namespace kestrelon {

// A fresh, empty program directory for one test; removed with everything in it afterwards.
class TempProgramDirectory {
  public:
    TempProgramDirectory();
    ~TempProgramDirectory();
    TempProgramDirectory(const TempProgramDirectory&) = delete;
    TempProgramDirectory& operator=(const TempProgramDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace kestrelon
