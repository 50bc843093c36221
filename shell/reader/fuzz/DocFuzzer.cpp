// libFuzzer entry: hostile bytes through the .doc property reader and the .doc text reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../testing/ValidTexts.h"
#include "DocReader.h"
#include "DocText.h"
#include "DocumentReading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A text that breaks the promise of UTF-8 is a finding like a crash.
    if (!textsAreValidUtf8(readFromMemory(readDoc, data, size)))
        std::abort();
    MemorySource source(data, size);
    std::string text = docFirstParagraph(source);
    if (validUtf8(text) != text)
        std::abort();
    return 0;
}
