// libFuzzer entry: hostile bytes through the .docx property reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "../testing/ValidTexts.h"
#include "DocumentReading.h"
#include "DocxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A text that breaks the promise of UTF-8 is a finding like a crash.
    if (!textsAreValidUtf8(readFromMemory(readDocx, data, size)))
        std::abort();
    return 0;
}
