// Writes a hostile .docx of a few kilobytes: its deflated core properties hold a title of
// 0xFF bytes, none of them valid UTF-8, the part just under what the reader reads of a part.
//   tarnel_make_hostile_docx FILE
#include <cstdio>
#include <exception>

#include "DocxFixture.h"
#include "DocxReader.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    DocxContent content;
    content.title.assign(kMaxDocxPartBytes - (4u << 10), '\xFF');
    try {
        writeDocx(argv[1], content);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
