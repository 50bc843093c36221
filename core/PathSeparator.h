#pragma once

#include <string>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True when the character ends a folder path on this platform ('/' is one on Windows too).
inline bool isPathSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

// Where the last component of path begins: just after its last separator, or at 0.
inline std::size_t fileNameStart(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !isPathSeparator(path[start - 1]))
        --start;
    return start;
}
