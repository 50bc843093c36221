#include "DocxFixture.h"

#include <zip.h>

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

void element(std::string& xml, const std::string& name, const std::string& value,
             const std::string& attributes = {}) {
    if (value.empty())
        return;
    xml += "<" + name + attributes + ">" + escaped(value) + "</" + name + ">";
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
    const std::string w3cdtf = " xsi:type=\"dcterms:W3CDTF\"";
    element(xml, "dc:title", content.title);
    element(xml, "dc:subject", content.subject);
    element(xml, "dc:creator", content.creator);
    element(xml, "cp:keywords", content.keywords);
    element(xml, "dc:description", content.description);
    element(xml, "cp:category", content.category);
    element(xml, "cp:lastModifiedBy", content.lastModifiedBy);
    element(xml, "cp:revision", content.revision);
    element(xml, "cp:lastPrinted", content.lastPrinted);
    element(xml, "dcterms:created", content.created, w3cdtf);
    element(xml, "dcterms:modified", content.modified, w3cdtf);
    return xml + "</cp:coreProperties>";
}

std::string appXml(const DocxContent& content) {
    std::string xml = kXmlDeclaration;
    xml +=
        "<Properties "
        "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">";
    element(xml, "Template", content.templateName);
    element(xml, "TotalTime", content.totalTime);
    element(xml, "Pages", content.pages);
    element(xml, "Words", content.words);
    element(xml, "Characters", content.characters);
    element(xml, "Application", content.application);
    element(xml, "Manager", content.manager);
    element(xml, "Company", content.company);
    return xml + "</Properties>";
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
        "officeDocument\" Target=\"word/document.xml\"/>";
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
        "<w:body><w:p><w:r><w:t>" +
        escaped(content.title) + "</w:t></w:r></w:p></w:body></w:document>";

    std::vector<ZipPart> parts{
        {"[Content_Types].xml", types}, {"_rels/.rels", rels}, {"word/document.xml", body}};
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
