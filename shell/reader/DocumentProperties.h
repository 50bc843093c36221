#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

// The document properties the reader answers columns from, as read from a zip package such
// as a .docx (docProps/core.xml, docProps/app.xml) or a compound file such as a .doc
// (SummaryInformation and DocumentSummaryInformation). Texts are UTF-8; a value the document does
// not hold stays empty. Formatting for display is the column table's work.
struct DocumentProperties {
    std::string title;
    std::string subject;
    std::string authors;  // several joined with "; "
    std::string keywords;
    std::string comments;
    std::string category;
    std::string company;
    std::string manager;
    std::string lastAuthor;
    std::string revision;
    std::string templateName;
    std::string application;
    std::optional<std::int64_t> pages;
    std::optional<std::int64_t> slides;  // a presentation's
    std::optional<std::int64_t> words;
    std::optional<std::int64_t> characters;
    std::optional<std::int64_t> editingSeconds;
    // Seconds since 1970-01-01 UTC.
    std::optional<std::int64_t> created;
    std::optional<std::int64_t> lastSaved;
    std::optional<std::int64_t> lastPrinted;
};

// Calls visit(text) for each text of properties (const or not), for what is done to all alike.
template <typename Properties, typename Visit>
void forEachText(Properties& properties, Visit visit) {
    for (auto* text : {&properties.title, &properties.subject, &properties.authors,
                       &properties.keywords, &properties.comments, &properties.category,
                       &properties.company, &properties.manager, &properties.lastAuthor,
                       &properties.revision, &properties.templateName, &properties.application})
        visit(*text);
}
