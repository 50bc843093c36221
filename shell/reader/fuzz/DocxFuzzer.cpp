// libFuzzer entry: hostile bytes through the .docx property reader and the .docx text reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../testing/ValidTexts.h"
#include "DocumentReading.h"
#include "DocxReader.h"
#include "DocxText.h"
#include "FirstParagraph.h"
#include "Utf8Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A text that breaks the promise of UTF-8 is a finding like a crash.
    if (!textsAreValidUtf8(readFromMemory(readDocx, data, size)))
        std::abort();
    MemorySource source(data, size);
    std::string text = docxFirstParagraph(source);
    if (validUtf8(text) != text || text.size() > 4 * FirstParagraph::kMaxCharacters)
        std::abort();
    return 0;
}
