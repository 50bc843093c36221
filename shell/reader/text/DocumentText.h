#pragma once

#include <string>

#include "ByteSource.h"

// The first paragraph of a word-processing document's main text that holds a letter or
// ideograph, cleaned as FirstParagraph cleans it (UTF-8), read by the reader its first bytes
// call for (a package such as a .docx or a compound file such as a .doc or .wps, whatever the
// name says); empty for any other file, a spreadsheet or presentation, or when there is none.
// Never throws.
std::string documentFirstParagraph(ByteSource& source);
