#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "TableLine.h"

namespace stand_in {

// The answers a test wrote for the stand-in: headings per column, and per file name the
// detail of each column. A file the table names is an item of every folder; a column the
// table does not name has an empty text, as the shell gives for a property a file lacks.
class AnswerTable {
  public:
    // The table in the file named by TARNEL_STAND_IN_TABLE; nullptr when there is none.
    static std::shared_ptr<const AnswerTable> load();

    bool knows(const std::wstring& file) const;
    std::wstring heading(int column) const;
    // nullptr for an empty text.
    const TableLine* detail(const std::wstring& file, int column) const;

  private:
    void add(TableLine line);

    std::map<int, std::wstring> m_headings;
    std::map<std::pair<std::wstring, int>, TableLine> m_details;
};

}  // namespace stand_in
