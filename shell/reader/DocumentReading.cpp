#include "DocumentReading.h"

#include <exception>

std::optional<DocumentProperties> readWithoutThrowing(DocumentReader parse, ByteSource& source) {
    try {
        return parse(source);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<DocumentProperties> readFromMemory(DocumentReader read, const void* data,
                                                 std::size_t size) {
    MemorySource source(data, size);
    return read(source);
}
