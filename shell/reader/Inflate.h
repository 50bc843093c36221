#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Raw deflate data, as zip entries hold it, and the CRC-32 zip checks it with.

std::uint32_t crc32Of(std::string_view data, std::uint32_t crc = 0);

// Inflates compressed into exactly expected bytes; damaged data, or output longer or shorter
// than expected, fails.
bool inflateExactly(std::string_view compressed, std::size_t expected, std::string& out);

// Inflates data handed over in pieces into output of bounded pieces, so that a reader can
// stop as soon as it has what it wants.
class InflateStream {
  public:
    enum class Result {
        Output,     // out holds the next piece of output
        NeedInput,  // all input given so far is used: feed more
        End,        // the data is complete (out is empty)
        Failed,     // damaged data, or input after the end
    };

    InflateStream();
    ~InflateStream();
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    // The next compressed input; it must stay alive until next() asks for more.
    void feed(std::string_view input);
    // Replaces out with the next at most capacity bytes of output.
    Result next(std::string& out, std::size_t capacity);

  private:
    struct State;
    std::unique_ptr<State> m_state;
};
