#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Reads XML markup fed in pieces of any size, for a reader that wants a few elements near
// the start of a large part and stops there. It finds elements, attributes and character
// data and replaces the predefined and numeric references; comments, processing
// instructions and declarations are passed over. It checks no well-formedness beyond what
// it needs to read on, and expands no entity a document declares.
class XmlScanner {
  public:
    // The most one tag, comment or CDATA section may take: a larger one ends the reading, so
    // no document makes the scanner hold more.
    static constexpr std::size_t kMaxMarkupBytes = 256u << 10;

    struct Tag {
        std::string_view name;        // as written, with its prefix
        std::string_view attributes;  // as written, between the name and the end
        // Calls take(name, value) for each attribute, the value's references replaced.
        template <typename Take>
        void forEachAttribute(Take take) const;
        // The value of the first attribute of that name, prefix ignored.
        std::optional<std::string> attribute(std::string_view localName) const;
    };

    class Handler {
      public:
        virtual ~Handler() = default;
        // An empty element (<a/>) gets its endElement right after.
        virtual void startElement(const Tag& tag) = 0;
        virtual void endElement(std::string_view name) = 0;
        // Character data, references replaced, or a CDATA section; one run may come in
        // several calls.
        virtual void text(std::string_view data) = 0;
    };

    explicit XmlScanner(Handler& handler) : m_handler(handler) {}

    // Scans the next piece of the document; false once a construct is too large or never
    // ends where it must (the rest is then not read).
    bool feed(std::string_view piece);

  private:
    bool scan(std::string_view data);
    void characterData(std::string_view raw);
    void markup(std::string_view whole);

    Handler& m_handler;
    std::string m_pending;  // the start of a construct the next piece completes
    bool m_broken = false;
};

// The text with &amp; &lt; &gt; &quot; &apos; and &#...; replaced; any other reference is
// kept as written.
std::string replaceReferences(std::string_view raw);

// The name of an element or attribute without its prefix, and the prefix alone.
std::string_view localPart(std::string_view name);
std::string_view prefixPart(std::string_view name);

template <typename Take>
void XmlScanner::Tag::forEachAttribute(Take take) const {
    std::string_view rest = attributes;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    for (;;) {
        while (!rest.empty() && isSpace(rest.front()))
            rest.remove_prefix(1);
        std::size_t equals = rest.find('=');
        if (equals == std::string_view::npos)
            return;
        std::string_view name = rest.substr(0, equals);
        while (!name.empty() && isSpace(name.back()))
            name.remove_suffix(1);
        rest.remove_prefix(equals + 1);
        while (!rest.empty() && isSpace(rest.front()))
            rest.remove_prefix(1);
        if (rest.empty() || (rest.front() != '"' && rest.front() != '\''))
            return;
        std::size_t close = rest.find(rest.front(), 1);
        if (close == std::string_view::npos)
            return;
        take(name, replaceReferences(rest.substr(1, close - 1)));
        rest.remove_prefix(close + 1);
    }
}
