#pragma once

#include <string>
#include <vector>

// Writes .docx packages for tests and benchmarks. Every property is given as the text that
// goes into the part; an empty one is left out of it.
struct DocxContent {
    // docProps/core.xml
    std::string title, subject, creator, keywords, description, category, lastModifiedBy, revision,
        created, modified, lastPrinted;
    // docProps/app.xml
    std::string application, company, manager, templateName, pages, slides, words, characters,
        totalTime;
    // word/document.xml: what its w:body holds, as XML; empty: one paragraph of the title.
    std::string bodyXml;
    // The main part, which _rels/.rels names; mainXml, when given, is its whole content in place
    // of a w:document of bodyXml (a workbook, a presentation).
    std::string mainPart = "word/document.xml";
    std::string mainXml;
    // Where the parts go; _rels/.rels names them there. An empty name leaves the part out.
    std::string corePart = "docProps/core.xml";
    std::string appPart = "docProps/app.xml";
};

struct ZipPart {
    std::string name;
    std::string content;
    bool compressed = true;  // deflated, else stored
};

// Every property set: Chinese texts, a comma in the title, two authors, "&" in the
// comments, dates in UTC and in +08:00, 65 minutes of editing.
DocxContent sampleDocxContent();

std::string coreXml(const DocxContent& content);
std::string appXml(const DocxContent& content);
// [Content_Types].xml, _rels/.rels, the main part and the property parts.
std::vector<ZipPart> docxParts(const DocxContent& content);

// Writes a zip of the parts, in that order, to path; throws std::runtime_error on failure.
void writeZip(const std::string& path, const std::vector<ZipPart>& parts);
void writeDocx(const std::string& path, const DocxContent& content);
