#include <windows.h>

#include <climits>
#include <optional>

#include "CodePageDecoding.h"
#include "CodePageText.h"

namespace {

std::optional<std::string> utf8FromWide(std::wstring_view wide) {
    if (wide.empty())
        return std::string();
    if (wide.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const int length = static_cast<int>(wide.size());
    // A lone surrogate becomes U+FFFD.
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed == 0)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

// The code page API knows no UTF-16 code page: its units are taken as they stand.
std::wstring utf16Units(std::string_view text, bool bigEndian) {
    std::wstring wide;
    wide.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        auto first = static_cast<unsigned char>(text[i]);
        auto second = static_cast<unsigned char>(text[i + 1]);
        wide.push_back(static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    return wide;
}

std::optional<std::wstring> wideFromCodePage(std::string_view text, std::uint16_t codePage) {
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    // Strictly first; a text with sequences the code page does not define then gets the
    // system's own replacement for them (U+FFFD, or the code page's default character), as
    // do code pages that cannot be converted strictly.
    for (DWORD flags : {static_cast<DWORD>(MB_ERR_INVALID_CHARS), static_cast<DWORD>(0)}) {
        const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
        if (needed == 0)
            continue;
        std::wstring wide(static_cast<std::size_t>(needed), L'\0');
        if (MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed) != 0)
            return wide;
    }
    return std::nullopt;
}

std::optional<std::string> convert(std::string_view text, std::uint16_t codePage) {
    if (codePage == kCodePageUtf16 || codePage == kCodePageUtf16BigEndian)
        return utf8FromWide(utf16Units(text, codePage == kCodePageUtf16BigEndian));
    if (!IsValidCodePage(codePage))
        return std::nullopt;
    if (text.empty())
        return std::string();
    std::optional<std::wstring> wide = wideFromCodePage(text, codePage);
    if (!wide)
        return std::nullopt;
    return utf8FromWide(*wide);
}

}  // namespace

std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage) {
    return decodeCodePage(bytes, codePage, &convert);
}
