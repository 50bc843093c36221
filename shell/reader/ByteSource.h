#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Random access to the bytes of a document, so the zip reader runs the same over a file and
// over memory (tests, fuzzing).
class ByteSource {
  public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    virtual std::uint64_t size() const = 0;
    // Replaces out with bytes [offset, offset + length); false when the range is not wholly
    // inside the source or cannot be read.
    virtual bool read(std::uint64_t offset, std::size_t length, std::string& out) = 0;
    // Whether the reading was given up: what is read from here on is of no use.
    virtual bool abandoned() const { return false; }

  protected:
    bool inside(std::uint64_t offset, std::size_t length) const {
        return offset <= size() && length <= size() - offset;
    }
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const void* data, std::size_t size)
        : m_data(static_cast<const char*>(data)), m_size(data ? size : 0) {}
    std::uint64_t size() const override { return m_size; }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override;

  private:
    const char* m_data;
    std::size_t m_size;
};
