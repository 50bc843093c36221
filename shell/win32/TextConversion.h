#pragma once

#include <string>
#include <string_view>

#include "ComHolders.h"

// Text between the system's narrow strings (ANSI code page) and the shell's UTF-16 strings.
// A failing conversion raises ShellError(HRESULT_FROM_WIN32(GetLastError())); a string that
// cannot be allocated raises ShellError(E_OUTOFMEMORY).

std::wstring wideFromNarrow(const std::string& text);
Bstr bstrFromNarrow(const std::string& text);

// Direction marks are dropped first: Windows puts them into date texts and the ANSI code
// page has no place for them, so they would reach the CSV as "?". A null text is empty.
std::string narrowFromWide(std::wstring_view text);
std::string narrowFromBstr(BSTR text);
// The same in UTF-8, where every character has a form: the path of a workbook's texts.
std::string utf8FromBstr(BSTR text);

// UTF-8 text (the reader's) in the ANSI code page, where a character the code page lacks is
// left out rather than made a "?" that would read as part of the text; blank runs left
// behind become one blank, and the ends are trimmed.
std::string narrowFromUtf8Dropping(std::string_view utf8);
