#include "PreviewTable.h"

#include <algorithm>
#include <numeric>

namespace {

const std::string& field(const JobReport::PreviewRow& row, int column) {
    switch (column) {
        case CPreviewTable::OldName:
            return row.name;
        case CPreviewTable::NewName:
            return row.newName;
        default:
            return row.note;
    }
}

}  // namespace

const char* CPreviewTable::heading(int column) {
    const char* headings[kColumns] = {"原名", "新名", "说明"};
    return headings[column];
}

CPreviewTable::CPreviewTable(std::vector<JobReport::PreviewRow> rows)
    : m_rows(std::move(rows)), m_order(m_rows.size()) {
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    refill();
}

const std::string& CPreviewTable::cell(std::size_t row, int column) const {
    return field(m_rows[m_shown[row]], column);
}

void CPreviewTable::sort(int column, bool ascending) {
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    std::stable_sort(m_order.begin(), m_order.end(), [&](std::size_t a, std::size_t b) {
        const std::string& first = field(m_rows[a], column);
        const std::string& second = field(m_rows[b], column);
        return ascending ? first < second : second < first;
    });
    refill();
}

void CPreviewTable::showKeptOnly(bool keptOnly) {
    m_bKeptOnly = keptOnly;
    refill();
}

void CPreviewTable::refill() {
    m_shown.clear();
    for (std::size_t index : m_order) {
        if (!m_bKeptOnly || m_rows[index].newName.empty())
            m_shown.push_back(index);
    }
}
