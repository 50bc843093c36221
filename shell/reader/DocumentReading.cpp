#include "DocumentReading.h"

#include <exception>

#include "Utf8Text.h"

std::optional<DocumentProperties> readWithoutThrowing(DocumentReader parse, ByteSource& source) {
    try {
        std::optional<DocumentProperties> properties = parse(source);
        if (properties) {
            forEachText(*properties, [](std::string& text) {
                text.resize(utf8Prefix(text, kMaxTextBytes).size());
                text.shrink_to_fit();
            });
        }
        return properties;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<DocumentProperties> readFromMemory(DocumentReader read, const void* data,
                                                 std::size_t size) {
    MemorySource source(data, size);
    return read(source);
}
