#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code pages a property set names that the decoder treats specially.
inline constexpr std::uint16_t kCodePageUtf16 = 1200;
inline constexpr std::uint16_t kCodePageUtf16BigEndian = 1201;
inline constexpr std::uint16_t kCodePageDefault = 1252;

// The text of a property string in that Windows code page as UTF-8, up to its first NUL,
// through the system's converters (iconv on Linux, the code page API on Windows). A byte
// sequence the code page does not define becomes U+FFFD; a code page without a converter
// is read as 1252, so a document never loses a text for naming an odd one; when no
// converter opens at all (a system without conversion modules, or out of descriptors),
// each byte is read as Latin-1 and each UTF-16 unit as its code point.
std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage);
