#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "JobReport.h"

// The rename preview's table apart from any toolkit: the rows of a preview job, shown sorted
// by a column and, on request, only those that keep their names. Both front-ends show row
// i of this table as their row i, so a list of any length costs one index per row.
class CPreviewTable {
  public:
    enum Column { OldName, NewName, Note };
    static constexpr int kColumns = 3;
    static const char* heading(int column);

    explicit CPreviewTable(std::vector<JobReport::PreviewRow> rows);

    std::size_t rowCount() const { return m_shown.size(); }
    const std::string& cell(std::size_t row, int column) const;

    // Sorts the shown rows by the column's text, equal texts in their job order.
    void sort(int column, bool ascending);
    // Shows only the documents that keep their names, or all again, in the current order.
    void showKeptOnly(bool keptOnly);

  private:
    void refill();

    std::vector<JobReport::PreviewRow> m_rows;
    std::vector<std::size_t> m_order;  // all rows, sorted
    std::vector<std::size_t> m_shown;  // the rows of m_order that pass the filter
    bool m_bKeptOnly = false;
};
