#include "Utf8Text.h"

#include <cstddef>

namespace {

// The length of the well-formed sequence at the start of bytes, or 0 with the length of its
// maximal ill-formed subpart in invalidLength (Unicode's table of well-formed sequences).
std::size_t sequenceLength(std::string_view bytes, std::size_t& invalidLength) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = byte(0);
    invalidLength = 1;
    if (lead < 0x80)
        return 1;
    std::size_t continuations = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i <= continuations; ++i) {
        if (i >= bytes.size() || byte(i) < low || byte(i) > high) {
            invalidLength = i;
            return 0;
        }
        low = 0x80;
        high = 0xBF;
    }
    return continuations + 1;
}

}  // namespace

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inInvalidRun = false;
    while (!text.empty()) {
        std::size_t invalidLength = 0;
        std::size_t length = sequenceLength(text, invalidLength);
        if (length > 0) {
            out.append(text.substr(0, length));
            inInvalidRun = false;
        } else {
            if (!inInvalidRun)
                out.append(kReplacementCharacter);
            inInvalidRun = true;
            length = invalidLength;
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    // A character is at most four bytes: a lead byte and up to three continuation bytes.
    std::size_t end = maxBytes;
    auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    for (int back = 0; back < 3 && end > 0 && continuation(end); ++back)
        --end;
    return text.substr(0, end);
}

void appendUtf8(std::string& out, char32_t codePoint) {
    auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | codePoint >> 6);
        put(0x80 | (codePoint & 0x3F));
    } else if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
        out.append(kReplacementCharacter);
    } else if (codePoint < 0x10000) {
        put(0xE0 | codePoint >> 12);
        put(0x80 | (codePoint >> 6 & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | codePoint >> 18);
        put(0x80 | (codePoint >> 12 & 0x3F));
        put(0x80 | (codePoint >> 6 & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}
