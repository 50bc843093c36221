// Writes a hostile .doc whose chains loop and whose header and root entry claim far more
// than the file holds; the rest of its apparent size is a hole.
//   tarnel_make_looping_doc FILE APPARENT_BYTES [MINI_SECTOR_SHIFT]
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "LoopingCompoundFile.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE APPARENT_BYTES [MINI_SECTOR_SHIFT]\n", argv[0]);
        return 2;
    }
    LoopingCompoundFile file;
    if (argc > 3)
        file.miniSectorShift = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    std::string head = file.head();
    auto apparent = static_cast<off_t>(std::strtoull(argv[2], nullptr, 10));
    int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = fd >= 0 &&
                   ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                   ::ftruncate(fd, apparent) == 0;
    if (fd >= 0)
        written = ::close(fd) == 0 && written;
    if (!written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
