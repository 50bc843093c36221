#pragma once

#include <string>

#include "../ByteSource.h"

// The first paragraph of a .doc's main text that holds a letter or ideograph, cleaned as
// FirstParagraph cleans it (UTF-8); empty when there is none or the text cannot be read (an
// encrypted or damaged document, one older than Word 6). Field instructions, pictures and
// other special characters are left out; a field's result and each table cell count. Reads
// only up to that paragraph and a few MiB at most; never throws.
std::string docFirstParagraph(ByteSource& source);
