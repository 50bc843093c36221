#include "CodePageText.h"

#include "../Utf8Text.h"
#include "CodePageDecoding.h"

namespace {

// Up to the first NUL character: what follows it is padding or a writer's leftovers.
std::string_view untilNul(std::string_view bytes, std::size_t unit) {
    for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
        if (bytes.substr(i, unit).find_first_not_of('\0') == std::string_view::npos)
            return bytes.substr(0, i);
    }
    return bytes.substr(0, bytes.size() - bytes.size() % unit);
}

// Without a converter: each unit as the code point of its value, which is Latin-1 for single
// bytes and UTF-16 apart from surrogate pairs (each half becomes U+FFFD).
std::string unitsAsCodePoints(std::string_view bytes, std::uint16_t codePage) {
    std::string out;
    std::size_t unit = codePageUnitSize(codePage);
    for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = unit == 2 ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        char32_t value = unit == 1                             ? first
                         : codePage == kCodePageUtf16BigEndian ? first << 8 | second
                                                               : second << 8 | first;
        appendUtf8(out, value);
    }
    return out;
}

}  // namespace

std::size_t codePageUnitSize(std::uint16_t codePage) {
    return codePage == kCodePageUtf16 || codePage == kCodePageUtf16BigEndian ? 2 : 1;
}

std::string decodeCodePage(std::string_view bytes, std::uint16_t codePage,
                           const CodePageConverter& convert) {
    std::size_t unit = codePageUnitSize(codePage);
    std::string_view text = untilNul(bytes, unit);
    // 1252 reads any single-byte text; a UTF-16 text read as 1252 would lose all but its
    // first character.
    for (std::uint16_t page : {codePage, kCodePageDefault}) {
        if (codePageUnitSize(page) != unit)
            break;
        if (std::optional<std::string> converted = convert(text, page))
            return validUtf8(*converted);
    }
    return unitsAsCodePoints(text, codePage);
}
