#include "ByteSource.h"

bool MemorySource::read(std::uint64_t offset, std::size_t length, std::string& out) {
    if (!inside(offset, length))
        return false;
    out.assign(m_data + offset, length);
    return true;
}
