// Paths in files and settings may use "\" or "/"; both become the native
// separator before they reach the file system.
#pragma once

#include <filesystem>
#include <string>

namespace text {

inline std::string ToNativePath(std::string path) {
    constexpr char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    for (char& c : path)
        if (c == '\\' || c == '/') c = sep;
    return path;
}

}  // namespace text
