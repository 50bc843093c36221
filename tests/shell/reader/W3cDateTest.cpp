#include "W3cDate.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// 2024-05-03 06:22:00 UTC
constexpr std::int64_t kMay3 = 1714717320;

}  // namespace

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
