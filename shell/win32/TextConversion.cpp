#include "TextConversion.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "ShellError.h"

namespace {

[[noreturn]] void raiseLastError() {
    throw ShellError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())));
}

bool isDirectionMark(wchar_t unit) {
    return unit == 0x200E || unit == 0x200F || (unit >= 0x202A && unit <= 0x202E) ||
           (unit >= 0x2066 && unit <= 0x2069);
}

// The Win32 conversion calls count in int; longer texts cannot be converted in one call.
int checkedLength(std::size_t length) {
    if (length > static_cast<std::size_t>(INT_MAX))
        throw ShellError(shell_hr::kOutOfMemory);
    return static_cast<int>(length);
}

std::wstring wideFrom(UINT codePage, std::string_view text) {
    std::wstring wide;
    if (!text.empty()) {
        const int length = checkedLength(text.size());
        const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
        if (needed == 0)
            raiseLastError();
        wide.resize(static_cast<std::size_t>(needed));
        if (MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed) == 0)
            raiseLastError();
    }
    return wide;
}

// The character in the ANSI code page, or empty when the code page has no form of it (no
// look-alike either: a best fit can turn a letter into another).
std::string narrowCharacter(std::wstring_view character) {
    char narrow[8];
    BOOL lacking = FALSE;
    // A system whose code page is UTF-8 has a form of every character, and the call takes
    // neither flags nor the question there.
    const bool utf8 = GetACP() == CP_UTF8;
    const int length =
        WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, character.data(),
                            static_cast<int>(character.size()), narrow, sizeof narrow, nullptr,
                            utf8 ? nullptr : &lacking);
    if (length == 0 || lacking)
        return {};
    return std::string(narrow, static_cast<std::size_t>(length));
}

// The text in that code page, direction marks dropped first: Windows puts them into date
// texts, and the ANSI code page has no place for them.
std::string multiByteFrom(UINT codePage, std::wstring_view text) {
    std::wstring kept(text);
    kept.erase(std::remove_if(kept.begin(), kept.end(), isDirectionMark), kept.end());
    if (kept.empty())
        return {};
    const int length = checkedLength(kept.size());
    const int needed =
        WideCharToMultiByte(codePage, 0, kept.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed == 0)
        raiseLastError();
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, kept.data(), length, out.data(), needed, nullptr,
                            nullptr) == 0)
        raiseLastError();
    return out;
}

}  // namespace

std::wstring wideFromNarrow(const std::string& text) {
    return wideFrom(CP_ACP, text);
}

Bstr bstrFromNarrow(const std::string& text) {
    std::wstring wide = wideFromNarrow(text);
    Bstr result(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!result.get())
        throw ShellError(shell_hr::kOutOfMemory);
    return result;
}

std::string narrowFromWide(std::wstring_view text) {
    return multiByteFrom(CP_ACP, text);
}

std::string narrowFromBstr(BSTR text) {
    if (!text)
        return {};
    return narrowFromWide(std::wstring_view(text, SysStringLen(text)));
}

std::string utf8FromBstr(BSTR text) {
    if (!text)
        return {};
    return multiByteFrom(CP_UTF8, std::wstring_view(text, SysStringLen(text)));
}

std::string narrowFromUtf8Dropping(std::string_view utf8) {
    const std::wstring wide = wideFrom(CP_UTF8, utf8);
    std::string narrow;
    for (std::size_t pos = 0; pos < wide.size();) {
        const std::size_t units =
            IS_HIGH_SURROGATE(wide[pos]) && pos + 1 < wide.size() && IS_LOW_SURROGATE(wide[pos + 1])
                ? 2
                : 1;
        const std::string character = narrowCharacter(std::wstring_view(wide).substr(pos, units));
        pos += units;
        if (character == " " && (narrow.empty() || narrow.back() == ' '))
            continue;
        narrow += character;
    }
    if (!narrow.empty() && narrow.back() == ' ')
        narrow.pop_back();
    return narrow;
}
