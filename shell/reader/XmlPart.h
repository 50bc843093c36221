#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

// Parses a package part in place (the document then points into it): a part may be
// megabytes, and a copy of it would only be more to allocate and fill.
inline bool parseXmlPart(pugi::xml_document& document, std::string& part) {
    // pugixml expands no entities beyond the predefined ones, so a part cannot grow in parsing.
    // A property made of white space alone is kept, as the document has it.
    return document.load_buffer_inplace(part.data(), part.size(),
                                        pugi::parse_default | pugi::parse_ws_pcdata_single,
                                        pugi::encoding_auto);
}

// An element's name without its namespace prefix.
inline std::string_view localName(const char* qualified) {
    std::string_view name(qualified);
    std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
