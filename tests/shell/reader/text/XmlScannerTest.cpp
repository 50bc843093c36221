#include "XmlScanner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes down every event as one line, texts of one run joined.
class Transcript : public XmlScanner::Handler {
  public:
    void startElement(const XmlScanner::Tag& tag) override {
        m_lines += "<" + std::string(tag.name);
        tag.forEachAttribute([&](std::string_view name, const std::string& value) {
            m_lines += " " + std::string(name) + "=" + value;
        });
        m_lines += ">\n";
    }
    void endElement(std::string_view name) override { m_lines += "</" + std::string(name) + ">\n"; }
    void text(std::string_view data) override {
        if (m_lines.ends_with("\n"))
            m_lines += "text:";
        else
            m_lines.pop_back();  // the ";" closing the run so far
        m_lines += std::string(data) + ";";
    }
    const std::string& lines() const { return m_lines; }

  private:
    std::string m_lines;
};

std::string scanInPieces(std::string_view document, std::size_t pieceBytes) {
    Transcript transcript;
    XmlScanner scanner(transcript);
    for (std::size_t at = 0; at < document.size(); at += pieceBytes)
        EXPECT_TRUE(scanner.feed(document.substr(at, pieceBytes)));
    return transcript.lines();
}

}  // namespace

// Each construct gives the same events whatever the pieces are cut, inside a tag, a
// reference or a CDATA section's end included.
TEST(XmlScanner, givesTheSameEventsHoweverTheInputIsCut) {
    const std::string document =
        "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY e \"x>\">]>"
        "<w:d xmlns:w=\"urn:w\" a='1 > 0'><!-- <w:t>no</w:t> -->"
        "<w:t>R&amp;D &#x4E2D;&#25991; &lt;&unknown; &#0;</w:t>"
        "<w:br/><w:t><![CDATA[a]]b<c>]]></w:t><?pi x?></w:d>";
    const std::string expected =
        "<w:d xmlns:w=urn:w a=1 > 0>\n"
        "<w:t>\ntext:R&D 中文 <&unknown; \xEF\xBF\xBD;</w:t>\n"
        "<w:br>\n</w:br>\n"
        "<w:t>\ntext:a]]b<c>;</w:t>\n"
        "</w:d>\n";
    EXPECT_EQ(scanInPieces(document, document.size()), expected);
    for (std::size_t pieceBytes = 1; pieceBytes < 24; ++pieceBytes)
        EXPECT_EQ(scanInPieces(document, pieceBytes), expected) << pieceBytes;
}

TEST(XmlScanner, givesUpOnAConstructLargerThanItsBound) {
    Transcript transcript;
    XmlScanner scanner(transcript);
    ASSERT_TRUE(scanner.feed("<a><b c=\""));
    const std::string filler(64u << 10, 'x');
    bool reading = true;
    for (std::size_t fed = 0; reading && fed <= 2 * XmlScanner::kMaxMarkupBytes;
         fed += filler.size())
        reading = scanner.feed(filler);
    EXPECT_FALSE(reading);
    EXPECT_FALSE(scanner.feed("\"/></a>"));
    EXPECT_EQ(transcript.lines(), "<a>\n");
}
