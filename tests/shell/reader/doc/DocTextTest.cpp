#include "DocText.h"
#include "DocTextFeeder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OleFixture.h"

namespace {

std::string le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    return out;
}

std::string utf16(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text)
        out += le(unit, 2);
    return out;
}

std::string feedBytes(const std::string& text, std::uint16_t codePage = 1252) {
    DocTextFeeder feeder(codePage);
    if (!feeder.feedBytes(text))
        feeder.endText();
    return feeder.text();
}

// One piece of a made-up document: its characters, stored 8-bit (1252) or as UTF-16.
struct TestPiece {
    std::string bytes;
    bool compressed;
    std::size_t characters() const { return compressed ? bytes.size() : bytes.size() / 2; }
};

// Not on a sector boundary: the text runs across one.
constexpr std::size_t kTextAt = 0x7F0;
constexpr std::uint16_t kEncrypted = 0x0100;
constexpr std::uint16_t kTable1 = 0x0200;

// A Word 97 document: the FIB, then the pieces' text from kTextAt; the piece table in
// 0Table or 1Table (as flags say), after a formatting entry, as Word writes it.
struct Word97Doc {
    explicit Word97Doc(std::vector<TestPiece> pieces, std::uint16_t flags = 0)
        : pieces(std::move(pieces)), flags(flags) {}

    std::vector<TestPiece> pieces;
    std::uint16_t flags;
    std::optional<std::uint32_t> mainCharacters;  // all of the text when not given
    std::size_t streamBytes = 0;                  // the WordDocument stream padded to this length
    std::string clxOverride;

    std::string clx() const {
        std::string positions = le(0, 4);
        std::string descriptors;
        std::size_t cp = 0;
        std::size_t at = kTextAt;
        for (const TestPiece& piece : pieces) {
            cp += piece.characters();
            positions += le(cp, 4);
            descriptors += le(0, 2) + le(piece.compressed ? 0x40000000 | at * 2 : at, 4) + le(0, 2);
            at += piece.bytes.size();
        }
        std::string table = positions + descriptors;
        return "\x01" + le(3, 2) + "abc" + "\x02" + le(table.size(), 4) + table;
    }

    std::string bytes() const {
        std::string text;
        std::size_t characters = 0;
        for (const TestPiece& piece : pieces) {
            text += piece.bytes;
            characters += piece.characters();
        }
        std::string fib(kTextAt, '\0');
        std::string clxBytes = clxOverride.empty() ? clx() : clxOverride;
        auto put = [&fib](std::size_t at, const std::string& value) {
            fib.replace(at, value.size(), value);
        };
        put(0x00, le(0xA5EC, 2));
        put(0x02, le(193, 2));
        put(0x0A, le(flags, 2));
        put(0x20, le(14, 2));
        put(0x3E, le(22, 2));
        put(0x4C, le(mainCharacters.value_or(characters), 4));
        put(0x98, le(93, 2));
        put(0x1A2, le(16, 4));
        put(0x1A6, le(clxBytes.size(), 4));
        std::string table = std::string(16, '\0') + clxBytes;
        // The other table stream holds a piece table that must not be read.
        std::string decoy = std::string(16, '\0') + Word97Doc({{"Wrong\r", true}}).clx();
        bool one = flags & kTable1;
        std::string wordDocument = fib + text;
        wordDocument.resize(std::max(wordDocument.size(), streamBytes), '\0');
        return makeOleFile({{"WordDocument", wordDocument},
                            {"0Table", one ? decoy : table},
                            {"1Table", one ? table : decoy}});
    }
};

std::string firstParagraph(const std::string& file) {
    MemorySource source(file.data(), file.size());
    return docFirstParagraph(source);
}

}  // namespace

TEST(DocTextFeeder, paragraphsFieldsAndSpecialCharacters) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Title\rBody\r", "Title"},
        {"\r\x07"
         "Cell\x07"
         "Next\x07\x07",
         "Cell"},
        {"First\x0c"
         "Second\r",
         "First"},
        {"\x13 TITLE \\* MERGEFORMAT \x14Result\x15 kept\r", "Result kept"},
        {"\x13 PAGE \x15"
         "After\r",
         "After"},
        // A field inside an instruction is part of it; one inside a result is shown.
        {"\x13 IF \x13 DOCPROPERTY A \x14inner\x15 = 1 \x14Yes\x15\r", "Yes"},
        {"\x13 A \x14Out \x13 B \x14in\x15 end\x15\r", "Out in end"},
        {"A\x01"
         "b\x08"
         "c\x05"
         "d\x02\x1f"
         "e\x1e"
         "f\tg\r",
         "Abcde-f g"},
        {"\x13 HYPERLINK \"x\r", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(feedBytes(c.text), c.expected) << c.text;
    EXPECT_EQ(feedBytes("\xcf\xf0\xe8\xe2\xe5\xf2\r", 1251), "Привет");
}

TEST(DocTextFeeder, utf16AcrossPartsAndPieces) {
    // A surrogate pair split between two parts of one piece stays one character.
    std::string text = utf16(u"中文 \U0001F600 end\r");
    DocTextFeeder feeder(1252);
    EXPECT_FALSE(feeder.feedUtf16(text.substr(0, 8)));
    EXPECT_TRUE(feeder.feedUtf16(text.substr(8)));
    EXPECT_EQ(feeder.text(), "中文 \U0001F600 end");
}

TEST(DocText, readsMixedPiecesFromTheTableStreamTheFibNames) {
    // Small streams lie in the mini stream, large ones in sectors of their own.
    for (std::size_t streamBytes : {0, 64 << 10}) {
        for (std::uint16_t flags : {std::uint16_t{0}, kTable1}) {
            Word97Doc doc({{"Caf\xe9 ", true}, {utf16(u"世界\rSecond\r"), false}}, flags);
            doc.streamBytes = streamBytes;
            EXPECT_EQ(firstParagraph(doc.bytes()), "Café 世界") << flags << " " << streamBytes;
        }
    }
}

TEST(DocText, onlyTheMainTextCounts) {
    // The main text is one empty paragraph; a footnote's text follows it.
    Word97Doc doc({{"\rFootnote\r", true}});
    doc.mainCharacters = 1;
    EXPECT_EQ(firstParagraph(doc.bytes()), "");
}

TEST(DocText, encryptedOrDamagedDocumentsGiveNoText) {
    Word97Doc encrypted({{"Secret\r", true}}, kEncrypted);
    EXPECT_EQ(firstParagraph(encrypted.bytes()), "");

    std::string goingBack = "\x02" + le(28, 4) + le(0, 4) + le(8, 4) + le(4, 4) + le(0, 2) +
                            le(0x40000000 | kTextAt * 2, 4) + le(0, 2) + le(0, 2) +
                            le(0x40000000 | kTextAt * 2, 4) + le(0, 2);
    std::string pastTheStream = "\x02" + le(16, 4) + le(0, 4) + le(7, 4) + le(0, 2) +
                                le(0x40000000 | 0x3FFFFFF0, 4) + le(0, 2);
    std::string hugeCount = "\x02" + le(0x7FFFFFF0, 4) + le(0, 4);
    std::string propertiesOnly = "\x01" + le(0xFFFF, 2);
    for (const std::string& clx : {goingBack, pastTheStream, hugeCount, propertiesOnly}) {
        Word97Doc damaged({{"Visible\r", true}});
        damaged.clxOverride = clx;
        EXPECT_EQ(firstParagraph(damaged.bytes()), "");
    }
}

TEST(DocText, readsAWord6DocumentInTheCodePageOfItsSummaryOrElseItsLanguage) {
    // Russian text marked English, as Word of those years often left it, in a document
    // whose summary was written in 1251; and a Russian one without summary.
    struct Case {
        std::uint16_t language;
        std::optional<std::uint16_t> summaryCodePage;
    } cases[] = {{0x0409, 1251}, {0x0419, std::nullopt}};
    for (const Case& c : cases) {
        std::string fib(0x300, '\0');
        auto put = [&fib](std::size_t at, const std::string& value) {
            fib.replace(at, value.size(), value);
        };
        std::string text = "\r\xcf\xf0\xe8\xe2\xe5\xf2\r";
        put(0x00, le(0xA5DC, 2));
        put(0x02, le(101, 2));
        put(0x06, le(c.language, 2));
        put(0x18, le(fib.size(), 4));
        put(0x34, le(text.size(), 4));
        OleStreams streams{{"WordDocument", fib + text}};
        if (c.summaryCodePage)
            streams["\005SummaryInformation"] =
                propertySetStream(kSummaryFormatId, {{1, 2, le(*c.summaryCodePage, 2)}});
        EXPECT_EQ(firstParagraph(makeOleFile(streams)), "Привет") << c.language;
    }
}
