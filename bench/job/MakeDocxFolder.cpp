// Writes a folder of generated Word documents for the job's benchmark:
//   tarnel_make_docx_folder [--doc] FOLDER COUNT [MEDIA_BYTES [DISTINCT]]
// Every document has its own title, author, subject and keywords: in a .docx package, or
// with --doc in the summary information of a .doc (code page 936, as Chinese Word writes
// it). With MEDIA_BYTES (.docx only), each carries a stored part of that many random bytes
// before its property parts, so the reader has to find them past it; with DISTINCT, only
// that many documents are written and the other names are hard links to them, which keeps
// big folders within the disk.
#include <gsf/gsf-meta-names.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

#include "DocxFixture.h"
#include "OleFixture.h"

namespace {

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937_64 engine(seed);
    std::string bytes(size, '\0');
    for (std::size_t pos = 0; pos + 8 <= size; pos += 8) {
        std::uint64_t word = engine();
        for (int i = 0; i < 8; ++i)
            bytes[pos + i] = static_cast<char>(word >> (8 * i));
    }
    return bytes;
}

// The texts of document number index, the same in either format.
struct DocumentTexts {
    std::string title, author, subject, keywords;
};

DocumentTexts documentTexts(long index) {
    std::string number = std::to_string(index);
    return {"文档标题 " + number, "作者" + number, "主题 " + number, "关键词;基准;" + number};
}

void writeDocxDocument(const std::string& path, long index, std::size_t mediaBytes) {
    DocumentTexts texts = documentTexts(index);
    DocxContent content;
    content.title = texts.title;
    content.creator = texts.author;
    content.subject = texts.subject;
    content.keywords = texts.keywords;
    content.modified = "2024-05-06T07:08:09Z";
    std::vector<ZipPart> parts = docxParts(content);
    if (mediaBytes > 0) {
        parts.insert(parts.begin() + 1,
                     ZipPart{"word/media/image1.png", randomBytes(mediaBytes, index), false});
    }
    writeZip(path, parts);
}

void writeDocDocument(const std::string& path, long index) {
    DocumentTexts texts = documentTexts(index);
    MetaData summary;
    summary.codePage = 936;
    summary.texts[GSF_META_NAME_TITLE] = texts.title;
    summary.texts[GSF_META_NAME_CREATOR] = texts.author;
    summary.texts[GSF_META_NAME_SUBJECT] = texts.subject;
    summary.texts[GSF_META_NAME_KEYWORDS] = texts.keywords;
    summary.times[GSF_META_NAME_DATE_MODIFIED] = 1714979289;  // 2024-05-06T07:08:09Z
    std::string bytes = makeDoc(summary);
    std::ofstream file(path, std::ios::binary);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    bool doc = argc > 1 && std::strcmp(argv[1], "--doc") == 0;
    char** args = argv + (doc ? 1 : 0);
    int argCount = argc - (doc ? 1 : 0);
    std::size_t mediaBytes = argCount > 3 ? std::strtoull(args[3], nullptr, 10) : 0;
    long count = argCount > 2 ? std::atol(args[2]) : 0;
    long distinct = argCount > 4 ? std::atol(args[4]) : count;
    if (argCount < 3 || (doc && mediaBytes > 0) || (count > 0 && distinct < 1)) {
        std::fprintf(stderr,
                     "usage: %s FOLDER COUNT [MEDIA_BYTES [DISTINCT]]\n"
                     "       %s --doc FOLDER COUNT [0 [DISTINCT]]\n",
                     argv[0], argv[0]);
        return 2;
    }
    std::string folder = std::string(args[1]) + "/";
    const char* extension = doc ? ".doc" : ".docx";
    for (long i = 0; i < count; ++i) {
        std::string path = folder + "doc" + std::to_string(i) + extension;
        if (i < distinct) {
            if (doc)
                writeDocDocument(path, i);
            else
                writeDocxDocument(path, i, mediaBytes);
        } else if (::link((folder + "doc" + std::to_string(i % distinct) + extension).c_str(),
                          path.c_str()) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
