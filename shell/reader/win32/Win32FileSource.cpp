#include "Win32FileSource.h"

#include <algorithm>

Win32FileSource::Win32FileSource(const std::wstring& path) {
    m_file = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size{};
    // A pipe or device named like a document could block a read or never end.
    if (GetFileType(m_file) != FILE_TYPE_DISK || !GetFileSizeEx(m_file, &size) ||
        size.QuadPart < 0) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        return;
    }
    m_size = static_cast<std::uint64_t>(size.QuadPart);
}

Win32FileSource::~Win32FileSource() {
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
}

bool Win32FileSource::read(std::uint64_t offset, std::size_t length, std::string& out) {
    if (!isOpen() || !inside(offset, length))
        return false;
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_file, position, nullptr, FILE_BEGIN))
        return false;
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        // ReadFile counts in DWORD.
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
        DWORD got = 0;
        // A file that shrank since it was opened ends early: treat it as unreadable.
        if (!ReadFile(m_file, out.data() + done, chunk, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}
