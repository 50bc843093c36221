#include "CodePageIconv.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <map>
#include <optional>
#include <utility>

#include "../Utf8Text.h"
#include "CodePageDecoding.h"

namespace {

std::string iconvName(std::uint16_t codePage) {
    switch (codePage) {
        case kCodePageUtf16:
            return "UTF-16LE";
        case kCodePageUtf16BigEndian:
            return "UTF-16BE";
        case 65001:
            return "UTF-8";
        case 10000:
            return "MACINTOSH";
        case 20127:
            return "ASCII";
        case 20866:
            return "KOI8-R";
        case 21866:
            return "KOI8-U";
        case 54936:
            return "GB18030";
        default:
            break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

bool isOpen(iconv_t handle) {
    return handle != reinterpret_cast<iconv_t>(-1);
}

// Opening a converter loads its module, and closing the last one may unload it again: each
// thread keeps the converters it opened for the next text. One that does not open is asked
// for again, as the reason may pass (out of descriptors).
class Converters {
  public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (const auto& [key, handle] : m_handles)
            iconv_close(handle);
    }

    // A converter from that code page to UTF-8 in its initial state, or (iconv_t)-1.
    iconv_t get(ConverterOpener open, std::uint16_t codePage) {
        auto key = std::make_pair(open, codePage);
        if (auto found = m_handles.find(key); found != m_handles.end()) {
            iconv(found->second, nullptr, nullptr, nullptr, nullptr);
            return found->second;
        }
        iconv_t handle = open("UTF-8", iconvName(codePage).c_str());
        if (isOpen(handle))
            m_handles.emplace(key, handle);
        return handle;
    }

  private:
    std::map<std::pair<ConverterOpener, std::uint16_t>, iconv_t> m_handles;
};

std::string convert(iconv_t handle, std::string_view bytes, std::size_t unit) {
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[1024];
    bool marked = false;  // the last output is the mark of an undefined sequence
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t room = sizeof buffer;
        std::size_t result = iconv(handle, &in, &inLeft, &next, &room);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        marked = marked && next == buffer;
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // An undefined or cut-off sequence: mark it, one mark for a run of them as for
        // invalid UTF-8, and go on after its first unit.
        if (!marked)
            out.append(kReplacementCharacter);
        marked = true;
        std::size_t skip = inLeft < unit ? inLeft : unit;
        in += skip;
        inLeft -= skip;
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
    // Decoders that compose characters (1255, 1258) hold the last one back until told
    // the input has ended.
    char* next = buffer;
    std::size_t room = sizeof buffer;
    iconv(handle, nullptr, nullptr, &next, &room);
    out.append(buffer, static_cast<std::size_t>(next - buffer));
    return out;
}

}  // namespace

std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage, ConverterOpener open) {
    thread_local Converters converters;
    return decodeCodePage(
        bytes, codePage,
        [&](std::string_view text, std::uint16_t page) -> std::optional<std::string> {
            iconv_t converter = converters.get(open, page);
            if (!isOpen(converter))
                return std::nullopt;
            return convert(converter, text, codePageUnitSize(page));
        });
}

std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage) {
    return codePageToUtf8(bytes, codePage, &iconv_open);
}
