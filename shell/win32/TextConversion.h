#pragma once

#include <string>
#include <string_view>

#include "ComHolders.h"

// Text between the system's narrow strings (ANSI code page) and the shell's UTF-16 strings.
// A failing conversion raises ShellError(HRESULT_FROM_WIN32(GetLastError())); a string that
// cannot be allocated raises ShellError(E_OUTOFMEMORY).

Bstr bstrFromNarrow(const std::string& text);

// Direction marks are dropped first: Windows puts them into date texts and the ANSI code
// page has no place for them, so they would reach the CSV as "?". A null text is empty.
std::string narrowFromWide(std::wstring_view text);
std::string narrowFromBstr(BSTR text);
