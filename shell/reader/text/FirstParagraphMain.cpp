// tarnel_first_paragraph FILE...: prints "path<TAB>text" for each file, the text being the
// first paragraph the reader takes from it (empty when none), so that it can be compared with
// what other programs export as the document's text.
#include <cstdio>
#include <string>

#include "DocumentFile.h"
#include "DocumentText.h"
#include "FileSource.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "用法：tarnel_first_paragraph 文件...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        FileSource source(argv[i], kDocumentTailBytes);
        std::string text = source.isOpen() ? documentFirstParagraph(source) : std::string();
        std::printf("%s\t%s\n", argv[i], text.c_str());
    }
    return 0;
}
