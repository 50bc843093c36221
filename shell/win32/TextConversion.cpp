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

}  // namespace

Bstr bstrFromNarrow(const std::string& text) {
    std::wstring wide;
    if (!text.empty()) {
        const int length = checkedLength(text.size());
        const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
        if (needed == 0)
            raiseLastError();
        wide.resize(static_cast<std::size_t>(needed));
        if (MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed) == 0)
            raiseLastError();
    }
    Bstr result(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!result.get())
        throw ShellError(shell_hr::kOutOfMemory);
    return result;
}

std::string narrowFromWide(std::wstring_view text) {
    std::wstring kept(text);
    kept.erase(std::remove_if(kept.begin(), kept.end(), isDirectionMark), kept.end());
    if (kept.empty())
        return {};
    const int length = checkedLength(kept.size());
    const int needed =
        WideCharToMultiByte(CP_ACP, 0, kept.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed == 0)
        raiseLastError();
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, kept.data(), length, narrow.data(), needed, nullptr,
                            nullptr) == 0)
        raiseLastError();
    return narrow;
}

std::string narrowFromBstr(BSTR text) {
    if (!text)
        return {};
    return narrowFromWide(std::wstring_view(text, SysStringLen(text)));
}
