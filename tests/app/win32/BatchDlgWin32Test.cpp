#include "BatchDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CCore.h"
#include "ConfigHome.h"
#include "FileServices.h"
#include "GatedDocuments.h"
#include "JobSettings.h"
#include "TestShell.h"
#include "resource.h"

namespace {

struct WindowSearch {
    HWND owner, found;
};

// Windows calls this with its own calling convention (__stdcall on i686).
BOOL CALLBACK visibleWindowOwnedBy(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The real dialog on a thread of its own, driven from the test's thread by messages, as
// another program would drive it.
class DialogThread {
  public:
    explicit DialogThread(std::shared_ptr<ShellBackend> shell)
        : m_thread([this, shell] {
              m_threadId = GetCurrentThreadId();
              CBatchDlg dialog(m_starter, shell);
              dialog.doModal();
              m_ended = true;
          }) {
        waitFor([this] { return (m_dialog = findWindow(nullptr)) != nullptr; });
    }
    ~DialogThread() {
        if (!m_ended)
            PostMessageA(m_dialog, WM_CLOSE, 0, 0);
        m_thread.join();
    }

    HWND dialog() const { return m_dialog; }
    HWND control(int id) const { return GetDlgItem(m_dialog, id); }
    // A window the dialog owns: a message box, a chooser or the about box.
    HWND ownedWindow() const { return findWindow(m_dialog); }
    bool ended() const { return m_ended; }
    void close() {
        PostMessageA(m_dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(waitFor([this] { return ended(); }));
    }

    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(m_threadId, &info);
        return info.hwndFocus;
    }

  private:
    HWND findWindow(HWND owner) const {
        WindowSearch search{owner, nullptr};
        EnumThreadWindows(m_threadId, visibleWindowOwnedBy, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    ThreadJobStarter m_starter;
    std::atomic<DWORD> m_threadId{0};
    std::atomic<bool> m_ended{false};
    HWND m_dialog = nullptr;
    std::thread m_thread;
};

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool checked(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void setText(HWND control, const std::string& text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void postKey(HWND window, UINT message, WPARAM key, LPARAM flags = 0) {
    PostMessageA(window, message, key, 1 | flags);
}

class BatchDlgWin32Test : public ::testing::Test {
  protected:
    ConfigHome home;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
};

TEST_F(BatchDlgWin32Test, startsEmptyWithTheDependentControlsDisabledAndTheFocusOnStart) {
    DialogThread ui(shell);
    EXPECT_EQ(windowText(ui.dialog()), "Tarnel");
    RECT size{0, 0, 386, 241}, client;
    MapDialogRect(ui.dialog(), &size);
    GetClientRect(ui.dialog(), &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    for (int id : {IDC_PATHUSER, IDC_PROPIDS, IDC_FILEOUT}) {
        EXPECT_EQ(windowText(ui.control(id)), "");
    }
    for (int id : {IDC_GETPROPS, IDC_COLFULLNAME, IDC_RENAME})
        EXPECT_FALSE(checked(ui.control(id)));
    for (int id : {IDC_PROPIDS, IDC_FILEOUT, IDC_PROPIDS_REF, IDC_BROWSE_OUT, IDC_OPEN_OUT,
                   IDC_COLFULLNAME}) {
        EXPECT_FALSE(IsWindowEnabled(ui.control(id))) << id;
    }
    EXPECT_TRUE(IsWindowEnabled(ui.control(IDC_RENAME)));
    EXPECT_EQ(windowText(ui.control(IDC_RUN)), "开始");
    EXPECT_EQ(windowText(ui.control(IDC_STATUS)), "就绪");
    EXPECT_EQ(ui.focus(), ui.control(IDC_RUN));
    postKey(ui.control(IDC_RUN), WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(waitFor([&] { return ui.focus() == ui.control(IDC_PATHUSER); }));

    click(ui.control(IDC_GETPROPS));
    const int dependents[] = {IDC_PROPIDS,    IDC_FILEOUT,  IDC_PROPIDS_REF,
                              IDC_BROWSE_OUT, IDC_OPEN_OUT, IDC_COLFULLNAME};
    EXPECT_TRUE(waitFor([&] {
        for (int id : dependents) {
            if (!IsWindowEnabled(ui.control(id)))
                return false;
        }
        return true;
    }));
}

TEST_F(BatchDlgWin32Test, aFailedCheckShowsAWarningOwnedByTheDialogThenFocusesTheField) {
    DialogThread ui(shell);
    click(ui.control(IDC_RUN));
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = ui.ownedWindow()) != nullptr; }));
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), "要处理的目录不能为空！");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return ui.focus() == ui.control(IDC_PATHUSER); }));
    EXPECT_EQ(windowText(ui.control(IDC_RUN)), "开始");
}

TEST_F(BatchDlgWin32Test, enterEscAndSystemKeysAreSwallowedWhileSpaceAndTabWork) {
    DialogThread ui(shell);
    HWND edit = ui.control(IDC_PATHUSER);
    postKey(edit, WM_KEYDOWN, VK_RETURN);
    postKey(edit, WM_KEYDOWN, VK_ESCAPE);
    postKey(ui.control(IDC_RUN), WM_KEYDOWN, VK_RETURN);
    postKey(ui.dialog(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
    postKey(ui.dialog(), WM_SYSKEYDOWN, VK_SPACE, 1 << 29);
    postKey(ui.dialog(), WM_SYSKEYDOWN, VK_F10);
    // Posted messages are taken in order: once the check box has answered, the keys are
    // behind us.
    click(ui.control(IDC_RENAME));
    ASSERT_TRUE(waitFor([&] { return checked(ui.control(IDC_RENAME)); }));
    EXPECT_FALSE(ui.ended());
    EXPECT_EQ(ui.ownedWindow(), nullptr);

    SendMessageA(ui.dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ui.control(IDC_GETPROPS)),
                 TRUE);
    postKey(ui.control(IDC_GETPROPS), WM_KEYDOWN, VK_SPACE);
    postKey(ui.control(IDC_GETPROPS), WM_KEYUP, VK_SPACE, 0xC0000000);
    EXPECT_TRUE(waitFor([&] { return checked(ui.control(IDC_GETPROPS)); }));
    EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(ui.control(IDC_PROPIDS)) != 0; }));
}

TEST_F(BatchDlgWin32Test, closeSavesTheSettingsAsShown) {
    {
        DialogThread ui(shell);
        setText(ui.control(IDC_PATHUSER), "C:\\文档\\");
        click(ui.control(IDC_GETPROPS));
        click(ui.control(IDC_RENAME));
        ASSERT_TRUE(waitFor([&] { return checked(ui.control(IDC_RENAME)); }));
        setText(ui.control(IDC_PROPIDS), "2,21");
        setText(ui.control(IDC_FILEOUT), "out.csv");
        ui.close();
    }
    CCore core;
    JobSettings saved = loadJobSettings(core);
    EXPECT_EQ(saved.pathuser, "C:\\文档\\");
    EXPECT_EQ(saved.propids, "2,21");
    EXPECT_EQ(saved.fileout, "out.csv");
    EXPECT_EQ(saved.getprops, 1);
    EXPECT_EQ(saved.colfullname, 0);
    EXPECT_EQ(saved.rename, 1);

    DialogThread again(shell);
    EXPECT_EQ(windowText(again.control(IDC_PROPIDS)), "2,21");
    EXPECT_TRUE(checked(again.control(IDC_GETPROPS)));
    EXPECT_TRUE(IsWindowEnabled(again.control(IDC_PROPIDS)));
}

std::string undoEntryText(HWND dialog) {
    char text[128] = {};
    GetMenuStringA(GetSystemMenu(dialog, FALSE), CBatchDlg::kUndoRenamesCommand, text, sizeof text,
                   MF_BYCOMMAND);
    return text;
}

bool undoEntryGreyed(HWND dialog) {
    return (GetMenuState(GetSystemMenu(dialog, FALSE), CBatchDlg::kUndoRenamesCommand,
                         MF_BYCOMMAND) &
            MF_GRAYED) != 0;
}

TEST_F(BatchDlgWin32Test, theSystemMenuUndoesTheLastRenamesAfterAskingButNotDuringAJob) {
    GatedDocuments folder(*shell, {"a.docx", "b.docx"});
    shell->setTitle("a.docx", "ta");
    shell->setTitle("b.docx", "tb");
    DialogThread ui(shell);
    EXPECT_EQ(undoEntryText(ui.dialog()), "撤销上次重命名…");
    EXPECT_FALSE(undoEntryGreyed(ui.dialog()));
    setText(ui.control(IDC_PATHUSER), folder.path());
    click(ui.control(IDC_RENAME));
    click(ui.control(IDC_RUN));
    HWND status = ui.control(IDC_STATUS);
    ASSERT_TRUE(waitFor([&] { return windowText(status) == "正处理第 1 个文件..."; }));
    EXPECT_TRUE(undoEntryGreyed(ui.dialog()));
    folder.allow(2);
    ASSERT_TRUE(waitFor([&] { return windowText(status) == "执行完成！共 2 个文件。"; }));
    EXPECT_FALSE(undoEntryGreyed(ui.dialog()));
    EXPECT_TRUE(fileIdentity(folder.path() + "ta.docx"));

    PostMessageA(ui.dialog(), WM_SYSCOMMAND, CBatchDlg::kUndoRenamesCommand, 0);
    HWND question = nullptr;
    ASSERT_TRUE(waitFor([&] { return (question = ui.ownedWindow()) != nullptr; }));
    // A message box's text is the static control 0xFFFF.
    EXPECT_NE(windowText(GetDlgItem(question, 0xFFFF)).find("将这次任务改名的 2 个文件改回原名"),
              std::string::npos);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND report = nullptr;
    ASSERT_TRUE(waitFor([&] {
        report = ui.ownedWindow();
        return report != nullptr && report != question;
    }));
    EXPECT_NE(windowText(GetDlgItem(report, 0xFFFF)).find("已恢复原名 2 个文件。"),
              std::string::npos);
    PostMessageA(report, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(fileIdentity(folder.path() + "a.docx"));
    EXPECT_TRUE(fileIdentity(folder.path() + "b.docx"));
}

TEST_F(BatchDlgWin32Test, aJobThatEndsWhileTheAboutBoxIsOpenStillReturnsToIdle) {
    GatedDocuments folder(*shell, {"a.docx", "b.doc", "c.docx"});
    DialogThread ui(shell);
    setText(ui.control(IDC_PATHUSER), folder.path());
    click(ui.control(IDC_RENAME));
    click(ui.control(IDC_RUN));
    HWND status = ui.control(IDC_STATUS);
    ASSERT_TRUE(waitFor([&] { return windowText(status) == "正处理第 1 个文件..."; }));
    EXPECT_EQ(windowText(ui.control(IDC_RUN)), "停止");

    click(ui.control(IDC_ABOUT));
    HWND about = nullptr;
    ASSERT_TRUE(waitFor([&] { return (about = ui.ownedWindow()) != nullptr; }));
    folder.allow(3);
    EXPECT_TRUE(waitFor([&] { return windowText(status) == "执行完成！共 3 个文件。"; }));
    EXPECT_EQ(windowText(ui.control(IDC_RUN)), "执行");
    EXPECT_TRUE(IsWindowEnabled(ui.control(IDC_RUN)));
    EXPECT_TRUE(IsWindow(about));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return ui.ownedWindow() == nullptr; }));
}

}  // namespace
