#include "WorkbookWriter.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "Utf8Text.h"

namespace {

// The code point of the valid UTF-8 character that starts at text[pos], and its length.
char32_t decodeAt(std::string_view text, std::size_t& pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && pos + i < text.size(); ++i)
        code = (code << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += length;
    return code;
}

bool isWide(char32_t code) {
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x1F300 && code <= 0x1FAFF) ||
           code >= 0x20000;
}

// The text as a cell takes it: valid UTF-8, at most kMaxCellCharacters characters.
std::string cellText(const std::string& text) {
    std::string valid = validUtf8(text);
    std::size_t pos = 0;
    for (std::size_t characters = 0; pos < valid.size(); ++characters) {
        if (characters == WorkbookWriter::kMaxCellCharacters) {
            valid.resize(pos);
            break;
        }
        decodeAt(valid, pos);
    }
    return valid;
}

FileFault faultOf(lxw_error error) {
    return error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE ? FileFault::SheetFull
                                                           : FileFault::WorkbookNotWritten;
}

}  // namespace

double displayWidth(const std::string& utf8) {
    double width = 0;
    for (std::size_t pos = 0; pos < utf8.size();)
        width += isWide(decodeAt(utf8, pos)) ? 2 : 1;
    return width;
}

WorkbookWriter::~WorkbookWriter() {
    if (m_workbook)
        workbook_close(m_workbook);
}

bool WorkbookWriter::open(const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // The library opens the file by its narrow name (fopen) on Linux and in the MinGW build.
    m_workbook = workbook_new_opt(path.c_str(), &options);
    if (!m_workbook)
        return false;
    // UTF-8 whatever the narrow literals of the build are.
    m_sheet = workbook_add_worksheet(m_workbook, reinterpret_cast<const char*>(u8"属性"));
    m_heading = workbook_add_format(m_workbook);
    if (!m_sheet || !m_heading) {
        workbook_close(m_workbook);
        m_workbook = nullptr;
        return false;
    }
    format_set_bold(m_heading);
    worksheet_freeze_panes(m_sheet, 1, 0);
    m_nRows = 0;
    m_widths.clear();
    return true;
}

std::optional<FileFault> WorkbookWriter::addRow(const std::vector<std::string>& cells) {
    if (m_nRows == kMaxRows || cells.size() > LXW_COL_MAX)
        return FileFault::SheetFull;
    lxw_format* format = m_nRows == 0 ? m_heading : nullptr;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        std::string text = cellText(cells[column]);
        lxw_error error = worksheet_write_string(m_sheet, m_nRows, static_cast<lxw_col_t>(column),
                                                 text.c_str(), format);
        if (error != LXW_NO_ERROR)
            return faultOf(error);
        if (m_nRows < kWidthRows) {
            if (m_widths.size() <= column)
                m_widths.resize(column + 1);
            m_widths[column] = std::max(m_widths[column], displayWidth(text));
        }
    }
    ++m_nRows;
    return std::nullopt;
}

std::optional<FileFault> WorkbookWriter::close() {
    if (m_nRows > 0 && !m_widths.empty()) {
        auto lastColumn = static_cast<lxw_col_t>(m_widths.size() - 1);
        worksheet_autofilter(m_sheet, 0, 0, m_nRows - 1, lastColumn);
        // Room for the filter's button beside the text.
        for (lxw_col_t column = 0; column <= lastColumn; ++column)
            worksheet_set_column(m_sheet, column, column, std::min(m_widths[column] + 3, kMaxWidth),
                                 nullptr);
    }
    lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_heading = nullptr;
    if (error != LXW_NO_ERROR)
        return faultOf(error);
    return std::nullopt;
}
