#include "FirstParagraph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A paragraph as pieces of text; "\n" in a piece is a manual line break.
using Paragraph = std::vector<std::string>;

std::string firstParagraph(const std::vector<Paragraph>& paragraphs) {
    FirstParagraph first;
    for (const Paragraph& paragraph : paragraphs) {
        for (const std::string& piece : paragraph) {
            std::size_t start = 0;
            for (std::size_t at; (at = piece.find('\n', start)) != std::string::npos;) {
                first.append(piece.substr(start, at - start));
                first.lineBreak();
                start = at + 1;
            }
            first.append(piece.substr(start));
        }
        if (first.endParagraph())
            break;
    }
    return first.text();
}

struct Case {
    const char* what;
    std::vector<Paragraph> paragraphs;
    std::string expected;
};

}  // namespace

TEST(FirstParagraph, takesTheFirstParagraphWithALetterOrIdeographCleaned) {
    const std::string sixtyFour(64, 'x');
    const std::string han64 = [] {
        std::string text;
        for (int i = 0; i < 64; ++i)
            text += "字";
        return text;
    }();
    const std::vector<Case> cases = {
        {"plain", {{"Annual report"}}, "Annual report"},
        {"runs split over pieces", {{"Ann", "ual ", " re", "port"}}, "Annual report"},
        {"empty, blank, digits and punctuation pass",
         {{}, {"   "}, {"2023-01-01"}, {"***"}, {"§ 1."}, {"①"}, {"Title"}},
         "Title"},
        {"an ideograph is enough", {{"12"}, {"第3章"}}, "第3章"},
        {"kana and hangul", {{"にほんご"}}, "にほんご"},
        {"Cyrillic", {{"Отчёт"}}, "Отчёт"},
        {"blank runs of any kind", {{"\t A\u00a0\u3000 b \u2003c "}}, "A b c"},
        {"invisible characters vanish", {{"Ti\u00adt\u200ble\xef\xbb\xbf"}}, "Title"},
        {"cut at the first line break", {{"Chapter 1\nIntroduction"}}, "Chapter 1"},
        {"lines without a letter before it pass", {{"\n1.\n  Introduction\nmore"}}, "Introduction"},
        {"a line separator breaks too", {{"One\u2028Two"}}, "One"},
        {"at most 64 characters", {{sixtyFour + "yz"}}, sixtyFour},
        {"64 ideographs, never half a character", {{han64 + "字"}}, han64},
        {"a blank at the cut is dropped", {{std::string(63, 'a') + " b"}}, std::string(63, 'a')},
        {"trailing punctuation and blanks", {{"Minutes:  ...  "}}, "Minutes"},
        {"Chinese trailing punctuation", {{"会议纪要："}, {}}, "会议纪要"},
        {"closing brackets and quotes stay", {{"Report (draft)"}}, "Report (draft)"},
        {"a closing full-width bracket stays", {{"《标题》"}}, "《标题》"},
        {"symbols stay", {{"C++"}}, "C++"},
        {"a letter past the cut still counts", {{std::string(70, '-') + "a"}, {"Next"}}, "Next"},
        {"ill-formed bytes are no letters", {{"\xff\xfe"}, {"ok"}}, "ok"},
        {"no paragraph at all", {{"123"}, {"--"}}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstParagraph(c.paragraphs), c.expected) << c.what;
}

TEST(FirstParagraph, ignoresWhatFollowsOnceFound) {
    FirstParagraph first;
    first.append("First");
    EXPECT_FALSE(first.found());
    EXPECT_TRUE(first.endParagraph());
    first.append("Second");
    EXPECT_TRUE(first.endParagraph());
    EXPECT_EQ(first.text(), "First");
}
