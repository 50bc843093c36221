#include "ColumnTable.h"

#include <algorithm>
#include <iterator>

#include "../ColumnHeadings.h"

namespace {

// A column Windows numbers, under Windows' own heading.
consteval Column windowsColumn(int number, ColumnField field) {
    return {number, windowsColumnHeading(number), field};
}

constexpr Column kColumns[] = {
    windowsColumn(0, ColumnField::name),          windowsColumn(1, ColumnField::size),
    windowsColumn(2, ColumnField::itemType),      windowsColumn(3, ColumnField::modified),
    windowsColumn(4, ColumnField::created),       windowsColumn(5, ColumnField::accessed),
    windowsColumn(6, ColumnField::attributes),    windowsColumn(9, ColumnField::perceivedType),
    windowsColumn(10, ColumnField::owner),        windowsColumn(11, ColumnField::kind),
    windowsColumn(18, ColumnField::keywords),     windowsColumn(20, ColumnField::authors),
    windowsColumn(21, ColumnField::title),        windowsColumn(22, ColumnField::subject),
    windowsColumn(23, ColumnField::category),     windowsColumn(24, ColumnField::comments),
    windowsColumn(25, ColumnField::copyright),    windowsColumn(33, ColumnField::company),
    windowsColumn(42, ColumnField::application),  windowsColumn(152, ColumnField::contentCreated),
    windowsColumn(153, ColumnField::lastPrinted), windowsColumn(154, ColumnField::lastSaved),
    windowsColumn(157, ColumnField::pages),       windowsColumn(159, ColumnField::editingTime),
    windowsColumn(160, ColumnField::words),       {400, "最后一次保存者", ColumnField::lastAuthor},
    {401, "修订号", ColumnField::revision},       {402, "模板", ColumnField::templateName},
    {403, "字符数", ColumnField::characters},     {404, "经理", ColumnField::manager},
};

static_assert(std::is_sorted(std::begin(kColumns), std::end(kColumns),
                             [](const Column& a, const Column& b) { return a.number < b.number; }),
              "findColumn searches the table by number");

}  // namespace

std::span<const Column> columnTable() {
    return kColumns;
}

const Column* findColumn(int number) {
    const auto* found =
        std::lower_bound(std::begin(kColumns), std::end(kColumns), number,
                         [](const Column& column, int wanted) { return column.number < wanted; });
    if (found == std::end(kColumns) || found->number != number)
        return nullptr;
    return found;
}
