// The I/O floor under the job: the file reads the reader makes for every .doc and .docx of a
// folder, and nothing else, from THREADS threads. Prints the elapsed seconds, the listing
// of the folder included, as the job lists it too.
//   tarnel_io_floor FOLDER THREADS
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ByteSource.h"
#include "TitleRename.h"

namespace {

// What the reader holds of a document's end, and what it reads of its start (the bytes
// that tell the format) when the end does not reach it.
constexpr std::size_t kTailBytes = 64u << 10;
constexpr std::size_t kSignatureBytes = 8;

std::vector<std::string> documentNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        std::string extension = extensionOf(name);
        if (entry.is_regular_file() && (extension == "doc" || extension == "docx"))
            names.push_back(name);
    }
    return names;
}

// Opened from the folder, as the reader opens them.
bool readLikeTheReader(int folder, const std::string& name, std::vector<char>& buffer) {
    int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM)
        fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool read = ::fstat(fd, &st) == 0;
    if (read) {
        auto size = static_cast<std::uint64_t>(st.st_size);
        std::size_t tail = size < kTailBytes ? static_cast<std::size_t>(size) : kTailBytes;
        read = preadFully(fd, size - tail, tail, buffer.data());
        if (read && size > tail)
            read = preadFully(fd, 0, kSignatureBytes, buffer.data());
    }
    ::close(fd);
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads = argc == 3 ? static_cast<unsigned>(std::atoi(argv[2])) : 0;
    if (threads == 0) {
        std::fprintf(stderr, "usage: %s FOLDER THREADS\n", argv[0]);
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    int folder = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<std::string> names;
    try {
        names = documentNames(argv[1]);
    } catch (const std::filesystem::filesystem_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failed{0};
    {
        std::vector<std::jthread> readers;
        for (unsigned i = 0; i < threads; ++i) {
            readers.emplace_back([&] {
                std::vector<char> buffer(kTailBytes);
                for (std::size_t index = next++; index < names.size(); index = next++) {
                    if (!readLikeTheReader(folder, names[index], buffer))
                        ++failed;
                }
            });
        }
    }
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    ::close(folder);
    std::printf("%.6f\n", elapsed.count());
    // Reads that failed part-way would make a floor below what the job has to read.
    if (failed > 0) {
        std::fprintf(stderr, "%zu of %zu documents could not be read\n", failed.load(),
                     names.size());
        return 1;
    }
    if (names.empty()) {
        std::fprintf(stderr, "no .doc or .docx in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
