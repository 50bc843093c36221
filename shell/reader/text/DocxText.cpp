#include "DocxText.h"

#include <exception>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "FirstParagraph.h"
#include "PackageParts.h"
#include "XmlScanner.h"
#include "ZipDirectory.h"
#include "ZipEntryStream.h"

namespace {

// The word-processing namespace in the format's transitional and strict forms.
constexpr std::string_view kWordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kStrictWordNamespace =
    "http://purl.oclc.org/ooxml/wordprocessingml/main";
constexpr std::string_view kCompatibilityNamespace =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

// Turns the main part's markup into paragraphs for FirstParagraph. Prefixes are taken from
// the namespace declarations wherever they are (documents declare them on the root); a part
// that declares none is read with the customary "w" and "mc".
class MainText : public XmlScanner::Handler {
  public:
    explicit MainText(FirstParagraph& paragraph) : m_paragraph(paragraph) {}

    void startElement(const XmlScanner::Tag& tag) override {
        learnPrefixes(tag);
        // The package's main part says by its root what it is: a spreadsheet's workbook or a
        // presentation holds no text a name could come from.
        if (m_depth == 0 && wordName(tag.name) != "document")
            m_otherPart = true;
        ++m_depth;
        if (m_leftOutFrom || m_otherPart)
            return;
        std::optional<std::string_view> name = wordName(tag.name);
        if (isCompatibility(tag.name) && localPart(tag.name) == "AlternateContent") {
            // Its choices are the same content for different programs, mostly drawings and
            // text boxes; none of it is main text.
            m_leftOutFrom = m_depth;
            return;
        }
        if (!name)
            return;
        // Text boxes, deleted and moved-away text, field instructions, and the reading set
        // above a ruby's base text: no main text.
        if (isOneOf(*name, {"txbxContent", "del", "moveFrom", "delText", "instrText",
                            "delInstrText", "rt"})) {
            m_leftOutFrom = m_depth;
        } else if (*name == "t") {
            m_inText = true;
        } else if (*name == "fldChar") {
            fieldCharacter(tag.attribute("fldCharType").value_or(""));
        } else {
            runContent(*name);
        }
    }

    void endElement(std::string_view qualified) override {
        if (m_otherPart)
            return;
        if (m_leftOutFrom) {
            if (m_depth-- == m_leftOutFrom)
                m_leftOutFrom = 0;
            return;
        }
        --m_depth;
        std::optional<std::string_view> name = wordName(qualified);
        if (!name)
            return;
        if (*name == "t") {
            m_inText = false;
        } else if (*name == "p") {
            m_paragraph.endParagraph();
        }
    }

    // The main part is no word-processing document's.
    bool otherPart() const { return m_otherPart; }

    void text(std::string_view data) override {
        if (m_inText && !m_leftOutFrom && m_instructions == 0)
            m_paragraph.append(data);
    }

  private:
    void learnPrefixes(const XmlScanner::Tag& tag) {
        // Most elements declare nothing; only those that do are worth reading through.
        if (tag.attributes.find("xmlns") == std::string_view::npos)
            return;
        tag.forEachAttribute([&](std::string_view name, const std::string& value) {
            if (name != "xmlns" && prefixPart(name) != "xmlns")
                return;
            std::string prefix(name == "xmlns" ? std::string_view() : localPart(name));
            if (isOneOf(value, {kWordNamespace, kStrictWordNamespace}))
                m_wordPrefixes.push_back(prefix);
            else if (value == kCompatibilityNamespace)
                m_compatibilityPrefixes.push_back(prefix);
        });
    }

    static bool hasPrefix(std::string_view qualified, const std::vector<std::string>& prefixes,
                          std::string_view customary) {
        std::string_view prefix = prefixPart(qualified);
        if (prefixes.empty())
            return prefix == customary;
        for (const std::string& known : prefixes) {
            if (prefix == known)
                return true;
        }
        return false;
    }

    std::optional<std::string_view> wordName(std::string_view qualified) const {
        if (!hasPrefix(qualified, m_wordPrefixes, "w"))
            return std::nullopt;
        return localPart(qualified);
    }

    bool isCompatibility(std::string_view qualified) const {
        return hasPrefix(qualified, m_compatibilityPrefixes, "mc");
    }

    // A complex field: its instruction runs from begin to separate, its result from there
    // to end; fields nest.
    void fieldCharacter(std::string_view type) {
        if (type == "begin") {
            m_fields.push_back(true);
            ++m_instructions;
        } else if (m_fields.empty()) {
            return;
        } else if (type == "separate") {
            m_instructions -= m_fields.back();
            m_fields.back() = false;
        } else if (type == "end") {
            m_instructions -= m_fields.back();
            m_fields.pop_back();
        }
    }

    void runContent(std::string_view name) {
        if (m_instructions > 0)
            return;
        if (name == "tab" || name == "ptab") {
            m_paragraph.append(" ");
        } else if (name == "br" || name == "cr") {
            m_paragraph.lineBreak();
        } else if (name == "noBreakHyphen") {
            m_paragraph.append("-");
        }
    }

    FirstParagraph& m_paragraph;
    std::vector<std::string> m_wordPrefixes;
    std::vector<std::string> m_compatibilityPrefixes;
    std::size_t m_depth = 0;
    bool m_otherPart = false;
    std::size_t m_leftOutFrom = 0;  // the depth of the element being left out, or 0
    bool m_inText = false;
    std::vector<bool> m_fields;  // per open field, innermost last: still in its instruction
    std::size_t m_instructions = 0;
};

std::string firstParagraph(ByteSource& source) {
    std::optional<ZipDirectory> zip = ZipDirectory::read(source);
    if (!zip)
        return {};
    const ZipDirectory::Entry* entry = zip->find(packagePartNames(source, *zip).main);
    if (!entry)
        return {};
    FirstParagraph paragraph;
    MainText mainText(paragraph);
    XmlScanner scanner(mainText);
    ZipEntryStream part(source, *entry);
    while (!paragraph.found() && !mainText.otherPart() &&
           part.contentBytes() < kMaxMainPartXmlBytes) {
        std::optional<std::string_view> piece = part.next();
        if (!piece || piece->empty() || source.abandoned() || !scanner.feed(*piece))
            break;
    }
    return paragraph.text();
}

}  // namespace

std::string docxFirstParagraph(ByteSource& source) {
    try {
        return firstParagraph(source);
    } catch (const std::exception&) {
        // Out of memory for a hostile part: it has no text to give.
        return {};
    }
}
