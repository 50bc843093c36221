#include "DocxFixture.h"

#include <zip.h>

#include <initializer_list>
#include <stdexcept>

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

using Field = std::string DocxContent::*;
struct Element {
    const char* name;
    Field field;
};

// The elements of the fields that are set, in the order of the list.
void elements(std::string& xml, const DocxContent& content, std::initializer_list<Element> list,
              const std::string& attributes = {}) {
    for (const Element& element : list) {
        const std::string& value = content.*element.field;
        if (value.empty())
            continue;
        xml += std::string("<") + element.name + attributes + ">" + escaped(value) + "</" +
               element.name + ">";
    }
}

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

}  // namespace

std::string coreXml(const DocxContent& content) {
    std::string xml = kXmlDeclaration;
    xml +=
        "<cp:coreProperties "
        "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    elements(xml, content,
             {{"dc:title", &DocxContent::title},
              {"dc:subject", &DocxContent::subject},
              {"dc:creator", &DocxContent::creator},
              {"cp:keywords", &DocxContent::keywords},
              {"dc:description", &DocxContent::description},
              {"cp:category", &DocxContent::category},
              {"cp:lastModifiedBy", &DocxContent::lastModifiedBy},
              {"cp:revision", &DocxContent::revision},
              {"cp:lastPrinted", &DocxContent::lastPrinted}});
    elements(
        xml, content,
        {{"dcterms:created", &DocxContent::created}, {"dcterms:modified", &DocxContent::modified}},
        " xsi:type=\"dcterms:W3CDTF\"");
    return xml + "</cp:coreProperties>";
}

std::string appXml(const DocxContent& content) {
    std::string xml = kXmlDeclaration;
    xml +=
        "<Properties "
        "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">";
    elements(xml, content,
             {{"Template", &DocxContent::templateName},
              {"TotalTime", &DocxContent::totalTime},
              {"Pages", &DocxContent::pages},
              {"Slides", &DocxContent::slides},
              {"Words", &DocxContent::words},
              {"Characters", &DocxContent::characters},
              {"Application", &DocxContent::application},
              {"Manager", &DocxContent::manager},
              {"Company", &DocxContent::company}});
    return xml + "</Properties>";
}

DocxContent sampleDocxContent() {
    DocxContent content;
    content.title = "年度报告, 第二版";
    content.subject = "财务";
    content.creator = "张三; 李四";
    content.keywords = "预算; 计划";
    content.description = "内部 & 机密";
    content.category = "报告";
    content.lastModifiedBy = "王五";
    content.revision = "7";
    content.created = "2024-05-03T06:22:00Z";
    content.modified = "2024-05-04T14:22:00+08:00";
    content.lastPrinted = "2024-05-05T00:00:00Z";
    content.application = "Word Processor";
    content.company = "示例公司";
    content.manager = "赵六";
    content.templateName = "Normal.dotm";
    content.pages = "12";
    content.words = "3456";
    content.characters = "19876";
    content.totalTime = "65";
    return content;
}

std::vector<ZipPart> docxParts(const DocxContent& content) {
    std::string types = kXmlDeclaration;
    types +=
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
    std::string rels = kXmlDeclaration;
    rels +=
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"" +
        escaped(content.mainPart) + "\"/>";
    if (!content.corePart.empty()) {
        rels +=
            "<Relationship Id=\"rId2\" "
            "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
            "core-properties\" Target=\"/" +
            escaped(content.corePart) + "\"/>";
    }
    if (!content.appPart.empty()) {
        rels +=
            "<Relationship Id=\"rId3\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
            "extended-properties\" Target=\"" +
            escaped(content.appPart) + "\"/>";
    }
    rels += "</Relationships>";
    std::string body = kXmlDeclaration;
    body +=
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:body>" +
        (content.bodyXml.empty() ? "<w:p><w:r><w:t>" + escaped(content.title) + "</w:t></w:r></w:p>"
                                 : content.bodyXml) +
        "</w:body></w:document>";

    std::vector<ZipPart> parts{
        {"[Content_Types].xml", types},
        {"_rels/.rels", rels},
        {content.mainPart, content.mainXml.empty() ? body : content.mainXml}};
    if (!content.corePart.empty())
        parts.push_back({content.corePart, coreXml(content)});
    if (!content.appPart.empty())
        parts.push_back({content.appPart, appXml(content)});
    return parts;
}

void writeZip(const std::string& path, const std::vector<ZipPart>& parts) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        throw std::runtime_error("cannot create " + path);
    for (const ZipPart& part : parts) {
        // The parts outlive zip_close, which is when libzip reads them.
        zip_source_t* source = zip_source_buffer(zip, part.content.data(), part.content.size(), 0);
        zip_int64_t index =
            source ? zip_file_add(zip, part.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0 ||
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                     part.compressed ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) != 0) {
            if (source && index < 0)
                zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("cannot add " + part.name + " to " + path);
        }
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        throw std::runtime_error("cannot write " + path);
    }
}

void writeDocx(const std::string& path, const DocxContent& content) {
    writeZip(path, docxParts(content));
}
