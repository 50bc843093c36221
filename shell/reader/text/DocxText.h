#pragma once

#include <cstddef>
#include <string>

#include "ByteSource.h"

// The most of a main document part read in looking for its first paragraph: a document
// whose first lines of text lie further in has no text for a name, and a large document
// costs no more than this.
inline constexpr std::size_t kMaxMainPartXmlBytes = 4u << 20;

// The first paragraph of a .docx's main text that holds a letter or ideograph, cleaned as
// FirstParagraph cleans it (UTF-8); empty when there is none, the package cannot be read or
// its main part is no word-processing document (a workbook, a presentation).
// The main part is found through the package's relationships and inflated only up to that
// paragraph. Table cells count; text boxes, deleted text and field instructions do not, a
// field's result does. Never throws.
std::string docxFirstParagraph(ByteSource& source);
