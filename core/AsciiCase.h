#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Case of the ASCII letters only, as file systems, zip packages and compound files compare
// names: every other byte or code unit (UTF-8, GBK, UTF-16) stays as it is.
namespace ascii_case {

template <typename Char>
constexpr Char upper(Char c) {
    return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

template <typename Char>
constexpr Char lower(Char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

inline std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), upper<char>);
    return text;
}

inline std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), lower<char>);
    return text;
}

// Whether a and b are the same text but for the case of ASCII letters.
inline bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace ascii_case
