#pragma once

#include <string_view>

#include "AsciiCase.h"

// The office document kinds a job may take, by extension. The Word and WPS Writer ones, the
// spreadsheets and the presentations come each in a compound file (the binary formats) or
// a zip package (the XML formats); either way they carry the same document properties.
enum class DocumentFamily { wordProcessing, spreadsheet, presentation };

struct DocumentKind {
    const char* extension;  // lower case, without the dot
    DocumentFamily family;
    // The item type a Simplified Chinese Windows shows with the usual office suite installed
    // (narrow text in the build's encoding); nullptr where no one name is sure, and the type
    // is then the one a Windows without a program for it shows.
    const char* typeName;
};

inline constexpr DocumentKind kDocumentKinds[] = {
    {"doc", DocumentFamily::wordProcessing, "Microsoft Word 97 - 2003 文档"},
    {"dot", DocumentFamily::wordProcessing, "Microsoft Word 97 - 2003 模板"},
    {"docx", DocumentFamily::wordProcessing, "Microsoft Word 文档"},
    {"docm", DocumentFamily::wordProcessing, "Microsoft Word 启用宏的文档"},
    {"dotx", DocumentFamily::wordProcessing, "Microsoft Word 模板"},
    {"dotm", DocumentFamily::wordProcessing, "Microsoft Word 启用宏的模板"},
    {"wps", DocumentFamily::wordProcessing, nullptr},
    {"wpt", DocumentFamily::wordProcessing, nullptr},
    {"xls", DocumentFamily::spreadsheet, "Microsoft Excel 97-2003 工作表"},
    {"xlsx", DocumentFamily::spreadsheet, "Microsoft Excel 工作表"},
    {"xlsm", DocumentFamily::spreadsheet, "Microsoft Excel 启用宏的工作表"},
    {"et", DocumentFamily::spreadsheet, nullptr},
    {"ett", DocumentFamily::spreadsheet, nullptr},
    {"ppt", DocumentFamily::presentation, "Microsoft PowerPoint 97-2003 演示文稿"},
    {"pptx", DocumentFamily::presentation, "Microsoft PowerPoint 演示文稿"},
    {"pptm", DocumentFamily::presentation, "Microsoft PowerPoint 启用宏的演示文稿"},
    {"dps", DocumentFamily::presentation, nullptr},
    {"dpt", DocumentFamily::presentation, nullptr},
};

// The kind of that extension (without the dot) in any case, as the shell knows a type; nullptr
// for any other.
inline const DocumentKind* findDocumentKind(std::string_view extension) {
    for (const DocumentKind& kind : kDocumentKinds) {
        if (ascii_case::equalIgnoringCase(extension, kind.extension))
            return &kind;
    }
    return nullptr;
}
