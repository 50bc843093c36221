// Writes _propids.txt, the reference of the column numbers this build answers, from the
// reader's own column table: "number<TAB>heading", UTF-8, one column a line.
#include <cstdio>

#include "ColumnTable.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    for (const Column& column : columnTable()) {
        std::fprintf(out, "%d\t%s\n", column.number, column.heading);
    }
    bool failed = std::ferror(out) != 0;
    if (std::fclose(out) != 0 || failed) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
