#pragma once

#include <string>

#include "ByteSource.h"

// The first paragraph of a Word document's main text that holds a letter or ideograph,
// cleaned as FirstParagraph cleans it (UTF-8), read by the reader its first bytes call for
// (.docx package or .doc compound file, whatever the name says); empty for any other file,
// or when there is none. Never throws.
std::string documentFirstParagraph(ByteSource& source);
