#include <windows.h>

#include "../NarrowText.h"

namespace narrow_text {

std::size_t charLength(const std::string& text, std::size_t pos) {
    bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[pos]));
    return lead && pos + 1 < text.size() ? 2 : 1;
}

namespace {

// The text from one code page to another, through UTF-16.
std::string converted(const std::string& text, UINT from, UINT to) {
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wideLength);
    const int outLength =
        WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), outLength, nullptr, nullptr);
    return out;
}

}  // namespace

std::string fromUtf8(const std::string& text) {
    return converted(text, CP_UTF8, CP_ACP);
}

std::string toUtf8(const std::string& text) {
    return converted(text, CP_ACP, CP_UTF8);
}

}  // namespace narrow_text
