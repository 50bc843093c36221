#include "ColumnText.h"

#include <gtest/gtest.h>

#include <string>

#include "ChinaTime.h"

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
