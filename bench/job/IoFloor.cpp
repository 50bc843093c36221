// The I/O floor under the job: the file reads the reader makes for every .doc and .docx of a
// folder, and nothing else, from THREADS threads. Prints the elapsed seconds, the listing
// of the folder included, as the job lists it too.
//   tarnel_io_floor FOLDER THREADS
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "DocumentFile.h"
#include "FileSource.h"
#include "TitleRename.h"

namespace {

std::vector<std::string> documentNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && hasDocumentExtension(name))
            names.push_back(name);
    }
    return names;
}

// Opened from the folder and read as the reader reads it: the end on opening, then the
// first bytes that tell the format.
bool readLikeTheReader(int folder, const std::string& name) {
    FileSource source(name, kDocumentTailBytes, folder);
    return source.isOpen() && documentFormat(source) != DocumentFormat::other;
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
                for (std::size_t index = next++; index < names.size(); index = next++) {
                    if (!readLikeTheReader(folder, names[index]))
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
