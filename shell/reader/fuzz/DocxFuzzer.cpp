// libFuzzer entry: hostile bytes through the .docx property reader.
#include <cstddef>
#include <cstdint>

#include "DocxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readDocxMemory(data, size);
    return 0;
}
