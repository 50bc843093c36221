#include "W3cDate.h"

#include <cctype>

namespace {

// Reads exactly digits decimal digits at text[at...].
bool digitsAt(std::string_view text, std::size_t& at, int digits, int& value) {
    if (text.size() - at < static_cast<std::size_t>(digits))
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i, ++at) {
        if (!std::isdigit(static_cast<unsigned char>(text[at])))
            return false;
        value = value * 10 + (text[at] - '0');
    }
    return true;
}

bool charAt(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
std::int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = static_cast<int>(year - era * 400);
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::int64_t> parseW3cDate(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);

    std::size_t at = 0;
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    if (!digitsAt(text, at, 4, year))
        return std::nullopt;
    if (charAt(text, at, '-') && (++at, !digitsAt(text, at, 2, month)))
        return std::nullopt;
    if (charAt(text, at, '-') && (++at, !digitsAt(text, at, 2, day)))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;

    std::int64_t offsetSeconds = 0;
    if (charAt(text, at, 'T')) {
        ++at;
        if (!digitsAt(text, at, 2, hour) || !charAt(text, at++, ':') ||
            !digitsAt(text, at, 2, minute))
            return std::nullopt;
        if (charAt(text, at, ':') && (++at, !digitsAt(text, at, 2, second)))
            return std::nullopt;
        if (charAt(text, at, '.')) {
            ++at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
                ++at;
        }
        // 24:00:00 is the end of the day; a leap second counts as the last one.
        if (hour > 24 || minute > 59 || second > 60 || (hour == 24 && (minute || second)))
            return std::nullopt;
        if (charAt(text, at, 'Z')) {
            ++at;
        } else if (charAt(text, at, '+') || charAt(text, at, '-')) {
            int sign = text[at++] == '-' ? -1 : 1, zoneHours = 0, zoneMinutes = 0;
            if (!digitsAt(text, at, 2, zoneHours) || !charAt(text, at++, ':') ||
                !digitsAt(text, at, 2, zoneMinutes) || zoneHours > 14 || zoneMinutes > 59)
                return std::nullopt;
            offsetSeconds = sign * (zoneHours * 3600 + zoneMinutes * 60);
        }
    }
    if (at != text.size())
        return std::nullopt;
    return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 +
           (second == 60 ? 59 : second) - offsetSeconds;
}
