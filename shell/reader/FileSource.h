#pragma once

#include <fcntl.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ByteSource.h"

// Reads exactly length bytes at offset of an open file, retrying interrupted and short
// reads; false at an error or when the file ends first.
bool preadFully(int fd, std::uint64_t offset, std::size_t length, char* out);

// A file read with pread. Its tail (where a zip keeps its directory) is read once on
// opening and served from memory; for a small document that is the whole file.
class FileSource : public ByteSource {
  public:
    // tailBytes: how much of the end of the file to hold. A relative path is taken from the
    // open directory at. Once *abandon is set every read fails, so a reader stops at its next
    // read however much of the document it had still to read.
    FileSource(const std::string& path, std::size_t tailBytes, int at = AT_FDCWD,
               const std::atomic<bool>* abandon = nullptr);
    ~FileSource() override;

    bool isOpen() const { return m_fd >= 0; }
    // Whether the file could not be opened (but for being no regular file) or a read of it
    // failed.
    bool failed() const { return m_failed; }
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override;
    bool abandoned() const override { return m_abandon && m_abandon->load(); }

  private:
    const std::atomic<bool>* m_abandon;
    int m_fd = -1;
    bool m_failed = false;
    std::uint64_t m_size = 0;
    std::uint64_t m_tailOffset = 0;
    std::string m_tail;
};
