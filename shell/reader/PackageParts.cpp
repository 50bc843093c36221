#include "PackageParts.h"

#include <optional>
#include <string_view>

#include "DocxReader.h"
#include "ReaderCache.h"
#include "XmlPart.h"

namespace {

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A target of the package's own relationships is relative to the package root.
std::string partName(std::string_view target) {
    while (target.starts_with("/") || target.starts_with("./")) {
        target.remove_prefix(target.starts_with("/") ? 1 : 2);
    }
    return std::string(target);
}

// The standard relationship type of the core properties; writers following early drafts
// of the format used other namespaces for it, and a package may name a part of each kind.
constexpr std::string_view kCoreType =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";

void readRelationships(std::string& part, PackagePartNames& names) {
    pugi::xml_document document;
    if (!parseXmlPart(document, part))
        return;
    bool haveCore = false, haveStandardCore = false, haveApp = false, haveMain = false;
    for (pugi::xml_node node : document.document_element().children()) {
        if (localName(node.name()) != "Relationship")
            continue;
        std::string_view type = node.attribute("Type").value();
        std::string target = partName(node.attribute("Target").value());
        if (target.empty() || std::string_view(node.attribute("TargetMode").value()) == "External")
            continue;
        if (endsWith(type, "/metadata/core-properties")) {
            // The first of them, unless a later one has the standard type.
            bool standard = type == kCoreType;
            if (!haveCore || (standard && !haveStandardCore))
                names.core = target;
            haveCore = true;
            haveStandardCore = haveStandardCore || standard;
        } else if (!haveApp && (endsWith(type, "/extended-properties") ||
                                endsWith(type, "/extendedProperties"))) {
            names.app = target;
            haveApp = true;
        } else if (!haveMain && endsWith(type, "/relationships/officeDocument")) {
            // The same ending in the transitional and the strict form of the format.
            names.main = target;
            haveMain = true;
        }
    }
}

}  // namespace

// Documents written by one program carry the same relationships part byte for byte, so each
// thread keeps the last one it read, as stored, with the names it gave: the same stored bytes,
// method, size and CRC are the same content.
PackagePartNames packagePartNames(ByteSource& source, const ZipDirectory& zip) {
    struct Seen {
        ZipDirectory::Entry entry;
        std::string stored;
        PackagePartNames names;
    };
    READER_CACHE std::optional<Seen> last;
    PackagePartNames names;
    const ZipDirectory::Entry* entry = zip.find("_rels/.rels");
    if (!entry)
        return names;
    std::optional<std::string> stored = zip.storedData(source, *entry, kMaxDocxPartBytes);
    if (!stored)
        return names;
    if (last && last->stored == *stored && last->entry.method == entry->method &&
        last->entry.size == entry->size && last->entry.crc == entry->crc)
        return last->names;
    if (std::optional<std::string> part = ZipDirectory::content(*entry, *stored)) {
        readRelationships(*part, names);
        last = Seen{*entry, std::move(*stored), names};
    }
    return names;
}
