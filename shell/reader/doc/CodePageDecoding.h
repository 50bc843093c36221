#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What codePageToUtf8 does the same on every system, around one system's converter.

// 2 for the UTF-16 code pages, 1 for the others.
std::size_t codePageUnitSize(std::uint16_t codePage);

// A system's conversion of a whole text in a code page to UTF-8; nothing when it has no
// converter for that code page.
using CodePageConverter =
    std::function<std::optional<std::string>(std::string_view text, std::uint16_t codePage)>;

// codePageToUtf8 through convert: the text up to its first NUL, in its code page, else in
// 1252, else unit by unit as code points; always valid UTF-8.
std::string decodeCodePage(std::string_view bytes, std::uint16_t codePage,
                           const CodePageConverter& convert);
