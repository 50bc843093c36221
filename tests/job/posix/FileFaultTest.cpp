// Failures a local file system does not give on demand: a flush that fails, a listing cut
// short, a file system that cannot rename without replacing, a document that cannot be
// opened or read. This program puts its own fsync, readdir, renameat2, openat and pread in
// front of the C library's; each fails while armed.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <filesystem>
#include <string_view>

#include "../JobFixture.h"
#include "DocxFixture.h"
#include "ReaderBackend.h"

namespace {

std::atomic<int> g_fsyncError{0};
std::atomic<int> g_fdatasyncError{0};
std::atomic<int> g_renameError{0};
std::atomic<int> g_readdirError{0};
std::atomic<int> g_readdirCallsLeft{0};
// Opening a file whose path holds "denied" fails with EACCES, reading one whose path holds
// "broken" with EIO.
std::atomic<int> g_documentFaults{0};

bool pathHolds(int fd, std::string_view word) {
    char path[4096];
    ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return length > 0 && std::string_view(path, static_cast<std::size_t>(length)).find(word) !=
                             std::string_view::npos;
}

template <typename Function>
Function* nextDefinition(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

// Arms one failure for the life of the object.
class Armed {
  public:
    explicit Armed(std::atomic<int>& error, int value) : m_error(error) { m_error = value; }
    ~Armed() { m_error = 0; }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;

  private:
    std::atomic<int>& m_error;
};

}  // namespace

namespace {

int syncOrFail(const char* name, std::atomic<int>& armed, int fd) {
    if (int error = armed.load()) {
        errno = error;
        return -1;
    }
    return nextDefinition<int(int)>(name)(fd);
}

}  // namespace

// The output file is flushed with fsync, the rename journal with fdatasync.
extern "C" int fsync(int fd) {
    return syncOrFail("fsync", g_fsyncError, fd);
}

extern "C" int fdatasync(int fd) {
    return syncOrFail("fdatasync", g_fdatasyncError, fd);
}

extern "C" dirent* readdir(DIR* dir) {
    static auto* real = nextDefinition<dirent*(DIR*)>("readdir");
    if (int error = g_readdirError.load(); error && g_readdirCallsLeft-- <= 0) {
        errno = error;
        return nullptr;
    }
    return real(dir);
}

extern "C" int openat(int dir, const char* path, int flags, ...) {
    static auto* real = nextDefinition<int(int, const char*, int, ...)>("openat");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (g_documentFaults.load() &&
        std::string_view(path).find("denied") != std::string_view::npos) {
        errno = EACCES;
        return -1;
    }
    return real(dir, path, flags, mode);
}

extern "C" ssize_t pread(int fd, void* buffer, size_t length, off_t offset) {
    static auto* real = nextDefinition<ssize_t(int, void*, size_t, off_t)>("pread");
    if (g_documentFaults.load() && pathHolds(fd, "broken")) {
        errno = EIO;
        return -1;
    }
    return real(fd, buffer, length, offset);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned flags) noexcept {
    static auto* real =
        nextDefinition<int(int, const char*, int, const char*, unsigned)>("renameat2");
    if (int error = g_renameError.load()) {
        errno = error;
        return -1;
    }
    return real(fromDir, from, toDir, to, flags);
}

namespace {

namespace fs = std::filesystem;

class FileFault : public JobFixture {
  protected:
    FileFault() {
        for (const char* name : {"a.doc", "b.doc", "c.doc"}) {
            folder.write(name, name);
            shell->setTitle(name, std::string("t") + name);
        }
        out.write("out.csv", "previous");
        settings.getprops = 1;
        settings.propids = "0";
    }
};

TEST_F(FileFault, aFailingFlushIsToldLikeAFailedWrite) {
    const std::vector<std::pair<int, std::string>> faults{{EIO, "系统拒绝了操作"},
                                                          {EDQUOT, "磁盘空间不足"}};
    for (const auto& [error, told] : faults) {
        {
            Armed armed(g_fsyncError, error);
            runJob();
        }
        EXPECT_EQ(doneCount(), 3);
        EXPECT_TRUE(report().failed());
        EXPECT_EQ(report().text(),
                  "写入输出文件失败：" + settings.fileout + "（" + told + "），任务已停止。");
        // The lines stay: only their way to the disk is in doubt.
        EXPECT_EQ(output().size(), std::string("H0\r\na.doc\r\nb.doc\r\nc.doc\r\n").size());
    }
}

// A journal that cannot be written stops the renames, not the job: the output's own
// failure at its end is still told.
TEST_F(FileFault, aFailingFlushIsToldAfterAFailedJournal) {
    settings.rename = 1;
    {
        Armed journal(g_fdatasyncError, EIO);
        Armed output(g_fsyncError, EIO);
        runJob();
    }
    std::string text = report().text();
    EXPECT_NE(text.find("写入输出文件失败：" + settings.fileout), std::string::npos) << text;
    EXPECT_NE(text.find("无法写入改名记录："), std::string::npos) << text;
}

TEST_F(FileFault, aListingCutShortIsToldAndNothingIsProcessed) {
    settings.rename = 1;
    {
        Armed armed(g_readdirError, EIO);
        g_readdirCallsLeft = 2;
        runJob();
    }
    EXPECT_EQ(doneCount(), 0);
    EXPECT_TRUE(report().failed());
    EXPECT_EQ(report().text(),
              "读取目录出错：" + folder.path() + "，目录内容未能完整读出，任务已停止。");
    EXPECT_EQ(output(), "previous");
    EXPECT_TRUE(fs::exists(folder.file("a.doc")));
}

TEST_F(FileFault, documentsKeepTheirNamesWhereRenamingMightReplaceAndTheReportSaysSo) {
    settings.getprops = 0;
    settings.rename = 1;
    {
        Armed armed(g_renameError, EINVAL);
        runJob();
    }
    EXPECT_EQ(doneCount(), 3);
    EXPECT_FALSE(report().failed());
    EXPECT_TRUE(report().text().starts_with(
        "有 3 个文件保留原名（所在文件系统不支持不覆盖已有文件的改名）："))
        << report().text();
    for (const char* name : {"a.doc", "b.doc", "c.doc"}) {
        EXPECT_EQ(readFile(folder.file(name)), name);
        EXPECT_FALSE(fs::exists(folder.file(std::string("t") + name)));
    }
}

// The reader tells a document it could not open or read from one without properties.
TEST_F(FileFault, documentsTheReaderCannotOpenOrReadAreNamedWithTheirLinesWritten) {
    DocxContent content;
    content.title = "标题";
    for (const char* name : {"broken.docx", "denied.docx", "fine.docx"})
        writeDocx(folder.file(name), content);
    settings.propids = "0,21";
    for (ReadAheadOptions options : {ReadAheadOptions{0, 0}, ReadAheadOptions{}}) {
        {
            Armed armed(g_documentFaults, 1);
            runJob(makeReaderBackend(options));
        }
        EXPECT_EQ(doneCount(), 6);
        EXPECT_FALSE(report().failed());
        EXPECT_EQ(report().text(),
                  "有 2 个文件无法读取（无权访问、读取出错或正被其他程序独占），"
                  "属性留空：broken.docx、denied.docx");
        std::string csv = output();
        for (const char* line : {"\r\nbroken.docx,\r\n", "\r\ndenied.docx,\r\n",
                                 "\r\nfine.docx,标题\r\n", "\r\na.doc,\r\n"})
            EXPECT_NE(csv.find(line), std::string::npos) << line << csv;
    }
}

}  // namespace
