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

std::optional<std::wstring> wideFromCodePage(std::string_view text, UINT codePage, DWORD flags) {
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), needed) == 0)
        return std::nullopt;
    return wide;
}

// A double-byte code page character by character, so that a sequence it does not define
// becomes one U+FFFD for a run of them, and reading goes on after its first byte, as iconv
// does (the system would make it a "?", which reads as text).
std::wstring markingUndefined(std::string_view text, UINT codePage) {
    std::wstring wide;
    bool marked = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<BYTE>(text[pos]);
        const std::size_t length =
            IsDBCSLeadByteEx(codePage, lead) && pos + 1 < text.size() ? 2 : 1;
        if (auto character =
                wideFromCodePage(text.substr(pos, length), codePage, MB_ERR_INVALID_CHARS)) {
            wide += *character;
            marked = false;
            pos += length;
            continue;
        }
        if (!marked)
            wide.push_back(L'\xFFFD');
        marked = true;
        ++pos;
    }
    return wide;
}

std::optional<std::wstring> wideFromCodePage(std::string_view text, UINT codePage) {
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    if (auto wide = wideFromCodePage(text, codePage, MB_ERR_INVALID_CHARS))
        return wide;
    CPINFO info{};
    if (GetCPInfo(codePage, &info) && info.MaxCharSize == 2)
        return markingUndefined(text, codePage);
    // Other code pages (single-byte ones define nearly every byte) take the system's own
    // replacement, U+FFFD or the code page's default character.
    return wideFromCodePage(text, codePage, 0);
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
