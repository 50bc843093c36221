#include "ColumnText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ChinaTime.h"
#include "ColumnTable.h"
#include "W3cDate.h"

namespace {

// 2024-05-03 06:22:00 UTC
constexpr std::int64_t kMay3 = 1714717320;

}  // namespace

TEST(SizeText, givesBytesBelowOneKilobyte) {
    EXPECT_EQ(formatSize(0), "0 字节");
    EXPECT_EQ(formatSize(512), "512 字节");
    EXPECT_EQ(formatSize(1023), "1023 字节");
}

TEST(SizeText, keepsThreeSignificantDigitsTruncated) {
    EXPECT_EQ(formatSize(1024), "1.00 KB");
    EXPECT_EQ(formatSize(1331), "1.29 KB");  // 1.2998 KB
    EXPECT_EQ(formatSize(1332), "1.30 KB");
    EXPECT_EQ(formatSize(23450), "22.9 KB");
    EXPECT_EQ(formatSize(102399), "99.9 KB");
    EXPECT_EQ(formatSize(102400), "100 KB");
    EXPECT_EQ(formatSize(240640), "235 KB");
    EXPECT_EQ(formatSize(1258292), "1.20 MB");
    EXPECT_EQ(formatSize(2390754), "2.28 MB");
    EXPECT_EQ(formatSize(5ull << 30), "5.00 GB");
}

TEST(SizeText, movesToTheNextUnitFromAThousand) {
    EXPECT_EQ(formatSize(1000 * 1024 - 1), "999 KB");
    EXPECT_EQ(formatSize(1000 * 1024), "0.97 MB");
    EXPECT_EQ(formatSize(UINT64_MAX), "15.9 EB");
}

TEST(TimeText, givesLocalDateAndTimeToTheMinute) {
    ChinaTime china;
    EXPECT_EQ(formatLocalTime(kMay3), "2024/5/3 14:22");
    EXPECT_EQ(formatLocalTime(kMay3 + 59), "2024/5/3 14:22");
    EXPECT_EQ(formatLocalTime(kMay3 - 14 * 3600 - 22 * 60 + 5 * 60), "2024/5/3 0:05");
    EXPECT_EQ(formatLocalTime(1733011200), "2024/12/1 8:00");
}

TEST(DurationText, givesHoursMinutesAndSeconds) {
    EXPECT_EQ(formatDuration(0), "00:00:00");
    EXPECT_EQ(formatDuration(3900), "01:05:00");
    EXPECT_EQ(formatDuration(100 * 3600 + 59), "100:00:59");
    EXPECT_EQ(formatDuration(-1), "");
}

TEST(PackageDate, readsUtcZonedFractionalAndDateOnlyTimes) {
    EXPECT_EQ(parseW3cDate("2024-05-03T06:22:00Z"), kMay3);
    EXPECT_EQ(parseW3cDate(" 2024-05-03T14:22:00+08:00 "), kMay3);
    EXPECT_EQ(parseW3cDate("2024-05-02T22:22:00.123-08:00"), kMay3);
    EXPECT_EQ(parseW3cDate("2024-05-03T06:22Z"), kMay3);
    EXPECT_EQ(parseW3cDate("2024-05-03"), kMay3 - 6 * 3600 - 22 * 60);
    EXPECT_EQ(parseW3cDate("1601-01-01T00:00:00Z"), -11644473600);
    EXPECT_EQ(parseW3cDate("2024-02-29T00:00:00Z"), 1709164800);
}

TEST(PackageDate, refusesWhatIsNotADate) {
    for (const char* text : {"", "yesterday", "2024-13-01", "2023-02-29", "2024-05-03T25:00Z",
                             "2024-05-03T06:22:00+08", "2024-05-03T06:22:00Zjunk", "2024-5-3",
                             "2024-05-03T", "99999-01-01"}) {
        EXPECT_FALSE(parseW3cDate(text).has_value()) << text;
    }
}

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
