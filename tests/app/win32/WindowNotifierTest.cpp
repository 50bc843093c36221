#include "WindowNotifier.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "CCore.h"
#include "TempDir.h"
#include "TestShell.h"

namespace {

std::vector<std::pair<UINT, LPARAM>> g_received;

LRESULT CALLBACK recordNotices(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCAN_PROGRESS || message == WM_SCAN_DONE) {
        EXPECT_EQ(wParam, 0u);
        g_received.emplace_back(message, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A real (message-only) window on this thread, its notices taken by this thread's
// message loop.
class NoticeWindow {
  public:
    NoticeWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = recordNotices;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TarnelNoticeTest";
        RegisterClassA(&windowClass);
        m_window = CreateWindowA("TarnelNoticeTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    }
    ~NoticeWindow() { DestroyWindow(m_window); }
    HWND handle() const { return m_window; }

    // Dispatches messages until WM_SCAN_DONE has been handled.
    void pumpUntilDone() {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
            if (message.message == WM_SCAN_DONE)
                return;
        }
    }

  private:
    HWND m_window = nullptr;
};

TEST(WindowNotifier, postsTheJobsNoticesToTheWindowsMessageLoop) {
    TempDir folder;
    for (const char* name : {"a.doc", "b.docx", "c.txt"})
        folder.write(name);
    NoticeWindow window;
    ASSERT_NE(window.handle(), nullptr);
    g_received.clear();

    JobSettings settings;
    settings.pathuser = folder.path();
    settings.rename = 1;
    auto command = std::make_shared<CommandWord>();
    command->clear();
    auto notifier = std::make_shared<WindowNotifier>(window.handle());
    std::unique_ptr<JobHandle> job =
        startJob(JobRequest{settings, std::make_shared<CCore>(),
                            std::make_shared<TestShellBackend>(), command},
                 notifier);
    ASSERT_NE(job, nullptr);
    window.pumpUntilDone();
    job->wait();

    std::vector<std::pair<UINT, LPARAM>> expected{
        {WM_SCAN_PROGRESS, 1}, {WM_SCAN_PROGRESS, 2}, {WM_SCAN_DONE, 2}};
    EXPECT_EQ(g_received, expected);
    // The report waits for the window, once.
    EXPECT_EQ(notifier->takeReport().documents(), 2);
    EXPECT_EQ(notifier->takeReport().documents(), 0);
}

TEST(WindowNotifier, failsSilentlyForAWindowThatIsGone) {
    NoticeWindow window;
    HWND gone = window.handle();
    DestroyWindow(gone);
    WindowNotifier(gone).progress(1);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_SCAN_PROGRESS, WM_SCAN_PROGRESS, PM_REMOVE));
}

}  // namespace
