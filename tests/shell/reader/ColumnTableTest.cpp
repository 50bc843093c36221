#include "ColumnTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

TEST(ColumnTable, numbersEachColumnOnceInAscendingOrderWithAHeading) {
    int previous = -1;
    for (const Column& column : columnTable()) {
        EXPECT_GT(column.number, previous);
        previous = column.number;
        EXPECT_STRNE(column.heading, "");
        EXPECT_EQ(findColumn(column.number), &column);
    }
}

TEST(ColumnTable, placesTheColumnsAtWindowsNumbers) {
    const std::pair<int, const char*> expected[] = {
        {0, "名称"},     {1, "大小"},   {2, "类型"},     {3, "修改日期"}, {4, "创建日期"},
        {5, "访问日期"}, {6, "属性"},   {10, "所有者"},  {18, "标记"},    {20, "作者"},
        {21, "标题"},    {22, "主题"},  {24, "备注"},    {33, "公司"},    {42, "程序名称"},
        {157, "页数"},   {160, "字数"}, {401, "修订号"},
    };
    for (auto [number, heading] : expected) {
        const Column* column = findColumn(number);
        ASSERT_NE(column, nullptr) << number;
        EXPECT_STREQ(column->heading, heading);
    }
}

TEST(ColumnTable, knowsNoNumberOutsideIt) {
    for (int number : {-1, 7, 8, 26, 41, 155, 405, INT_MAX, INT_MIN}) {
        EXPECT_EQ(findColumn(number), nullptr) << number;
    }
}
