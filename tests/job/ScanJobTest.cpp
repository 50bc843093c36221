#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileServices.h"
#include "JobFixture.h"
#include "OwnerFile.h"
#include "PathSeparator.h"
#include "ShellError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "a line without its end: " << text;
    return lines;
}

// Narrow names in the code page, as the job sees them.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    FolderListing listing = listFolder(folder);
    EXPECT_EQ(listing.fault, FolderListing::Fault::None);
    for (const ListingEntry& entry : listing.entries)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Another program's hold on a file: an exclusive lock, or on Windows no sharing at all.
class ForeignHold {
  public:
    explicit ForeignHold(const std::string& path) {
#ifdef _WIN32
        m_handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(m_handle, INVALID_HANDLE_VALUE);
#else
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0666);
        EXPECT_EQ(::flock(m_fd, LOCK_EX), 0);
#endif
    }
    ~ForeignHold() {
#ifdef _WIN32
        CloseHandle(m_handle);
#else
        ::close(m_fd);
#endif
    }

  private:
#ifdef _WIN32
    HANDLE m_handle;
#else
    int m_fd;
#endif
};

class ScanJob : public JobFixture {
  protected:
    // 1.doc to 5.doc, titled t1 to t5, with both actions and the list "0".
    void extractAndRenameFiveDocuments() {
        for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc", "5.doc"}) {
            folder.write(name);
            shell->setTitle(name, std::string("t") + name[0]);
        }
        settings.getprops = 1;
        settings.rename = 1;
        settings.propids = "0";
    }
    // a.doc, titled 新, with both actions and the list "0".
    void extractAndRenameOneDocument() {
        folder.write("a.doc");
        shell->setTitle("a.doc", "新");
        settings.getprops = 1;
        settings.rename = 1;
        settings.propids = "0";
    }
    // Documents now named after their titles.
    long renamedCount() const {
        std::vector<std::string> names = namesIn(folder.path());
        return std::count_if(names.begin(), names.end(), [](auto& n) { return n[0] == 't'; });
    }
};

TEST_F(ScanJob, picksDocAndDocxFilesExactlyAndSkipsFolders) {
    for (const char* name : {"a.doc", "b.DOCX", "c.docx.bak", "d.docx", "x.y.doc", "e.", "f.Doc"}) {
        folder.write(name);
    }
    folder.makeFolder("e.doc");
    settings.getprops = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(doneCount(), 3);
    std::vector<std::string> lines = linesOf(output());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "H0");
    std::sort(lines.begin() + 1, lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"H0", "a.doc", "d.docx", "x.y.doc"}));
    EXPECT_EQ(report().text(), "");
    EXPECT_EQ(shell->liveObjects(), 0);
    EXPECT_EQ(shell->threadEnters(), 1);
    EXPECT_EQ(shell->threadLeaves(), 1);
}

TEST_F(ScanJob, takesANameWithoutADotAndHiddenFilesAsDocuments) {
    folder.write("docx");
    folder.write("~a.docx");
    folder.write(".doc");
    shell->setTitle("docx", "无点");
    shell->setTitle("~a.docx", "隐藏");
    settings.rename = 1;
    runJob();
    EXPECT_EQ(doneCount(), 3);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{".doc", "无点.docx", "隐藏.docx"}));
    EXPECT_FALSE(fs::exists(settings.fileout));
}

TEST_F(ScanJob, postsProgressForEveryDocumentThenDone) {
    for (const char* name : {"1.doc", "2.doc", "3.doc", "readme.txt"})
        folder.write(name);
    settings.rename = 1;
    runJob();
    using Notice = RecordingEvents::Notice;
    std::vector<std::pair<Notice, std::int32_t>> expected{
        {Notice::Progress, 1}, {Notice::Progress, 2}, {Notice::Progress, 3}, {Notice::Done, 3}};
    EXPECT_EQ(events->notices(), expected);
}

TEST_F(ScanJob, leavesAnEmptyFileForAFolderWithoutDocuments) {
    folder.write("notes.txt");
    out.write("out.csv", "old content");
    settings.getprops = 1;
    settings.propids = "0,21";
    runJob();
    EXPECT_EQ(doneCount(), 0);
    EXPECT_TRUE(fs::exists(settings.fileout));
    EXPECT_EQ(output(), "");
}

TEST_F(ScanJob, writesTheHeadingOnceAndOneQuotedLinePerDocument) {
    folder.write("a.doc");
    folder.write("b.doc");
    shell->setDetail("a.doc", 2, "Smith, J.");
    shell->setDetail("b.doc", 2, "line\r\nbreak");
    settings.getprops = 1;
    settings.colfullname = 1;
    settings.propids = "2，21";
    runJob();
    std::vector<std::string> lines = linesOf(output());
    ASSERT_EQ(lines.size(), 4u);  // the line break inside the quotes splits one line
    EXPECT_EQ(lines[0], "全文件名,H2,H21");
    std::string text = output();
    EXPECT_NE(text.find(folder.path() + "a.doc,\"Smith, J.\",\r\n"), std::string::npos);
    EXPECT_NE(text.find(folder.path() + "b.doc,\"line\r\nbreak\",\r\n"), std::string::npos);
}

TEST_F(ScanJob, stopsAfterTheDocumentInProgress) {
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc", "5.doc"})
        folder.write(name);
    int parsed = 0;
    shell->onParseName([&](const std::string&) {
        if (++parsed == 3)
            command->setStop();
    });
    settings.getprops = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(doneCount(), 3);
    EXPECT_EQ(linesOf(output()).size(), 4u);  // the third line was completed
    EXPECT_EQ(report().text(), "");
}

TEST_F(ScanJob, renamesEachDocumentOnceFromTheListingItTookFirst) {
    for (int i = 0; i < 60; ++i) {
        std::string name = "d" + std::to_string(i) + ".doc";
        folder.write(name);
        shell->setTitle(name, "r" + std::to_string(i));
    }
    settings.rename = 1;
    runJob();
    EXPECT_EQ(doneCount(), 60);
    std::vector<std::string> names = namesIn(folder.path());
    EXPECT_EQ(names.size(), 60u);
    EXPECT_TRUE(std::all_of(names.begin(), names.end(), [](auto& n) { return n[0] == 'r'; }));
}

// A backend reads texts ahead only for a job that may take titles from them.
TEST_F(ScanJob, announcesTextsOnlyWhenARenameMayTakeTheTitleFromThem) {
    folder.write("a.doc");
    settings.getprops = 1;
    settings.propids = "0";
    for (auto [rename, texttitle] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{1, 1}}) {
        settings.rename = rename;
        settings.texttitle = texttitle;
        runJob();
        EXPECT_EQ(shell->textExpected(), rename && texttitle) << rename << texttitle;
    }
}

TEST_F(ScanJob, leavesAnOutputFileAnotherProgramHoldsAndRenamesNothing) {
    extractAndRenameOneDocument();
    out.write("out.csv", "theirs");
    {
        ForeignHold hold(settings.fileout);
        runJob();
    }
    EXPECT_EQ(doneCount(), 0);
    EXPECT_EQ(output(), "theirs");
    EXPECT_TRUE(fs::exists(folder.file("a.doc")));
    EXPECT_TRUE(report().failed());
    EXPECT_TRUE(report().text().starts_with("无法打开输出文件：" + settings.fileout))
        << report().text();
    EXPECT_NE(report().text().find("文件正被其他程序使用"), std::string::npos) << report().text();
}

// The outputs the CSV must never be written over, each left as it was and named in the
// message, and the ones it replaces as before.
TEST_F(ScanJob, refusesAnOutputThatIsADocumentOrNoFileAndReplacesAnyOther) {
    folder.write("a.doc", "no signature: only its identity tells it");
    settings.getprops = 1;
    settings.propids = "0";
    const std::string isDocument = "该文件是文档，写入会覆盖其内容，已保持原样，请另选输出文件";
    const std::string notAFile = "不是普通文件，而是管道、设备或目录，请另选输出文件";
    struct Case {
        const char* what;
        std::function<std::string()> make;  // the output's path
        std::string fault;                  // empty: taken
    };
    const std::vector<Case> cases{
        {"the listed document itself", [&] { return folder.file("a.doc"); }, isDocument},
        {"a hard link to it",
         [&] {
             fs::create_hard_link(fs::u8path(folder.file("a.doc")), fs::u8path(out.file("l.csv")));
             return out.file("l.csv");
         },
         isDocument},
        {"a zip package",
         [&] {
             out.write("z.csv", std::string("PK\x03\x04", 4) + "rest");
             return out.file("z.csv");
         },
         isDocument},
        {"a compound file",
         [&] {
             out.write("c.csv", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest");
             return out.file("c.csv");
         },
         isDocument},
#ifdef _WIN32
        {"a device", [] { return std::string("NUL"); }, notAFile},
#else
        {"a symbolic link to it",
         [&] {
             fs::create_symlink(fs::u8path(folder.file("a.doc")), fs::u8path(out.file("s.csv")));
             return out.file("s.csv");
         },
         isDocument},
        {"a FIFO nobody reads",
         [&] {
             EXPECT_EQ(::mkfifo(out.file("fifo").c_str(), 0600), 0);
             return out.file("fifo");
         },
         notAFile},
#endif
        {"a new file", [&] { return out.file("new.csv"); }, ""},
        {"an earlier CSV",
         [&] {
             out.write("old.csv", "H0\r\nold.doc\r\n");
             return out.file("old.csv");
         },
         ""},
        {"an empty file in the folder",
         [&] {
             folder.write("empty.csv");
             return folder.file("empty.csv");
         },
         ""},
    };
    for (const Case& c : cases) {
        settings.fileout = c.make();
        bool regular = fs::is_regular_file(fs::u8path(settings.fileout));
        std::string before = regular ? readFile(settings.fileout) : "";
        runJob();
        if (c.fault.empty()) {
            EXPECT_EQ(report().text(), "") << c.what;
            EXPECT_EQ(output(), "H0\r\na.doc\r\n") << c.what;
            continue;
        }
        EXPECT_EQ(doneCount(), 0) << c.what;
        EXPECT_EQ(report().text(), "无法打开输出文件：" + settings.fileout + "（" + c.fault + "）")
            << c.what;
        if (regular) {
            EXPECT_EQ(readFile(settings.fileout), before) << c.what;
        }
    }
}

#ifndef _WIN32
// What the Linux lock sees besides flock: an open-file-description lock another open of
// the file holds (it conflicts with LibreOffice's record locks as well), and LibreOffice's
// lock file beside the output, which is a FIFO when it has no content.
class LinuxHolder {
  public:
    LinuxHolder(const std::string& path, std::optional<std::string> lockFileContent) {
        if (lockFileContent) {
            fs::path file(path);
            m_lockFile = file.parent_path() / (".~lock." + file.filename().string() + "#");
            if (lockFileContent->empty())
                EXPECT_EQ(::mkfifo(m_lockFile.c_str(), 0600), 0);
            else
                std::ofstream(m_lockFile) << *lockFileContent;
            return;
        }
        m_fd = ::open(path.c_str(), O_RDWR);
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        EXPECT_EQ(::fcntl(m_fd, F_OFD_SETLK, &whole), 0);
    }
    ~LinuxHolder() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_lockFile.empty())
            fs::remove(m_lockFile);
    }

  private:
    int m_fd = -1;
    fs::path m_lockFile;
};

// A lock file alone is told as such, with whom it names, so that a crash's leftover can
// be removed; it is never removed for the user.
TEST_F(ScanJob, refusesAnOutputFileThatIsLockedOrOpenInLibreOffice) {
    extractAndRenameOneDocument();
    const std::string lockFile = out.file(".~lock.out.csv#");
    const std::string byLockFile = "（旁边的 LibreOffice 锁定文件 " + lockFile + " 表明该文件正被";
    const std::string ifStale =
        "打开；若 LibreOffice 并未打开它，这是异常退出时留下的锁定文件，删除后即可重试）";
    // A name without end: only the lock file's first KiBs are read, and 21 characters shown.
    std::string endless, shown;
    for (int i = 0; i < 100000; ++i)
        endless += "王";
    for (int i = 0; i < 21; ++i)
        shown += "王";
    const std::vector<std::pair<std::optional<std::string>, std::string>> holders{
        {std::nullopt, "（文件正被其他程序使用）"},
        {"王\\, 伟\x1b[2J,host,wang,07.12.2026 12:00,file:///home/wang/.config;",
         byLockFile + " 王, 伟[2J " + ifStale},
        {"", byLockFile + ifStale},  // a FIFO, never read
        {endless, byLockFile + " " + shown + "… " + ifStale},
    };
    for (const auto& [content, told] : holders) {
        out.write("out.csv", "theirs");
        {
            LinuxHolder holder(settings.fileout, content);
            runJob();
            EXPECT_EQ(fs::exists(lockFile), content.has_value());
        }
        EXPECT_EQ(output(), "theirs");
        EXPECT_TRUE(fs::exists(folder.file("a.doc")));
        EXPECT_EQ(report().text(), "无法打开输出文件：" + settings.fileout + told);
    }
}
#endif

TEST_F(ScanJob, tellsAnOutputFolderThatDoesNotExist) {
    extractAndRenameOneDocument();
    settings.fileout = out.file("missing") + kPathSeparator + "out.csv";
    runJob();
    EXPECT_EQ(doneCount(), 0);
    EXPECT_TRUE(fs::exists(folder.file("a.doc")));
    EXPECT_EQ(report().text(), "无法打开输出文件：" + settings.fileout + "（所在目录不存在）");
}

TEST_F(ScanJob, tellsAFolderTheShellCannotOpen) {
    settings.pathuser = "";
    settings.rename = 1;
    runJob();
    EXPECT_EQ(doneCount(), 0);
    EXPECT_EQ(report().text(), "无法打开目录：");
    EXPECT_EQ(shell->liveObjects(), 0);

    shell->failConnect();
    settings.pathuser = folder.path();
    runJob();
    EXPECT_EQ(report().text(), "无法连接外壳对象，任务未执行。");
    EXPECT_TRUE(report().failed());
}

TEST_F(ScanJob, stopsWhenTheFolderVanishesMidJob) {
    for (const char* name : {"1.doc", "2.doc", "3.doc"})
        folder.write(name);
    int parsed = 0;
    shell->onParseName([&](const std::string&) {
        if (++parsed == 2)
            fs::remove_all(fs::u8path(folder.path()));
    });
    settings.getprops = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(doneCount(), 2);
    EXPECT_EQ(linesOf(output()).size(), 2u);
    EXPECT_EQ(report().text(), "目录在处理中已不存在：" + folder.path() + "，任务已停止。");
}

TEST_F(ScanJob, skipsDocumentsThatVanishedAfterTheListing) {
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc", "5.doc"})
        folder.write(name);
    int parsed = 0;
    std::vector<std::string> removed;
    shell->onParseName([&](const std::string& name) {
        if (++parsed % 2 == 1) {  // the first, third and fifth
            fs::remove(fs::u8path(folder.file(name)));
            removed.push_back(name);
        }
    });
    settings.getprops = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(doneCount(), 5);
    std::vector<std::string> lines = linesOf(output());
    ASSERT_EQ(lines.size(), 3u);  // the heading comes before the first line written
    EXPECT_EQ(lines[0], "H0");
    EXPECT_FALSE(report().failed());
    EXPECT_EQ(report().text(),
              "有 3 个文件已找不到，未处理：" + removed[0] + "、" + removed[1] + "、" + removed[2]);
    EXPECT_EQ(shell->liveObjects(), 0);
}

// A document the shell could not read keeps its line, blank, and its name; the report names
// it, and the job has not failed for it.
TEST_F(ScanJob, namesTheDocumentsThatCouldNotBeRead) {
    extractAndRenameFiveDocuments();
    shell->markUnreadable("2.doc");
    shell->setTitle("2.doc", "");
    shell->markUnreadable("4.doc");
    runJob();
    EXPECT_EQ(doneCount(), 5);
    EXPECT_EQ(linesOf(output()).size(), 6u);
    EXPECT_FALSE(report().failed());
    EXPECT_EQ(
        report().text(),
        "有 2 个文件无法读取（无权访问、读取出错或正被其他程序独占），属性留空：2.doc、4.doc");
    EXPECT_TRUE(fs::exists(fs::u8path(folder.file("2.doc"))));
}

TEST_F(ScanJob, stopsAtAShellErrorWithCompleteLinesAndTheCountSoFar) {
    extractAndRenameFiveDocuments();
    shell->failDetailsOf("3.doc", shell_hr::kFail);
    runJob();
    std::vector<std::string> lines = linesOf(output());
    long reached = static_cast<long>(lines.size());  // the lines before it and the heading
    EXPECT_EQ(doneCount(), reached);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "3.doc"), 0);
    EXPECT_EQ(report().text(), "处理文件出错：3.doc（错误代码 0x80004005），任务已停止。");
    EXPECT_TRUE(report().failed());
    EXPECT_EQ(renamedCount(), reached - 1);
    EXPECT_EQ(shell->liveObjects(), 0);
}

TEST_F(ScanJob, tellsAboutClampedPropertyNumbers) {
    folder.write("a.doc");
    settings.getprops = 1;
    settings.propids = "0,99999999999";
    runJob();
    EXPECT_EQ(linesOf(output())[0], "H0,H2147483647");
    EXPECT_EQ(report().text(), "属性序号超出范围，已按最接近的有效序号处理：99999999999");
    EXPECT_FALSE(report().failed());
}

TEST_F(ScanJob, neverTouchesTheOutputFileWithoutProperties) {
    folder.write("a.doc");
    out.write("out.csv", "keep");
    settings.rename = 1;
    settings.propids = "0";
    runJob();
    EXPECT_EQ(output(), "keep");
}

#ifndef _WIN32
// A file size limit makes the fourth line's write short, as a full disk would. The
// journal, whose head is longer than the limit, cannot be written either: nothing is
// renamed that could not be undone.
TEST_F(ScanJob, stopsAtAFailingWriteAndCutsBackToTheLastCompleteLine) {
    extractAndRenameFiveDocuments();
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 4 + 7 + 7 + 3;  // heading, two lines and three bytes of the third
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    runJob();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(linesOf(output()).size(), 3u);
    EXPECT_EQ(output().size(), 18u);
    EXPECT_EQ(doneCount(), 3);
    std::string text = report().text();
    EXPECT_TRUE(text.starts_with("写入输出文件失败：" + settings.fileout +
                                 "（磁盘空间不足），任务已停止。\n无法写入改名记录："))
        << text;
    EXPECT_EQ(renamedCount(), 0);
}
#endif

}  // namespace

// The tree in walking order: each folder's documents, then its subfolders by name. What is
// no document of the job stays as it was wherever it lies: an owner file, the output made in
// a subfolder, the settings folder's files and a hidden folder's.
TEST_F(ScanJob, walksTheTreeWithFullPathsAndRenamesEachDocumentInItsOwnFolder) {
    const TempDir& top = home.dir();
    fs::create_directories(top.file("b/deep"));
    fs::create_directories(top.file("a"));
    fs::create_directories(top.file(".hidden"));
    fs::create_directories(top.file("tarnel"));
    for (const char* name : {"z.doc", "b/deep/y.doc", "b/x.doc", "a/x.doc", ".hidden/h.doc",
                             "tarnel/s.doc", "b/not-a-document.txt"})
        top.write(name);
    top.write("~$z.doc", std::string(162, 'o'));
    top.write("~$big.doc", std::string(kOwnerFileBytes + 1, 'o'));
    shell->setTitle("z.doc", "top");
    shell->setTitle("x.doc", "same");
    shell->setTitle("y.doc", "deep");
#ifndef _WIN32
    fs::create_directory_symlink(top.file("b"), top.file("c-link"));
#endif
    settings.pathuser = top.path();
    settings.fileout = top.file("b/out.doc");
    settings.getprops = 1;
    settings.propids = "0";
    settings.colfullname = 1;
    settings.rename = 1;
    settings.subfolders = 1;
    runJob();

    EXPECT_EQ(doneCount(), 5);
    std::string sep(1, kPathSeparator);
    EXPECT_EQ(
        linesOf(output()),
        (std::vector<std::string>{
            "全文件名,H0", top.file("z.doc") + ",z.doc", top.file("~$big.doc") + ",~$big.doc",
            top.file("a" + sep + "x.doc") + ",x.doc", top.file("b" + sep + "x.doc") + ",x.doc",
            top.file("b" + sep + "deep" + sep + "y.doc") + ",y.doc"}));
    EXPECT_TRUE(fs::exists(top.file("top.doc")));
    EXPECT_TRUE(fs::exists(top.file("~$z.doc")));
    EXPECT_TRUE(fs::exists(top.file("a/same.doc")));
    EXPECT_TRUE(fs::exists(top.file("b/same.doc")));
    EXPECT_TRUE(fs::exists(top.file("b/deep/deep.doc")));
    EXPECT_TRUE(fs::exists(top.file(".hidden/h.doc")));
    EXPECT_TRUE(fs::exists(top.file("tarnel/s.doc")));
#ifndef _WIN32
    EXPECT_EQ(report().text(), "子目录未处理：c-link/（是符号链接或目录联接，不跟随）");
#endif
}

// A preview names each document by its path from the top folder.
TEST_F(ScanJob, previewsRenamesOfTheTreeByTheirPathsFromTheTop) {
    fs::create_directories(folder.file("sub"));
    folder.write("sub/a.doc");
    shell->setTitle("a.doc", "新");
    settings.rename = 1;
    settings.subfolders = 1;
    JobRequest request{settings, std::make_shared<CCore>(), shell, command, true};
    command->clear();
    std::unique_ptr<JobHandle> job = startJob(std::move(request), events);
    ASSERT_NE(job, nullptr);
    job->wait();
    std::string sep(1, kPathSeparator);
    EXPECT_EQ(report().previewLines(),
              std::vector<std::string>{"sub" + sep + "a.doc → sub" + sep + "新.doc"});
    EXPECT_TRUE(fs::exists(folder.file("sub/a.doc")));
}
