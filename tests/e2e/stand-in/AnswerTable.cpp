#include "AnswerTable.h"

#include <climits>
#include <fstream>

namespace stand_in {

std::shared_ptr<const AnswerTable> AnswerTable::load() {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(kTableVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    auto table = std::make_shared<AnswerTable>();
    std::string line;
    while (std::getline(in, line)) {
        if (std::optional<TableLine> parsed = parseLine(line))
            table->add(std::move(*parsed));
    }
    return table;
}

void AnswerTable::add(TableLine line) {
    if (line.kind == ReplyKind::Heading) {
        m_headings[line.column] = std::move(line.text);
        return;
    }
    auto key = std::make_pair(line.file, line.column);
    m_details[std::move(key)] = std::move(line);
}

bool AnswerTable::knows(const std::wstring& file) const {
    auto next = m_details.lower_bound({file, INT_MIN});
    return next != m_details.end() && next->first.first == file;
}

std::wstring AnswerTable::heading(int column) const {
    auto found = m_headings.find(column);
    return found == m_headings.end() ? std::wstring() : found->second;
}

const TableLine* AnswerTable::detail(const std::wstring& file, int column) const {
    auto found = m_details.find({file, column});
    return found == m_details.end() ? nullptr : &found->second;
}

}  // namespace stand_in
