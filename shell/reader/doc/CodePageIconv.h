#pragma once

#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "CodePageText.h"

// Opens a converter as iconv_open does; (iconv_t)-1 when it cannot.
using ConverterOpener = iconv_t (*)(const char* toCode, const char* fromCode);

// codePageToUtf8 with the converters open gives (tests: a system lacking some or all).
std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage, ConverterOpener open);
