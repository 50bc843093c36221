// On Linux narrow text is UTF-8; only a complete, valid sequence is one character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NarrowText.h"

namespace {

struct Step {
    std::string text;
    std::vector<std::size_t> lengths;  // of each character from the start
};

std::vector<std::size_t> walk(const std::string& text) {
    std::vector<std::size_t> lengths;
    for (std::size_t pos = 0; pos < text.size(); pos += lengths.back())
        lengths.push_back(narrow_text::charLength(text, pos));
    return lengths;
}

TEST(Utf8Walk, takesValidSequencesWholeAndEveryBrokenByteAlone) {
    const std::vector<Step> steps{
        {"a年\xF0\x9F\x98\x80", {1, 3, 4}},
        {"\xC2\x80\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", {2, 2, 3, 4}},  // range ends
        {"\xC0/x", {1, 1, 1}},  // lead without continuation
        {"\xC0\n", {1, 1}},
        {"\xC0\xAF\xC1\xBF", {1, 1, 1, 1}},                       // overlong two-byte forms
        {"\xE0\x80\xAF\xF0\x80\x80\xAF", {1, 1, 1, 1, 1, 1, 1}},  // overlong longer forms
        {"\xED\xA0\x80", {1, 1, 1}},                              // surrogate
        {"\xF4\x90\x80\x80\xF5\x80", {1, 1, 1, 1, 1, 1}},         // beyond U+10FFFF
        {"\x80\xBF", {1, 1}},                                     // lone continuation bytes
        {"\xE5\xB9", {1, 1}},                                     // cut off at the end
        {"\xE5\xB9/", {1, 1, 1}},
        {"\xF0\x9F\x98", {1, 1, 1}},
    };
    for (const Step& step : steps)
        EXPECT_EQ(walk(step.text), step.lengths) << testing::PrintToString(step.text);
}

}  // namespace
