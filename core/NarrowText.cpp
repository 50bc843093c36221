#include "NarrowText.h"

namespace narrow_text {

std::string replaceAll(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty())
        return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.compare(pos, from.size(), from) == 0) {
            out += to;
            pos += from.size();
            continue;
        }
        std::size_t length = charLength(text, pos);
        out.append(text, pos, length);
        pos += length;
    }
    return out;
}

}  // namespace narrow_text
