#include "DocxText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DocxFixture.h"
#include "TempDir.h"

namespace {

constexpr const char* kWordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// Counts the bytes a reader takes from the document.
class CountingSource : public ByteSource {
  public:
    explicit CountingSource(const std::string& bytes) : m_memory(bytes.data(), bytes.size()) {}
    std::uint64_t size() const override { return m_memory.size(); }
    bool read(std::uint64_t offset, std::size_t length, std::string& out) override {
        m_read += length;
        return m_memory.read(offset, length, out);
    }
    std::uint64_t bytesRead() const { return m_read; }

  private:
    MemorySource m_memory;
    std::uint64_t m_read = 0;
};

class DocxTextTest : public ::testing::Test {
  protected:
    std::string packageOf(const std::vector<ZipPart>& parts) {
        writeZip(m_dir.file("d.docx"), parts);
        return readFile(m_dir.file("d.docx"));
    }
    std::string packageWithBody(const std::string& bodyXml) {
        DocxContent content;
        content.bodyXml = bodyXml;
        return packageOf(docxParts(content));
    }
    std::string textOf(const std::string& package) {
        CountingSource source(package);
        std::string text = docxFirstParagraph(source);
        m_bytesRead = source.bytesRead();
        return text;
    }

    TempDir m_dir;
    std::uint64_t m_bytesRead = 0;
};

std::string paragraph(const std::string& runs) {
    return "<w:p>" + runs + "</w:p>";
}

std::string run(const std::string& text) {
    return "<w:r><w:t>" + text + "</w:t></w:r>";
}

std::string fieldCharacter(const char* type) {
    return std::string("<w:r><w:fldChar w:fldCharType=\"") + type + "\"/></w:r>";
}

struct Case {
    const char* what;
    std::string body;
    std::string expected;
};

}  // namespace

TEST_F(DocxTextTest, takesOnlyTheMainTextOfTheBody) {
    const std::string textBox = "<w:txbxContent>" + paragraph(run("Box")) + "</w:txbxContent>";
    const std::vector<Case> cases = {
        {"a complex field's result, not its instruction",
         paragraph(fieldCharacter("begin") + "<w:r><w:instrText>TITLE</w:instrText></w:r>" +
                   fieldCharacter("separate") + run("Result") + fieldCharacter("end")),
         "Result"},
        {"a nested field inside an instruction stays out",
         paragraph(fieldCharacter("begin") + fieldCharacter("begin") + run("inner") +
                   fieldCharacter("separate") + run("x") + fieldCharacter("end") +
                   fieldCharacter("separate") + run("Outer") + fieldCharacter("end")),
         "Outer"},
        {"a simple field's result",
         paragraph("<w:fldSimple w:instr=\" TITLE \">" + run("Simple") + "</w:fldSimple>"),
         "Simple"},
        {"deleted and moved-away text",
         paragraph("<w:del><w:r><w:delText>Old</w:delText></w:r></w:del>"
                   "<w:moveFrom>" +
                   run("Gone") + "</w:moveFrom><w:ins>" + run("New") + "</w:ins>"),
         "New"},
        {"text boxes, in alternate content or not",
         paragraph("<w:r><mc:AlternateContent><mc:Choice>" + run("Shape") + "<w:drawing>" +
                   textBox + "</w:drawing></mc:Choice><mc:Fallback><w:pict>" + textBox +
                   "</w:pict></mc:Fallback></mc:AlternateContent></w:r>"
                   "<w:r><w:pict>" +
                   textBox + "</w:pict></w:r>" + run("Main")),
         "Main"},
        {"a table cell is a paragraph",
         "<w:tbl><w:tr><w:tc>" + paragraph("") + "</w:tc><w:tc>" + paragraph(run("Cell")) +
             "</w:tc></w:tr></w:tbl>",
         "Cell"},
        {"references, CDATA and comments",
         paragraph("<w:r><w:t xml:space=\"preserve\">R&amp;D &#x4E2D;&#25991; &lt;x&gt;</w:t>"
                   "<!-- <w:t>no</w:t> --><w:t><![CDATA[ & more]]></w:t></w:r>"),
         "R&D 中文 <x> & more"},
        {"tabs, hyphens and breaks in runs",
         paragraph("<w:r><w:t>A</w:t><w:tab/><w:t>B</w:t><w:noBreakHyphen/><w:t>C</w:t>"
                   "<w:softHyphen/><w:sym w:char=\"F04A\"/><w:t>D</w:t><w:br/><w:t>E</w:t></w:r>"),
         "A B-CD"},
        {"a ruby's base, not its reading",
         paragraph("<w:r><w:ruby><w:rt>" + run("とうきょう") + "</w:rt><w:rubyBase>" + run("東京") +
                   "</w:rubyBase></w:ruby></w:r>"),
         "東京"},
        {"paragraphs without a letter pass", paragraph(run("2024")) + paragraph(run("Title")),
         "Title"},
        {"text split over runs and pieces of markup",
         paragraph(run("Ann") + "<w:proofErr w:type=\"spellStart\"/>" + run("ual") +
                   "<w:bookmarkStart w:id=\"0\" w:name=\"a\"/>" + run(" report")),
         "Annual report"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textOf(packageWithBody(c.body)), c.expected) << c.what;
}

// The prefix is whatever the part binds to the namespace, in its transitional or strict form,
// and the main part is wherever the relationships say.
TEST_F(DocxTextTest, findsTheMainPartAndItsNamespaceAsDeclared) {
    std::vector<ZipPart> parts = docxParts(DocxContent{});
    for (ZipPart& part : parts) {
        if (part.name == "_rels/.rels") {
            std::size_t at = part.content.find("word/document.xml");
            part.content.replace(at, 17, "/content/main.xml");
        } else if (part.name == "word/document.xml") {
            part.name = "content/main.xml";
            part.content =
                "<x:document xmlns:w=\"urn:other\" "
                "xmlns:x=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><x:body>"
                "<w:p><w:r><w:t>Not this</w:t></w:r></w:p>"
                "<x:p><x:r><x:t>Strict</x:t></x:r></x:p></x:body></x:document>";
        }
    }
    parts.push_back({"word/document.xml", "<w:document xmlns:w=\"" + std::string(kWordNamespace) +
                                              "\"><w:body>" + paragraph(run("Default place")) +
                                              "</w:body></w:document>"});
    EXPECT_EQ(textOf(packageOf(parts)), "Strict");
}

// A spreadsheet or a presentation is a package too: its main part's root says it has no text,
// whatever word-processing markup it may carry.
TEST_F(DocxTextTest, takesNoTextFromAPackageWhoseMainPartIsNoDocument) {
    DocxContent content;
    content.mainPart = "xl/workbook.xml";
    content.mainXml =
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:w=\"" +
        std::string(kWordNamespace) + "\">" + paragraph(run("Cell")) + "</workbook>";
    EXPECT_EQ(textOf(packageOf(docxParts(content))), "");
}

TEST_F(DocxTextTest, findsAParagraphAfterManyEmptyOnes) {
    std::string body;
    for (int i = 0; i < 20000; ++i)
        body += "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr></w:p>";
    EXPECT_EQ(textOf(packageWithBody(body + paragraph(run("Late title")))), "Late title");
}

// A large main part costs what was read up to its first paragraph, and no more than the cap.
TEST_F(DocxTextTest, readsABoundedAmountOfALargeMainPart) {
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < (8 << 20); ++i)
        noise += static_cast<char>('a' + random() % 26);
    std::string early = paragraph(run("Early")) + paragraph(run(noise));
    EXPECT_EQ(textOf(packageWithBody(early)), "Early");
    EXPECT_LT(m_bytesRead, 256u << 10);

    // Stored, so that what is read from the file is the XML itself.
    std::string digits;
    for (int i = 0; i < (1 << 20); ++i)
        digits += paragraph(run("123"));
    DocxContent content;
    content.bodyXml = digits + paragraph(run("Too late"));
    std::vector<ZipPart> parts = docxParts(content);
    for (ZipPart& part : parts)
        part.compressed = part.name != "word/document.xml";
    EXPECT_EQ(textOf(packageOf(parts)), "");
    EXPECT_LT(m_bytesRead, kMaxMainPartXmlBytes + (256u << 10));
}
