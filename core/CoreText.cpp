// The portable text and path members of CCore.
#include "CCore.h"
#include "NarrowText.h"
#include "PathSeparator.h"

std::string CCore::getStrInt(std::int32_t value) {
    return std::to_string(value);
}

std::string CCore::getFg(std::string text, char separator, int index) {
    if (index < 0)
        return {};
    std::size_t start = 0;
    for (int field = 0; field < index; ++field) {
        std::size_t next = text.find(separator, start);
        if (next == std::string::npos)
            return {};
        start = next + 1;
    }
    std::size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string CCore::parsePath(std::string path) {
    if (path.empty())
        return path;
    std::size_t last = narrow_text::findLastChar(path, isPathSeparator);
    if (last == std::string::npos || last + 1 != path.size())
        path += kPathSeparator;
    return path;
}
