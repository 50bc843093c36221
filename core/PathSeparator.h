#pragma once

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True when the character ends a folder path on this platform ('/' is one on Windows too).
inline bool isPathSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}
