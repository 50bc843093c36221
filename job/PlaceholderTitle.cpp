#include "PlaceholderTitle.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "NarrowCharacters.h"

namespace nc = narrow_characters;

namespace {

enum class Number {
    Required,  // only the numbered form is a placeholder: the bare word may be meant
    Optional,  // the bare form and its numbered forms
};

struct Placeholder {
    std::u32string_view name;  // in lower case
    Number number;
};

// Compared after the case of Latin letters, runs of blanks and a number at the end
// ("1", " 2", "-3", " (2)", "（2）") are set aside.
constexpr Placeholder kPlaceholders[] = {
    // The names word processors give a new document until it is saved: "文档1", "Document1",
    // "Doc1"; the title property then often keeps them.
    {U"文档", Number::Required},      // Chinese word processors
    {U"document", Number::Required},  // English word processors
    {U"doc", Number::Required},       // the short form older and lighter ones give
    // The names the Windows shell gives a document made with "New" in a folder, then
    // " (2)" and so on; some programs copy the file name into an empty title.
    // Where the word processor that makes them is set up:
    {U"新建 microsoft word 文档", Number::Optional},
    {U"新建 docx 文档", Number::Optional},  // where another program took .docx
    {U"新建 doc 文档", Number::Optional},   // where another program took .doc
    // The placeholders templates put in the title field, for the author to replace, and the
    // names editors give an untitled document.
    {U"无标题", Number::Optional},    // an untitled document, Chinese
    {U"untitled", Number::Optional},  // an untitled document, English
    {U"标题", Number::Optional},      // a Chinese template's title field
    {U"title", Number::Optional},     // an English template's title field
};

// Printing to a file or a PDF printer sets the title to the program's name, " - " and the
// file name, which says nothing the file name did not.
constexpr std::u32string_view kPrintedPrefix = U"microsoft word - ";

// The title without blanks at its ends, runs of blanks made one ' ', Latin letters in lower
// case: the form the table is written in.
std::string normalised(const std::string& title) {
    std::string out;
    bool blank = false;
    for (std::string_view character : nc::split(title)) {
        if (nc::isBlank(character)) {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += character;
    }
    return nc::lowerLatin(out);
}

bool isOnlyDigitsAndPunctuation(const std::vector<std::string_view>& characters) {
    return std::all_of(characters.begin(), characters.end(), [](std::string_view c) {
        return nc::isDigit(c) || nc::isPunctuation(c) || nc::isBlank(c);
    });
}

// Sets aside a number at the end: digits, with a blank, '-' or '_' before them, or in
// round brackets, ASCII or full-width, with a blank before them. True when there was one.
bool dropNumber(std::vector<std::string_view>& characters) {
    static const std::string kOpenWide = nc::fromCodePoint(U'（');
    static const std::string kCloseWide = nc::fromCodePoint(U'）');
    std::size_t end = characters.size();
    std::string_view opening;  // the bracket before the digits, none when they stand bare
    if (end > 0 && characters[end - 1] == ")")
        opening = "(";
    else if (end > 0 && characters[end - 1] == kCloseWide)
        opening = kOpenWide;
    if (!opening.empty())
        --end;
    std::size_t start = end;
    while (start > 0 && nc::isDigit(characters[start - 1]))
        --start;
    if (start == end)
        return false;
    if (!opening.empty()) {
        if (start == 0 || characters[start - 1] != opening)
            return false;
        --start;
    }
    std::string_view joins = opening.empty() ? " -_" : " ";
    if (start > 0 && characters[start - 1].size() == 1 &&
        joins.find(characters[start - 1][0]) != std::string_view::npos)
        --start;
    characters.resize(start);
    return true;
}

std::string joined(const std::vector<std::string_view>& characters) {
    std::string out;
    for (std::string_view character : characters)
        out += character;
    return out;
}

}  // namespace

bool isPlaceholderTitle(const std::string& title) {
    std::string text = normalised(title);
    std::vector<std::string_view> characters = nc::split(text);
    // Blank, or digits and marks alone ("2024-03-01", "——", "1."): what is left when an
    // author cleared the field, or a date or a number that names no document.
    if (isOnlyDigitsAndPunctuation(characters))
        return true;
    static const std::string kPrinted = nc::fromCodePoints(kPrintedPrefix);
    if (text.starts_with(kPrinted))
        return true;
    static const std::vector<std::pair<std::string, Number>> kNarrow = [] {
        std::vector<std::pair<std::string, Number>> table;
        for (const Placeholder& placeholder : kPlaceholders)
            table.emplace_back(nc::fromCodePoints(placeholder.name), placeholder.number);
        return table;
    }();
    bool numbered = dropNumber(characters);
    std::string stem = joined(characters);
    return std::any_of(kNarrow.begin(), kNarrow.end(), [&](const auto& placeholder) {
        return (numbered || placeholder.second == Number::Optional) && stem == placeholder.first;
    });
}
