#include "CodePageText.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string iconvName(std::uint16_t codePage) {
    switch (codePage) {
        case kCodePageUtf16:
            return "UTF-16LE";
        case 1201:
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

std::size_t unitSize(std::uint16_t codePage) {
    return codePage == kCodePageUtf16 || codePage == 1201 ? 2 : 1;
}

// Up to the first NUL character: what follows it is padding or a writer's leftovers.
std::string_view untilNul(std::string_view bytes, std::size_t unit) {
    for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
        if (bytes.substr(i, unit).find_first_not_of('\0') == std::string_view::npos)
            return bytes.substr(0, i);
    }
    return bytes.substr(0, bytes.size() - bytes.size() % unit);
}

class Converter {
  public:
    explicit Converter(std::uint16_t codePage)
        : m_handle(iconv_open("UTF-8", iconvName(codePage).c_str())) {}
    ~Converter() {
        if (valid())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    std::string convert(std::string_view bytes, std::size_t unit) {
        std::string out;
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* next = buffer;
            std::size_t room = sizeof buffer;
            std::size_t result = iconv(m_handle, &in, &inLeft, &next, &room);
            out.append(buffer, static_cast<std::size_t>(next - buffer));
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
                continue;
            // An undefined or cut-off sequence: mark it and go on after its first unit.
            out.append(kReplacement);
            std::size_t skip = inLeft < unit ? inLeft : unit;
            in += skip;
            inLeft -= skip;
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        // Decoders that compose characters (1255, 1258) hold the last one back until told
        // the input has ended.
        char* next = buffer;
        std::size_t room = sizeof buffer;
        iconv(m_handle, nullptr, nullptr, &next, &room);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        return out;
    }

  private:
    iconv_t m_handle;
};

}  // namespace

std::string codePageToUtf8(std::string_view bytes, std::uint16_t codePage) {
    Converter converter(codePage);
    if (!converter.valid())
        return codePageToUtf8(bytes, kCodePageDefault);
    std::size_t unit = unitSize(codePage);
    return converter.convert(untilNul(bytes, unit), unit);
}
