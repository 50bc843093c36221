#include "BatchDlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CCore.h"
#include "ConfigHome.h"
#include "FileServices.h"
#include "GatedDocuments.h"
#include "JobSettings.h"
#include "NameTemplate.h"
#include "OptionsTemplate.h"
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
    // A window that one owns.
    HWND ownedBy(HWND owner) const { return findWindow(owner); }
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

constexpr UINT kCommands[] = {CBatchDlg::kOptionsCommand, CBatchDlg::kPreviewRenamesCommand,
                              CBatchDlg::kUndoRenamesCommand};

// The system menu's entries of the dialog's own, each as its text and "(greyed)" if it is.
std::vector<std::string> commandEntries(HWND dialog) {
    std::vector<std::string> entries;
    for (UINT command : kCommands) {
        char text[128] = {};
        HMENU menu = GetSystemMenu(dialog, FALSE);
        GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
        bool greyed = (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
        entries.push_back(std::string(text) + (greyed ? " (greyed)" : ""));
    }
    return entries;
}

TEST_F(BatchDlgWin32Test, theSystemMenuUndoesTheLastRenamesAfterAskingButNotDuringAJob) {
    GatedDocuments folder(*shell, {"a.docx", "b.docx"});
    shell->setTitle("a.docx", "ta");
    shell->setTitle("b.docx", "tb");
    DialogThread ui(shell);
    using Entries = std::vector<std::string>;
    EXPECT_EQ(commandEntries(ui.dialog()), (Entries{"选项…", "预览重命名…", "撤销上次重命名…"}));
    setText(ui.control(IDC_PATHUSER), folder.path());
    click(ui.control(IDC_RENAME));
    click(ui.control(IDC_RUN));
    HWND status = ui.control(IDC_STATUS);
    ASSERT_TRUE(waitFor([&] { return windowText(status) == "正处理第 1 个文件..."; }));
    EXPECT_EQ(commandEntries(ui.dialog()),
              (Entries{"选项… (greyed)", "预览重命名… (greyed)", "撤销上次重命名… (greyed)"}));
    folder.allow(2);
    ASSERT_TRUE(waitFor([&] { return windowText(status) == "执行完成！共 2 个文件。"; }));
    EXPECT_EQ(commandEntries(ui.dialog()), (Entries{"选项…", "预览重命名…", "撤销上次重命名…"}));
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

// Whether the control shows the UTF-8 text, compared in UTF-16 as the resource holds it.
bool showsText(HWND control, const char8_t* text) {
    wchar_t expected[128] = {};
    wchar_t shown[128] = {};
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(text), -1, expected, 128);
    GetWindowTextW(control, shown, 128);
    return wcscmp(expected, shown) == 0;
}

// The options window from the system menu, its controls those of the table where the table
// puts them, its refusal and its save.
TEST_F(BatchDlgWin32Test, theOptionsWindowHasTheTablesControlsAndSavesOnlyWhatItAccepts) {
    DialogThread ui(shell);
    PostMessageA(ui.dialog(), WM_SYSCOMMAND, CBatchDlg::kOptionsCommand, 0);
    HWND options = nullptr;
    ASSERT_TRUE(waitFor([&] { return (options = ui.ownedWindow()) != nullptr; }));
    EXPECT_EQ(windowText(options), "选项");
    EXPECT_FALSE(IsWindowEnabled(ui.dialog()));
    for (const TemplateControl& c : optionsTemplate()) {
        if (c.id == 0)
            continue;
        HWND control = GetDlgItem(options, c.id);
        ASSERT_TRUE(control) << c.name;
        if (c.kind != TemplateControl::Edit) {
            EXPECT_TRUE(showsText(control, c.text)) << c.name;
        }
        // Windows maps the position and the size each on its own.
        RECT expected{c.x, c.y, c.width, c.height}, actual;
        MapDialogRect(options, &expected);
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, options, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.name;
        EXPECT_EQ(actual.top, expected.top) << c.name;
        EXPECT_EQ(actual.right - actual.left, expected.right) << c.name;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.name;
    }
    EXPECT_TRUE(checked(GetDlgItem(options, IDC_OPT_WORD)));
    EXPECT_EQ(windowText(GetDlgItem(options, IDC_OPT_TEMPLATE)), "{21}");

    click(GetDlgItem(options, IDC_OPT_SUBFOLDERS));
    setText(GetDlgItem(options, IDC_OPT_TEMPLATE), "{20");
    click(GetDlgItem(options, IDOK));
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = ui.ownedBy(options)) != nullptr; }));
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              std::get<std::string>(NameTemplate::parse("{20")));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return ui.focus() == GetDlgItem(options, IDC_OPT_TEMPLATE); }));
    EXPECT_EQ(loadJobSettings(*std::make_unique<CCore>()).subfolders, 0);
    setText(GetDlgItem(options, IDC_OPT_TEMPLATE), "{20} - {21}");
    click(GetDlgItem(options, IDOK));
    ASSERT_TRUE(waitFor([&] { return ui.ownedWindow() == nullptr; }));
    EXPECT_TRUE(IsWindowEnabled(ui.dialog()));
    CCore core;
    EXPECT_EQ(loadJobSettings(core).subfolders, 1);
    EXPECT_EQ(loadJobSettings(core).nametemplate, "{20} - {21}");
}

std::vector<std::string> listRows(HWND list) {
    std::vector<std::string> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::string cells;
        for (int column = 0; column < 3; ++column) {
            char text[260] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            cells += (column ? "|" : "") + std::string(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

TEST_F(BatchDlgWin32Test, thePreviewListsTheRenamesInAVirtualListAndRunsThemOnRequest) {
    TempDir folder;
    for (const char* name : {"a.docx", "b.docx", "c.docx"})
        folder.write(name);
    shell->setTitle("a.docx", "ta");
    shell->setTitle("c.docx", "tc");
    DialogThread ui(shell);
    setText(ui.control(IDC_PATHUSER), folder.path());
    PostMessageA(ui.dialog(), WM_SYSCOMMAND, CBatchDlg::kPreviewRenamesCommand, 0);
    HWND preview = nullptr;
    ASSERT_TRUE(waitFor([&] { return (preview = ui.ownedWindow()) != nullptr; }));
    EXPECT_EQ(windowText(preview), "预览重命名");
    HWND list = GetDlgItem(preview, IDC_PREVIEW_LIST);
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LVS_OWNERDATA);
    using Rows = std::vector<std::string>;
    EXPECT_EQ(listRows(list), (Rows{"a.docx|ta.docx|", "b.docx||标题为空", "c.docx|tc.docx|"}));
    click(GetDlgItem(preview, IDC_PREVIEW_KEPT));
    EXPECT_TRUE(waitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(listRows(list), Rows{"b.docx||标题为空"});
    EXPECT_TRUE(fileIdentity(folder.file("a.docx")));

    click(GetDlgItem(preview, IDC_PREVIEW_RUN));
    EXPECT_TRUE(waitFor([&] { return fileIdentity(folder.file("tc.docx")).has_value(); }));
    EXPECT_TRUE(waitFor([&] { return windowText(ui.control(IDC_RUN)) == "执行"; }));
    EXPECT_EQ(ui.ownedWindow(), nullptr);
    EXPECT_TRUE(fileIdentity(folder.file("ta.docx")));
    EXPECT_TRUE(fileIdentity(folder.file("b.docx")));
}

}  // namespace
