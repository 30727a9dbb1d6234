#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace kestrelon::test {

// Byte-exact file access for the tests, independent of the code under test.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

inline bool FileExists(const std::string& path) {
    return std::ifstream(path).good();
}

}  // namespace kestrelon::test
