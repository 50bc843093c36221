#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FileServices.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// A workbook of one sheet "属性" of text cells, written row by row with libxlsxwriter in its
// constant-memory mode: a row goes to the library's temporary file when the next one starts,
// so memory does not grow with the rows. Every cell is a string, so no text is ever taken
// for a formula, a number or a date. The first row is the heading: bold, frozen, and where
// the filter over the table sits; the columns are as wide as the first rows need.
class WorkbookWriter {
  public:
    WorkbookWriter() = default;
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;
    // A workbook never closed is written out and left to its owner to delete.
    ~WorkbookWriter();

    // Starts the workbook that close() writes to path (a path of the system's narrow code
    // page); false when the library cannot start it.
    bool open(const std::string& path);
    // Adds a row of UTF-8 texts. A text that is no valid UTF-8 has each bad run replaced
    // by U+FFFD, and one longer than a cell holds is cut to kMaxCellCharacters.
    std::optional<FileFault> addRow(const std::vector<std::string>& cells);
    // Sets the widths and the filter, writes the file and frees the workbook.
    std::optional<FileFault> close();
    bool isOpen() const { return m_workbook != nullptr; }

    static constexpr std::size_t kMaxCellCharacters = 32767;
    static constexpr std::uint32_t kMaxRows = 1048576;
    // The rows the widths are taken from, and the width of a column none of them fills.
    static constexpr std::uint32_t kWidthRows = 100;
    static constexpr double kMaxWidth = 60;

  private:
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_heading = nullptr;
    std::uint32_t m_nRows = 0;
    // The widest text of each column in the first kWidthRows rows, in characters, an East
    // Asian one counting two.
    std::vector<double> m_widths;
};

// How many character widths text takes in a cell: one for most characters, two for the
// wide ones of East Asian scripts (CJK ideographs, Hangul, full-width forms).
double displayWidth(const std::string& utf8);
