// Reads 10,000 small .docx files (warm cache) through the reader, five columns each, and
// the same files with a bare open, read and close, in one run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "DocumentFile.h"
#include "DocxFixture.h"
#include "FileSource.h"
#include "ShellBackend.h"
#include "ZipDirectory.h"

namespace {

constexpr int kDocuments = 10000;
constexpr int kColumns[] = {0, 20, 21, 22, 18};

class Documents {
  public:
    Documents() {
        std::string pattern = (std::filesystem::temp_directory_path() / "reader-bench-XXXXXX");
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_folder = pattern + "/";
        DocxContent content = sampleDocxContent();
        for (int i = 0; i < kDocuments; ++i) {
            content.title = "文档标题 " + std::to_string(i);
            std::string name = "doc" + std::to_string(i) + ".docx";
            writeDocx(m_folder + name, content);
            m_names.push_back(name);
        }
    }
    ~Documents() { std::filesystem::remove_all(m_folder); }

    const std::string& folder() const { return m_folder; }
    const std::vector<std::string>& names() const { return m_names; }

  private:
    std::string m_folder;
    std::vector<std::string> m_names;
};

const Documents& documents() {
    static Documents made;
    return made;
}

// One pass over all documents per iteration, so every figure is per document.
template <typename Read>
void eachDocument(benchmark::State& state, Read read) {
    const Documents& docs = documents();
    for (auto _ : state) {
        for (const std::string& name : docs.names())
            read(docs.folder(), name);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(docs.names().size()));
}

void rawOpenRead(benchmark::State& state) {
    std::vector<char> buffer(64 << 10);
    eachDocument(state, [&](const std::string& folder, const std::string& name) {
        int fd = ::open((folder + name).c_str(), O_RDONLY | O_CLOEXEC);
        ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
        benchmark::DoNotOptimize(got);
        ::close(fd);
    });
}

constexpr const char* kParts[] = {"docProps/core.xml", "docProps/app.xml"};

// The two property parts inflated, by this reader's zip code and by libzip.
void leanZipParts(benchmark::State& state) {
    eachDocument(state, [](const std::string& folder, const std::string& name) {
        FileSource source(folder + name, 64 << 10);
        std::optional<ZipDirectory> zip = ZipDirectory::read(source);
        for (const char* part : kParts) {
            auto content = zip->extract(source, *zip->find(part), 4 << 20);
            benchmark::DoNotOptimize(content);
        }
    });
}

void libzipParts(benchmark::State& state) {
    std::vector<char> buffer(64 << 10);
    eachDocument(state, [&](const std::string& folder, const std::string& name) {
        zip_t* zip = zip_open((folder + name).c_str(), ZIP_RDONLY, nullptr);
        for (const char* part : kParts) {
            zip_file_t* file = zip_fopen(zip, part, 0);
            zip_int64_t got = zip_fread(file, buffer.data(), buffer.size());
            benchmark::DoNotOptimize(got);
            zip_fclose(file);
        }
        zip_close(zip);
    });
}

void readerProperties(benchmark::State& state) {
    eachDocument(state, [](const std::string& folder, const std::string& name) {
        auto properties = readDocumentFile(folder + name);
        benchmark::DoNotOptimize(properties);
    });
}

void readerFiveColumns(benchmark::State& state) {
    std::unique_ptr<ShellBackend> backend = makeNativeShellBackend();
    std::unique_ptr<ShellObject> shell = backend->connect();
    std::unique_ptr<ShellFolderObject> folder = shell->nameSpace(documents().folder());
    eachDocument(state, [&](const std::string&, const std::string& name) {
        std::unique_ptr<ShellItemObject> item = folder->parseName(name);
        for (int column : kColumns) {
            std::string text = folder->itemDetail(*item, column);
            benchmark::DoNotOptimize(text);
        }
    });
}

}  // namespace

BENCHMARK(rawOpenRead)->Unit(benchmark::kMillisecond);
BENCHMARK(leanZipParts)->Unit(benchmark::kMillisecond);
BENCHMARK(libzipParts)->Unit(benchmark::kMillisecond);
BENCHMARK(readerProperties)->Unit(benchmark::kMillisecond);
BENCHMARK(readerFiveColumns)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
