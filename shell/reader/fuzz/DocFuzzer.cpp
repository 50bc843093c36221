// libFuzzer entry: hostile bytes through the .doc property reader.
#include <cstddef>
#include <cstdint>

#include "DocReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readDocMemory(data, size);
    return 0;
}
