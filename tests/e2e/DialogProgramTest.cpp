// Tarnel.exe end to end: the real program driven through its window from another process,
// its shell the stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "ChildProcess.h"
#include "ConfigHome.h"
#include "DocumentFolders.h"
#include "IniStore.h"
#include "RemoteDialog.h"
#include "StandInFiles.h"
#include "resource.h"

namespace {

class DialogProgramTest : public ::testing::Test {
  protected:
    // A copy of the program in a folder of the test's, where it writes its _propids.txt.
    DialogProgramTest() {
        CopyFileA((programFolder() + "Tarnel.exe").c_str(), program().c_str(), TRUE);
    }
    std::string program() const { return installFolder.file("Tarnel.exe"); }

    // Clicks are taken in turn: the boxes that depend on the first are enabled by then.
    void startJob(const RemoteDialog& dialog, const std::string& folder, const char* columns,
                  std::initializer_list<int> moreBoxes = {}) {
        dialog.setText(IDC_PATHUSER, folder);
        dialog.setText(IDC_PROPIDS, columns);
        dialog.setText(IDC_FILEOUT, csv);
        dialog.click(IDC_GETPROPS);
        for (int box : moreBoxes)
            dialog.click(box);
        dialog.click(IDC_RUN);
    }

    // APPDATA for the programs started: their settings go to a folder of the test's.
    ConfigHome home;
    StandInFiles shell;
    TempDir installFolder;
    TempDir outFolder;
    const std::string csv = outFolder.file("属性.csv");
};

TEST_F(DialogProgramTest, aWholeJobEndsWithItsTotalAndCsvAndItsSettingsComeBackNextTime) {
    TitledDocuments documents(shell);
    {
        ChildProcess tarnel(program(), {});
        RemoteDialog dialog(tarnel.id());
        ASSERT_TRUE(dialog.found());
        EXPECT_EQ(readFile(installFolder.file("_propids.txt")),
                  "0\t名称\r\n21\t标题\r\n24\t备注\r\n");
        startJob(dialog, documents.path(), TitledDocuments::kColumns,
                 {IDC_COLFULLNAME, IDC_RENAME});
        EXPECT_TRUE(waitFor([&] { return dialog.text(IDC_STATUS) == "执行完成！共 7 个文件。"; }))
            << dialog.text(IDC_STATUS);
        EXPECT_EQ(dialog.text(IDC_RUN), "执行");
        // The documents that kept their names, and why: a title without a form in the code
        // page, a path for a title, a name another file has.
        HWND box = nullptr;
        ASSERT_TRUE(waitFor([&] { return (box = dialog.ownedWindow()) != nullptr; }));
        EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
                  "有 2 个文件保留原名（标题不能用作文件名）：生僻.doc、逃逸.doc\n"
                  "有 1 个文件保留原名（已有同名文件）：重名.doc");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitFor([&] { return dialog.ownedWindow() == nullptr; }));
        EXPECT_EQ(readFile(csv), documents.expectedCsv());
        EXPECT_EQ(folderContent(documents.path()), documents.expectedContent());
        dialog.close();
        EXPECT_EQ(tarnel.wait(), 0u);
    }
    EXPECT_TRUE(shell.everyReferenceReleased());

    ini_store::Entries saved = ini_store::parse(readFile(home.storeFile()));
    EXPECT_EQ(saved["pathuser"], documents.path());
    EXPECT_EQ(saved["propids"], TitledDocuments::kColumns);
    EXPECT_EQ(saved["fileout"], csv);
    EXPECT_EQ(saved["getprops"], "1");
    EXPECT_EQ(saved["colfullname"], "1");
    EXPECT_EQ(saved["rename"], "1");

    ChildProcess again(program(), {});
    RemoteDialog dialog(again.id());
    ASSERT_TRUE(dialog.found());
    EXPECT_EQ(dialog.text(IDC_PATHUSER), documents.path());
    EXPECT_EQ(dialog.text(IDC_PROPIDS), TitledDocuments::kColumns);
    EXPECT_EQ(dialog.text(IDC_FILEOUT), csv);
    for (int box : {IDC_GETPROPS, IDC_COLFULLNAME, IDC_RENAME})
        EXPECT_TRUE(dialog.checked(box)) << box;
    EXPECT_TRUE(dialog.enabled(IDC_PROPIDS));
    dialog.close();
    EXPECT_EQ(again.wait(), 0u);
}

TEST_F(DialogProgramTest, aJobWhoseShellFailsShowsTheCodeAndDescriptionAndReturnsToIdle) {
    FailingDocuments documents(shell);
    ChildProcess tarnel(program(), {});
    RemoteDialog dialog(tarnel.id());
    ASSERT_TRUE(dialog.found());
    startJob(dialog, documents.path(), FailingDocuments::kColumns);
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = dialog.ownedWindow()) != nullptr; }));
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              "处理文件出错：" + documents.failing() +
                  "（错误代码 0x80030005：文档被锁定），任务已停止。");
    EXPECT_EQ(dialog.text(IDC_STATUS), "执行完成！共 2 个文件。");
    EXPECT_EQ(dialog.text(IDC_RUN), "执行");
    EXPECT_TRUE(dialog.enabled(IDC_RUN));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return dialog.ownedWindow() == nullptr; }));
    EXPECT_EQ(readFile(csv), documents.expectedCsv());
    dialog.close();
    EXPECT_EQ(tarnel.wait(), 0u);
    EXPECT_TRUE(shell.everyReferenceReleased());
}

// The preview's 执行重命名 runs the rename the main dialog would: the same names, the same
// report of the names kept.
TEST_F(DialogProgramTest, thePreviewsRenameRenamesAsTheDialogsJobAndReportsTheSame) {
    TitledDocuments documents(shell);
    ChildProcess tarnel(program(), {});
    RemoteDialog dialog(tarnel.id());
    ASSERT_TRUE(dialog.found());
    dialog.setText(IDC_PATHUSER, documents.path());
    PostMessageA(dialog.window(), WM_SYSCOMMAND, IDM_PREVIEW_RENAMES, 0);
    HWND preview = nullptr;
    ASSERT_TRUE(waitFor([&] { return (preview = dialog.ownedWindow()) != nullptr; }));
    HWND list = GetDlgItem(preview, IDC_PREVIEW_LIST);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), documents.documentCount());
    EXPECT_NE(folderContent(documents.path()), documents.expectedContent());

    PostMessageA(GetDlgItem(preview, IDC_PREVIEW_RUN), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] {
        box = dialog.ownedWindow();
        return box != nullptr && box != preview;
    }));
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              "有 2 个文件保留原名（标题不能用作文件名）：生僻.doc、逃逸.doc\n"
              "有 1 个文件保留原名（已有同名文件）：重名.doc");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(folderContent(documents.path()), documents.expectedContent());
    EXPECT_EQ(dialog.text(IDC_STATUS), "执行完成！共 7 个文件。");
    dialog.close();
    EXPECT_EQ(tarnel.wait(), 0u);
}

}  // namespace
