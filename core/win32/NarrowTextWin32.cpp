#include <windows.h>

#include "../NarrowText.h"

namespace narrow_text {

std::size_t charLength(const std::string& text, std::size_t pos) {
    bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[pos]));
    return lead && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace narrow_text
