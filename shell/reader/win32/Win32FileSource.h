#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "ByteSource.h"

// A document read through the Windows file API. It is opened sharing reading, writing and
// deleting, so a document open in an editor is still read and the editor may still save
// or delete it meanwhile.
class Win32FileSource : public ByteSource {
  public:
    explicit Win32FileSource(const std::wstring& path);
    ~Win32FileSource() override;
    Win32FileSource(const Win32FileSource&) = delete;
    Win32FileSource& operator=(const Win32FileSource&) = delete;

    // Whether a file on disk was opened: not when it is missing, another program holds it
    // exclusively, or it is a device or pipe.
    bool isOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override;

  private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::uint64_t m_size = 0;
};
