#include "Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "ReaderCache.h"

namespace {

// zlib counts in uInt; no part the readers take comes near it, so a larger one fails.
bool fitsZlib(std::size_t size) {
    return size <= std::numeric_limits<uInt>::max();
}

Bytef* bytes(const char* data) {
    return reinterpret_cast<Bytef*>(const_cast<char*>(data));  // zlib's input is not written
}

// A zlib state for raw deflate data, without a zlib header.
struct RawInflater {
    z_stream stream{};
    bool ready = false;

    RawInflater() { ready = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (ready)
            inflateEnd(&stream);
    }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;
};

}  // namespace

struct InflateStream::State : RawInflater {
    bool ended = false;
};

std::uint32_t crc32Of(std::string_view data, std::uint32_t crc) {
    // Summed in pieces zlib can count.
    while (!data.empty()) {
        std::size_t piece = std::min<std::size_t>(data.size(), std::numeric_limits<uInt>::max());
        crc = static_cast<std::uint32_t>(
            crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(piece)));
        data.remove_prefix(piece);
    }
    return crc;
}

bool inflateExactly(std::string_view compressed, std::size_t expected, std::string& out) {
    if (!fitsZlib(compressed.size()) || !fitsZlib(expected))
        return false;
    // The parts a reader wants are small and whole, so one state per thread serves them all
    // where the platform keeps it.
    READER_CACHE RawInflater state;
    if (!state.ready || inflateReset(&state.stream) != Z_OK)
        return false;
    out.resize(expected);
    z_stream& stream = state.stream;
    stream.next_in = bytes(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    // One byte of room past the expected size, so that longer output is seen, not cut.
    char spare = 0;
    stream.next_out = expected ? reinterpret_cast<Bytef*>(out.data()) : bytes(&spare);
    stream.avail_out = expected ? static_cast<uInt>(expected) : 1;
    int result = inflate(&stream, Z_FINISH);
    if (result == Z_BUF_ERROR && stream.avail_out == 0 && expected) {
        stream.next_out = bytes(&spare);
        stream.avail_out = 1;
        result = inflate(&stream, Z_FINISH);
    }
    return result == Z_STREAM_END && stream.total_out == expected;
}

InflateStream::InflateStream() : m_state(std::make_unique<State>()) {}

InflateStream::~InflateStream() = default;

void InflateStream::feed(std::string_view input) {
    m_state->stream.next_in = bytes(input.data());
    m_state->stream.avail_in =
        static_cast<uInt>(std::min<std::size_t>(input.size(), std::numeric_limits<uInt>::max()));
}

InflateStream::Result InflateStream::next(std::string& out, std::size_t capacity) {
    out.clear();
    if (!m_state->ready || !fitsZlib(capacity) || capacity == 0)
        return Result::Failed;
    z_stream& stream = m_state->stream;
    if (m_state->ended)
        return stream.avail_in ? Result::Failed : Result::End;
    out.resize(capacity);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(capacity);
    int result = inflate(&stream, Z_NO_FLUSH);
    out.resize(capacity - stream.avail_out);
    if (result == Z_STREAM_END)
        m_state->ended = true;
    else if (result != Z_OK && result != Z_BUF_ERROR)
        return Result::Failed;
    if (!out.empty())
        return Result::Output;
    if (m_state->ended)
        return stream.avail_in ? Result::Failed : Result::End;
    return Result::NeedInput;
}
