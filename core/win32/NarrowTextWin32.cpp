#include <windows.h>

#include "../NarrowText.h"

namespace narrow_text {

std::size_t charLength(const std::string& text, std::size_t pos) {
    bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[pos]));
    return lead && pos + 1 < text.size() ? 2 : 1;
}

std::string fromUtf8(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    const int narrowLength =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, narrow.data(), narrowLength, nullptr,
                        nullptr);
    return narrow;
}

}  // namespace narrow_text
