// Writes a folder of generated .docx documents for the job's benchmark:
//   tarnel_make_docx_folder FOLDER COUNT [MEDIA_BYTES [DISTINCT]]
// Every document has its own title, author, subject and keywords. With MEDIA_BYTES, each
// carries a stored part of that many random bytes before its property parts, so the
// reader has to find them past it; with DISTINCT, only that many documents are written
// and the other names are hard links to them, which keeps big folders within the disk.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "DocxFixture.h"

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

std::vector<ZipPart> documentParts(long index, std::size_t mediaBytes) {
    DocxContent content;
    std::string number = std::to_string(index);
    content.title = "文档标题 " + number;
    content.creator = "作者" + number;
    content.subject = "主题 " + number;
    content.keywords = "关键词;基准;" + number;
    content.modified = "2024-05-06T07:08:09Z";
    std::vector<ZipPart> parts = docxParts(content);
    if (mediaBytes > 0) {
        parts.insert(parts.begin() + 1,
                     ZipPart{"word/media/image1.png", randomBytes(mediaBytes, index), false});
    }
    return parts;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT [MEDIA_BYTES [DISTINCT]]\n", argv[0]);
        return 2;
    }
    std::string folder = std::string(argv[1]) + "/";
    long count = std::atol(argv[2]);
    std::size_t mediaBytes = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
    long distinct = argc > 4 ? std::atol(argv[4]) : count;
    for (long i = 0; i < count; ++i) {
        std::string path = folder + "doc" + std::to_string(i) + ".docx";
        if (i < distinct) {
            writeZip(path, documentParts(i, mediaBytes));
        } else if (::link((folder + "doc" + std::to_string(i % distinct) + ".docx").c_str(),
                          path.c_str()) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
