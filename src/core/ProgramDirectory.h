#pragma once

#include <string>

namespace kestrelon {

// The program directory holds "Kestrelon.Ini", the logs, the statistics file and the language
// files. KESTRELON_HOME names it explicitly; otherwise it is the executable's directory when
// that is writable, else the per-user data directory.
std::string ResolveProgramDirectory();

// The directory used for the rest of the run; start-up sets it once (tests set their own).
void SetProgramDirectory(const std::string& directory);
const std::string& ProgramDirectory();

// The running executable's path and file name.
std::string ExecutablePath();

// The path with the separator appended unless it already ends with one.
std::string AddBackslash(const std::string& path);

// A file name relative to the program directory; absolute names are kept.
std::string InProgramDirectory(const std::string& fileName);

}  // namespace kestrelon
