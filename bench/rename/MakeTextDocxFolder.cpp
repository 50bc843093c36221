// Writes a folder of generated .docx documents whose title is empty, so a rename with
// --text-title takes each name from the text:
//   tarnel_make_text_docx_folder FOLDER COUNT [MAIN_PART_BYTES]
// Each main part holds about MAIN_PART_BYTES (default 300 KiB) of the markup a word
// processor writes: paragraphs of mixed Chinese and Latin text in runs with their own
// formatting. It opens with an empty paragraph and a heading of its own, so the title is
// found near the start of a large part, as in a real document.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "DocxFixture.h"

namespace {

// Common characters, so the text compresses about as well as real Chinese prose.
constexpr std::string_view kChinese =
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能"
    "下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量"
    "都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重"
    "新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已"
    "通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将"
    "组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造百规热"
    "领七海口东导器压志世金增争济阶油思术极交受联什认六共权收证改清己美再采转更单风切打白教速花带"
    "安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集温传土许步"
    "群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技备"
    "半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候毛亲快效斯院";
constexpr std::string_view kLatin[] = {"report",   "budget",  "Tarnel",   "project", "meeting",
                                       "2024",     "Q3",      "plan",     "review",  "contract",
                                       "version",  "draft",   "appendix", "PDF",     "Excel",
                                       "ISO 9001", "GB 7714", "OK"};

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else
            out += c;
    }
    return out;
}

class TextMaker {
  public:
    explicit TextMaker(unsigned seed) : m_engine(seed) {}

    std::string chinese(int characters) {
        std::string text;
        std::uniform_int_distribution<std::size_t> pick(0, kChinese.size() / 3 - 1);
        for (int i = 0; i < characters; ++i)
            text += kChinese.substr(pick(m_engine) * 3, 3);
        return text;
    }

    std::string latin() {
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kLatin) - 1);
        return std::string(" ") + std::string(kLatin[pick(m_engine)]) + " ";
    }

    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }

  private:
    std::mt19937 m_engine;
};

std::string run(const std::string& text, bool latin) {
    std::string xml = "<w:r w:rsidRPr=\"00A1B2C3\"><w:rPr>";
    xml += latin ? "<w:rFonts w:ascii=\"Calibri\" w:hAnsi=\"Calibri\"/>"
                 : "<w:rFonts w:hint=\"eastAsia\"/>";
    xml += "<w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/></w:rPr><w:t xml:space=\"preserve\">";
    return xml + escaped(text) + "</w:t></w:r>";
}

std::string paragraph(const std::string& runs, const char* style) {
    std::string xml = "<w:p w:rsidR=\"00D4E5F6\" w:rsidRDefault=\"00D4E5F6\"><w:pPr>";
    if (style)
        xml += std::string("<w:pStyle w:val=\"") + style + "\"/>";
    xml +=
        "<w:spacing w:line=\"360\" w:lineRule=\"auto\"/><w:ind w:firstLineChars=\"200\"/></w:pPr>";
    return xml + runs + "</w:p>";
}

std::string mainPart(long index, std::size_t bytes) {
    TextMaker maker(static_cast<unsigned>(index));
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
    xml += paragraph({}, nullptr);
    xml += paragraph(run("第 " + std::to_string(index) + " 号", false) + run(maker.latin(), true) +
                         run(maker.chinese(maker.between(6, 14)), false),
                     "1");
    while (xml.size() < bytes) {
        std::string runs;
        for (int part = maker.between(2, 8); part > 0; --part) {
            runs += run(maker.chinese(maker.between(10, 60)), false);
            runs += run(maker.latin(), true);
        }
        xml += paragraph(runs, nullptr);
    }
    return xml +
           "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" "
           "w:right=\"1800\" w:bottom=\"1440\" w:left=\"1800\"/></w:sectPr></w:body></w:document>";
}

// The fixture's content types name no main document; a word processor needs it to open
// the package, and the .doc of run.sh is made by one.
const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/docProps/core.xml\" "
    "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
    "<Override PartName=\"/docProps/app.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
    "</Types>";

}  // namespace

int main(int argc, char** argv) {
    long count = argc > 2 ? std::atol(argv[2]) : 0;
    std::size_t bytes = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 300 * 1024;
    if (argc < 3 || argc > 4 || count < 1) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT [MAIN_PART_BYTES]\n", argv[0]);
        return 2;
    }
    DocxContent content;
    content.creator = "基准";
    content.modified = "2024-05-06T07:08:09Z";
    std::vector<ZipPart> parts = docxParts(content);
    for (long i = 0; i < count; ++i) {
        for (ZipPart& part : parts) {
            if (part.name == "[Content_Types].xml")
                part.content = kContentTypes;
            else if (part.name == "word/document.xml")
                part.content = mainPart(i, bytes);
        }
        writeZip(std::string(argv[1]) + "/text" + std::to_string(i) + ".docx", parts);
    }
    return 0;
}
