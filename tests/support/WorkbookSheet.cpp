#include "WorkbookSheet.h"

#include <pugixml.hpp>

#include "ByteSource.h"
#include "TempDir.h"
#include "ZipDirectory.h"

namespace {

constexpr std::size_t kMaxPartBytes = 256u << 20;

std::optional<std::string> part(ByteSource& source, const ZipDirectory& zip, const char* name) {
    const ZipDirectory::Entry* entry = zip.find(name);
    return entry ? zip.extract(source, *entry, kMaxPartBytes) : std::nullopt;
}

// The column of a cell reference such as "AB12", from 0.
std::size_t columnOf(const std::string& reference) {
    std::size_t column = 0;
    for (char c : reference) {
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
    }
    return column - 1;
}

// The text of an inline string: its runs, or its one text.
std::string inlineText(const pugi::xml_node& cell) {
    std::string text;
    for (pugi::xpath_node t : cell.select_nodes(".//t"))
        text += t.node().text().get();
    return text;
}

}  // namespace

std::optional<WorkbookSheet> readWorkbookSheet(const std::string& path) {
    std::string bytes = readFile(path);
    MemorySource source(bytes.data(), bytes.size());
    std::optional<ZipDirectory> zip = ZipDirectory::read(source);
    if (!zip)
        return std::nullopt;
    std::optional<std::string> workbook = part(source, *zip, "xl/workbook.xml");
    std::optional<std::string> sheet = part(source, *zip, "xl/worksheets/sheet1.xml");
    pugi::xml_document workbookXml, sheetXml;
    if (!workbook || !sheet || !workbookXml.load_string(workbook->c_str()) ||
        !sheetXml.load_string(sheet->c_str()))
        return std::nullopt;
    WorkbookSheet found;
    found.name = workbookXml.select_node("//sheet").node().attribute("name").value();
    found.xml = *sheet;
    for (pugi::xpath_node row : sheetXml.select_nodes("//sheetData/row")) {
        std::vector<std::string>& cells = found.rows.emplace_back();
        for (pugi::xml_node cell : row.node().children("c")) {
            std::size_t column = columnOf(cell.attribute("r").value());
            if (cells.size() <= column)
                cells.resize(column + 1);
            std::string type = cell.attribute("t").value();
            found.allText = found.allText && type == "inlineStr" && !cell.child("f");
            cells[column] = inlineText(cell);
        }
    }
    return found;
}
