#include "ShownName.h"

std::string shownName(std::string_view name) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(name.size());
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
            continue;
        }
        switch (c) {
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
    return shown;
}
