#include "ShownName.h"

#include "NarrowText.h"

namespace {

void appendControl(std::string& shown, unsigned char byte) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    switch (byte) {
        case '\n':
            shown += "\\n";
            break;
        case '\r':
            shown += "\\r";
            break;
        case '\t':
            shown += "\\t";
            break;
        default:
            shown += "\\x";
            shown += kHexDigits[byte >> 4];
            shown += kHexDigits[byte & 0xF];
    }
}

// The escape of a Unicode line or paragraph separator that starts at pos, or nothing. Only
// UTF-8 text holds one: a GBK character is at most two bytes long.
std::string_view separatorEscape(const std::string& text, std::size_t pos) {
    if (narrow_text::charLength(text, pos) != 3)
        return {};
    std::string_view character(text.data() + pos, 3);
    if (character == "\xE2\x80\xA8")
        return "\\u2028";
    if (character == "\xE2\x80\xA9")
        return "\\u2029";
    return {};
}

}  // namespace

std::string shownName(std::string_view name) {
    const std::string text(name);
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        auto byte = static_cast<unsigned char>(text[pos]);
        std::string_view separator = separatorEscape(text, pos);
        // Looked at byte by byte: a control byte is escaped even where the code page's walk
        // would take it for the second byte of a character (a valid name never has one there).
        if (byte < 0x20 || byte == 0x7F) {
            appendControl(shown, byte);
            ++pos;
        } else if (!separator.empty()) {
            shown += separator;
            pos += 3;
        } else {
            shown += text[pos];
            ++pos;
        }
    }
    return shown;
}
