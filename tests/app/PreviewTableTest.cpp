#include "PreviewTable.h"

#include <gtest/gtest.h>

namespace {

std::string column(const CPreviewTable& table, int column) {
    std::string cells;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        cells += (row ? " " : "") + table.cell(row, column);
    return cells;
}

// Rows as a preview job makes them: a rename, a name from the text, two kept names.
CPreviewTable sample() {
    return CPreviewTable({{"c.doc", "Zhang.doc", ""},
                          {"a.doc", "", "已有同名文件"},
                          {"b.doc", "Li.doc", "正文"},
                          {"d.doc", "", "标题为空"}});
}

TEST(PreviewTable, sortsByEachColumnEitherWayKeepingTheJobOrderOfEqualCells) {
    CPreviewTable table = sample();
    EXPECT_EQ(column(table, CPreviewTable::OldName), "c.doc a.doc b.doc d.doc");
    table.sort(CPreviewTable::OldName, true);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "a.doc b.doc c.doc d.doc");
    table.sort(CPreviewTable::OldName, false);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "d.doc c.doc b.doc a.doc");
    table.sort(CPreviewTable::NewName, true);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "a.doc d.doc b.doc c.doc");
    table.sort(CPreviewTable::NewName, false);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "c.doc b.doc a.doc d.doc");
}

TEST(PreviewTable, filtersToTheKeptNamesInTheCurrentOrderAndBack) {
    CPreviewTable table = sample();
    table.sort(CPreviewTable::OldName, false);
    table.showKeptOnly(true);
    ASSERT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "d.doc a.doc");
    table.sort(CPreviewTable::OldName, true);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "a.doc d.doc");
    table.showKeptOnly(false);
    EXPECT_EQ(column(table, CPreviewTable::OldName), "a.doc b.doc c.doc d.doc");
    EXPECT_EQ(column(table, CPreviewTable::NewName), " Li.doc Zhang.doc ");
}

}  // namespace
