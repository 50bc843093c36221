#include "XmlScanner.h"

#include <charconv>

#include "Utf8Text.h"

namespace {

// The longest reference replaced: "&#x10FFFF;" with room for leading zeros.
constexpr std::size_t kMaxReferenceBytes = 16;

constexpr std::string_view kComment = "<!--";
constexpr std::string_view kCdata = "<![CDATA[";

// The length of the construct at the start of data (which starts with '<'), or 0 when data
// ends before it does.
std::size_t constructLength(std::string_view data) {
    auto through = [&](std::string_view end, std::size_t from) -> std::size_t {
        std::size_t at = data.find(end, from);
        return at == std::string_view::npos ? 0 : at + end.size();
    };
    if (data.starts_with(kComment))
        return through("-->", kComment.size());
    if (data.starts_with(kCdata))
        return through("]]>", kCdata.size());
    if (data.starts_with("<?"))
        return through("?>", 2);
    // A tag, or a declaration whose internal subset may hold '>' inside brackets; quoted
    // values may hold '>' too.
    char quote = 0;
    int brackets = 0;
    for (std::size_t at = 1; at < data.size(); ++at) {
        char c = data[at];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            --brackets;
        } else if (c == '>' && brackets <= 0) {
            return at + 1;
        }
    }
    return 0;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The character a reference names (without '&' and ';'), or nothing.
std::optional<char32_t> referenced(std::string_view name) {
    if (name == "amp")
        return U'&';
    if (name == "lt")
        return U'<';
    if (name == "gt")
        return U'>';
    if (name == "quot")
        return U'"';
    if (name == "apos")
        return U'\'';
    if (name.size() < 2 || name.front() != '#')
        return std::nullopt;
    name.remove_prefix(1);
    int base = 10;
    if (name.front() == 'x' || name.front() == 'X') {
        base = 16;
        name.remove_prefix(1);
    }
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value, base);
    if (error != std::errc() || end != name.data() + name.size() || name.empty())
        return std::nullopt;
    // NUL has no place in a text; appendUtf8 turns the rest that are no characters into U+FFFD.
    return value == 0 ? char32_t(0xFFFD) : char32_t(value);
}

}  // namespace

std::string replaceReferences(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size();) {
        std::size_t amp = raw.find('&', at);
        out.append(raw.substr(at, amp - at));
        if (amp == std::string_view::npos)
            break;
        std::size_t semicolon = raw.find(';', amp);
        std::optional<char32_t> c;
        if (semicolon != std::string_view::npos && semicolon - amp <= kMaxReferenceBytes)
            c = referenced(raw.substr(amp + 1, semicolon - amp - 1));
        if (c) {
            appendUtf8(out, *c);
            at = semicolon + 1;
        } else {
            out.push_back('&');
            at = amp + 1;
        }
    }
    return out;
}

std::string_view localPart(std::string_view name) {
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view prefixPart(std::string_view name) {
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
}

std::optional<std::string> XmlScanner::Tag::attribute(std::string_view localName) const {
    std::optional<std::string> found;
    forEachAttribute([&](std::string_view name, std::string value) {
        if (!found && localPart(name) == localName)
            found = std::move(value);
    });
    return found;
}

bool XmlScanner::feed(std::string_view piece) {
    if (m_broken)
        return false;
    if (m_pending.empty())
        return scan(piece);
    std::string data = std::move(m_pending);
    m_pending.clear();
    data.append(piece);
    return scan(data);
}

bool XmlScanner::scan(std::string_view data) {
    std::size_t at = 0;
    while (at < data.size()) {
        if (data[at] != '<') {
            std::size_t end = data.find('<', at);
            std::string_view run = data.substr(at, end - at);
            if (end == std::string_view::npos) {
                // A reference cut by the end of the piece is completed by the next one.
                std::size_t amp = run.rfind('&');
                if (amp != std::string_view::npos && run.find(';', amp) == std::string_view::npos &&
                    run.size() - amp <= kMaxReferenceBytes) {
                    m_pending.assign(run.substr(amp));
                    run = run.substr(0, amp);
                }
                characterData(run);
                return true;
            }
            characterData(run);
            at = end;
            continue;
        }
        std::size_t length = constructLength(data.substr(at));
        if (length == 0) {
            if (data.size() - at > kMaxMarkupBytes) {
                m_broken = true;
                return false;
            }
            m_pending.assign(data.substr(at));
            return true;
        }
        markup(data.substr(at, length));
        at += length;
    }
    return true;
}

void XmlScanner::characterData(std::string_view raw) {
    if (raw.empty())
        return;
    if (raw.find('&') == std::string_view::npos)
        m_handler.text(raw);
    else
        m_handler.text(replaceReferences(raw));
}

void XmlScanner::markup(std::string_view whole) {
    if (whole.starts_with(kCdata)) {
        std::string_view data = whole.substr(kCdata.size(), whole.size() - kCdata.size() - 3);
        if (!data.empty())
            m_handler.text(data);
        return;
    }
    if (whole.starts_with("<!") || whole.starts_with("<?"))
        return;
    bool closing = whole.starts_with("</");
    std::string_view inner = whole.substr(closing ? 2 : 1, whole.size() - (closing ? 3 : 2));
    bool empty = !closing && inner.ends_with('/');
    if (empty)
        inner.remove_suffix(1);
    std::size_t nameEnd = 0;
    while (nameEnd < inner.size() && !isSpace(inner[nameEnd]))
        ++nameEnd;
    std::string_view name = inner.substr(0, nameEnd);
    if (name.empty())
        return;
    if (closing) {
        m_handler.endElement(name);
        return;
    }
    m_handler.startElement(Tag{name, inner.substr(nameEnd)});
    if (empty)
        m_handler.endElement(name);
}
