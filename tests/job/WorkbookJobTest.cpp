#include <gtest/gtest.h>

#include <filesystem>

#include "FileServices.h"
#include "JobFixture.h"
#include "ShellError.h"
#include "WorkbookSheet.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using Rows = std::vector<std::vector<std::string>>;

class WorkbookJob : public JobFixture {
  protected:
    WorkbookJob() {
        settings.fileout = out.file("out.xlsx");
        settings.getprops = 1;
        settings.propids = "0,21";
    }
    void writeDocuments(int count) {
        for (int i = 1; i <= count; ++i) {
            std::string name = std::to_string(i) + ".doc";
            folder.write(name);
            shell->setTitle(name, "标题 =" + std::to_string(i));
        }
    }
    Rows expectedRows(int count) const {
        Rows rows{{"H0", "H21"}};
        for (int i = 1; i <= count; ++i)
            rows.push_back({std::to_string(i) + ".doc", utf8(u8"标题 =") + std::to_string(i)});
        return rows;
    }
    Rows rowsOfOutput() const {
        std::optional<WorkbookSheet> sheet = readWorkbookSheet(settings.fileout);
        EXPECT_TRUE(sheet && sheet->allText);
        return sheet ? sheet->rows : Rows{};
    }
    // Nothing is left beside the output.
    std::vector<std::string> outputFolder() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(out.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(WorkbookJob, leavesAWorkbookOfTheRowsDoneWhenItStopsOrFails) {
    writeDocuments(5);
    command->clear();
    int parsed = 0;
    shell->onParseName([&](const std::string&) {
        if (++parsed == 3)
            command->setStop();
    });
    runJob();
    EXPECT_EQ(doneCount(), 3);
    EXPECT_EQ(report().text(), "");
    EXPECT_EQ(rowsOfOutput(), expectedRows(3));
    EXPECT_EQ(outputFolder(), std::vector<std::string>{"out.xlsx"});

    shell->onParseName([](const std::string&) {});
    shell->failDetailsOf("4.doc", shell_hr::kFail);
    runJob();
    EXPECT_TRUE(report().failed());
    EXPECT_EQ(report().text(), "处理文件出错：4.doc（错误代码 0x80004005），任务已停止。");
    EXPECT_EQ(rowsOfOutput(), expectedRows(3));
    EXPECT_EQ(outputFolder(), std::vector<std::string>{"out.xlsx"});
}

TEST_F(WorkbookJob, replacesAnEarlierWorkbookOnlyOnceTheNewOneIsComplete) {
    writeDocuments(2);
    runJob();
    ASSERT_EQ(rowsOfOutput(), expectedRows(2));
    writeDocuments(4);
    // Windows lets nobody read the file the job holds; its identity is still there to see.
    std::optional<FileIdentity> before = fileIdentity(settings.fileout), seenDuringTheJob;
    shell->onParseName([&](const std::string& name) {
        if (name == "4.doc")
            seenDuringTheJob = fileIdentity(settings.fileout);
    });
    runJob();
    EXPECT_EQ(report().text(), "");
    ASSERT_TRUE(before);
    EXPECT_EQ(seenDuringTheJob, before);
    EXPECT_EQ(rowsOfOutput(), expectedRows(4));
}

TEST_F(WorkbookJob, leavesAWorkbookThatExcelOrAnotherProgramHoldsAsItWas) {
    writeDocuments(1);
    out.write("out.xlsx", "theirs");
    out.write("~$out.xlsx", "owner");
    runJob();
    EXPECT_EQ(report().text(), "无法打开输出文件：" + settings.fileout +
                                   "（旁边以 ~$ 开头的同名所有者文件表明该文件正被 Excel 或 WPS "
                                   "打开；若并未打开，这是异常退出时留下的文件，删除后即可重试）");
    EXPECT_EQ(output(), "theirs");
    fs::remove(out.file("~$out.xlsx"));

#ifdef _WIN32
    HANDLE held = CreateFileA(settings.fileout.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    runJob();
    CloseHandle(held);
#else
    int held = ::open(settings.fileout.c_str(), O_WRONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    runJob();
    ::close(held);
#endif
    EXPECT_EQ(report().text(),
              "无法打开输出文件：" + settings.fileout + "（文件正被其他程序使用）");
    EXPECT_EQ(output(), "theirs");
    EXPECT_EQ(outputFolder(), std::vector<std::string>{"out.xlsx"});
}

}  // namespace
