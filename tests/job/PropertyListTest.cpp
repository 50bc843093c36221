#include "PropertyList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "CCore.h"

namespace {

std::vector<int> columnsOf(const std::string& propids) {
    CCore core;
    return propertyColumns(normalisePropertyList(propids), core).numbers;
}

TEST(PropertyList, replacesTheFullWidthCommaByWholeCharacters) {
    EXPECT_EQ(normalisePropertyList("2，21，9"), "2,21,9");
    EXPECT_EQ(columnsOf("2，21"), (std::vector<int>{2, 21}));
}

TEST(PropertyList, endsAtTheFirstEmptyField) {
    EXPECT_EQ(columnsOf("0"), (std::vector<int>{0}));
    EXPECT_EQ(columnsOf(","), std::vector<int>{});
    EXPECT_EQ(columnsOf("2,,21"), (std::vector<int>{2}));
    EXPECT_EQ(columnsOf("2,21,"), (std::vector<int>{2, 21}));
    EXPECT_EQ(columnsOf("21,21"), (std::vector<int>{21, 21}));
}

TEST(PropertyList, convertsFieldsByTheCRule) {
    bool clamped = true;
    EXPECT_EQ(columnNumber(" 9", clamped), 9);
    EXPECT_FALSE(clamped);
    EXPECT_EQ(columnNumber("9a", clamped), 9);
    EXPECT_EQ(columnNumber("abc", clamped), 0);
    EXPECT_EQ(columnNumber("  -3", clamped), -3);
    EXPECT_EQ(columnNumber("+7", clamped), 7);
    EXPECT_EQ(columnNumber("- 7", clamped), 0);
    EXPECT_EQ(columnNumber("   ", clamped), 0);
    EXPECT_EQ(columnNumber("2147483647", clamped), INT_MAX);
    EXPECT_FALSE(clamped);
    EXPECT_EQ(columnNumber("-2147483648", clamped), INT_MIN);
    EXPECT_FALSE(clamped);
}

TEST(PropertyList, clampsNumbersOutOfRangeAndNamesThem) {
    bool clamped = false;
    EXPECT_EQ(columnNumber("2147483648", clamped), INT_MAX);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(columnNumber("-99999999999999999999999999", clamped), INT_MIN);
    EXPECT_TRUE(clamped);
    CCore core;
    PropertyColumns columns = propertyColumns("1,99999999999,2", core);
    EXPECT_EQ(columns.numbers, (std::vector<int>{1, INT_MAX, 2}));
    EXPECT_EQ(columns.clampedFields, std::vector<std::string>{"99999999999"});
}

}  // namespace
