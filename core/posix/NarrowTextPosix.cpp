#include "../NarrowText.h"

namespace narrow_text {

std::size_t charLength(const std::string& text, std::size_t pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t left = text.size() - pos;
    return length < left ? length : left;
}

}  // namespace narrow_text
