#include "DocxReader.h"

#include <charconv>
#include <limits>
#include <string_view>

#include "ByteSource.h"
#include "DocumentReading.h"
#include "PackageParts.h"
#include "Utf8Text.h"
#include "W3cDate.h"
#include "XmlPart.h"
#include "ZipDirectory.h"

namespace {

// All the text inside an element, nested elements included (some writers put each keyword
// in an element of its own), down to a depth no real property needs, so hostile nesting
// cannot exhaust the stack. Collected no further than a text is kept.
std::string textOf(pugi::xml_node node, int depth = 0) {
    constexpr int kMaxDepth = 4;
    std::string text;
    for (pugi::xml_node child = node.first_child(); child && text.size() < kMaxTextBytes;
         child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += utf8Prefix(child.value(), kMaxTextBytes - text.size());
        } else if (child.type() == pugi::node_element && depth < kMaxDepth) {
            std::string inner = textOf(child, depth + 1);
            if (!text.empty() && !inner.empty())
                text += "; ";
            text += inner;
        }
    }
    return text;
}

std::optional<std::int64_t> number(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

void appendAuthor(std::string& authors, const std::string& author) {
    if (author.empty())
        return;
    if (!authors.empty())
        authors += "; ";
    authors += author;
}

// Calls take(local name, text) for each element below the part's root. The parser passes
// on whatever bytes a part holds; the texts leave it as valid UTF-8.
template <typename Take>
void forEachProperty(std::string& part, Take take) {
    pugi::xml_document document;
    if (!parseXmlPart(document, part))
        return;
    for (pugi::xml_node node : document.document_element().children()) {
        if (node.type() == pugi::node_element)
            take(localName(node.name()), validUtf8(textOf(node)));
    }
}

void readCore(std::string& part, DocumentProperties& properties) {
    forEachProperty(part, [&](std::string_view name, std::string text) {
        if (name == "title") {
            properties.title = std::move(text);
        } else if (name == "subject") {
            properties.subject = std::move(text);
        } else if (name == "creator") {
            appendAuthor(properties.authors, text);
        } else if (name == "keywords") {
            properties.keywords = std::move(text);
        } else if (name == "description") {
            properties.comments = std::move(text);
        } else if (name == "category") {
            properties.category = std::move(text);
        } else if (name == "lastModifiedBy") {
            properties.lastAuthor = std::move(text);
        } else if (name == "revision") {
            properties.revision = std::move(text);
        } else if (name == "created") {
            properties.created = parseW3cDate(text);
        } else if (name == "modified") {
            properties.lastSaved = parseW3cDate(text);
        } else if (name == "lastPrinted") {
            properties.lastPrinted = parseW3cDate(text);
        }
    });
}

void readApp(std::string& part, DocumentProperties& properties) {
    forEachProperty(part, [&](std::string_view name, std::string text) {
        if (name == "Application") {
            properties.application = std::move(text);
        } else if (name == "Company") {
            properties.company = std::move(text);
        } else if (name == "Manager") {
            properties.manager = std::move(text);
        } else if (name == "Template") {
            properties.templateName = std::move(text);
        } else if (name == "Pages") {
            properties.pages = number(text);
        } else if (name == "Slides") {
            properties.slides = number(text);
        } else if (name == "Words") {
            properties.words = number(text);
        } else if (name == "Characters") {
            properties.characters = number(text);
        } else if (name == "TotalTime") {
            // Minutes in the package; seconds in the properties, as in a .doc.
            std::optional<std::int64_t> minutes = number(text);
            if (minutes && *minutes >= 0 &&
                *minutes <= std::numeric_limits<std::int64_t>::max() / 60)
                properties.editingSeconds = *minutes * 60;
        }
    });
}

std::optional<std::string> readPart(ByteSource& source, const ZipDirectory& zip,
                                    const std::string& name) {
    const ZipDirectory::Entry* entry = zip.find(name);
    if (!entry)
        return std::nullopt;
    std::optional<std::string> part = zip.extract(source, *entry, kMaxDocxPartBytes);
    // Given up while a large part inflated: parsing it would take as long again.
    if (source.abandoned())
        return std::nullopt;
    return part;
}

std::optional<DocumentProperties> readPackage(ByteSource& source) {
    std::optional<ZipDirectory> zip = ZipDirectory::read(source);
    if (!zip)
        return std::nullopt;
    PackagePartNames names = packagePartNames(source, *zip);
    DocumentProperties properties;
    if (auto core = readPart(source, *zip, names.core))
        readCore(*core, properties);
    if (auto app = readPart(source, *zip, names.app))
        readApp(*app, properties);
    return properties;
}

}  // namespace

std::optional<DocumentProperties> readDocx(ByteSource& source) {
    return readWithoutThrowing(readPackage, source);
}
