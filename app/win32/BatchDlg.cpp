#include "BatchDlg.h"

#include <shlobj.h>

#include "OptionsDlg.h"
#include "PreviewDlg.h"
#include "resource.h"

namespace {

int CALLBACK browseCallback(HWND hwnd, UINT message, LPARAM, LPARAM selection) {
    if (message == BFFM_INITIALIZED && selection) {
        SendMessageA(hwnd, BFFM_SETSELECTIONA, 1, selection);
    }
    return 0;
}

INT_PTR CALLBACK aboutProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

CBatchDlg::CBatchDlg(JobStarter& starter, std::shared_ptr<ShellBackend> shell)
    : CModalDialog(IDD_MAIN),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_hSmallIcon(static_cast<HICON>(
          LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))),
      m_logic(*this, starter, std::move(shell)) {}

BOOL CBatchDlg::onInitDialog() {
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    m_notifier = std::make_shared<WindowNotifier>(hwnd());
    // The template stays as it is: the command goes to the window's system menu.
    HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, kOptionsCommand, kOptionsText);
    AppendMenuA(systemMenu, MF_STRING, kPreviewRenamesCommand, kPreviewRenamesText);
    AppendMenuA(systemMenu, MF_STRING, kUndoRenamesCommand, kUndoRenamesText);
    m_logic.initDialog();
    return TRUE;
}

bool CBatchDlg::preTranslateMessage(MSG& msg) {
    // Enter and Esc would press the default button or cancel; system keys would open the
    // system menu or close the dialog (Alt+F4, Alt+Space, F10).
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        return true;
    }
    return msg.message == WM_SYSKEYDOWN;
}

bool CBatchDlg::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_SCAN_PROGRESS:
            m_logic.scanProgress(static_cast<std::int32_t>(lParam));
            return true;
        case WM_SCAN_DONE:
            m_logic.scanDone(m_notifier->takeReport());
            return true;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) == IDOK ||
                LOWORD(wParam) == IDCANCEL) {
                return false;
            }
            m_logic.command(LOWORD(wParam));
            return true;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case kOptionsCommand:
                    m_logic.editOptions();
                    return true;
                case kPreviewRenamesCommand:
                    m_logic.previewRenames();
                    return true;
                case kUndoRenamesCommand:
                    m_logic.undoLastRenames();
                    return true;
                default:
                    return false;
            }
        case WM_PAINT:
            if (!IsIconic(hwnd()))
                return false;
            paintMinimised();
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(m_hIcon);
            return true;
        case WM_DESTROY:
            m_logic.destroy();
            return false;
        default:
            return false;
    }
}

void CBatchDlg::paintMinimised() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(hwnd(), &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(hwnd(), &paint);
}

void CBatchDlg::warn(const std::string& text) {
    m_logic.core().msgboxWarning(hwnd(), text);
}

bool CBatchDlg::confirm(const std::string& text) {
    return MessageBoxA(hwnd(), text.c_str(), "Tarnel", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CBatchDlg::enableWindowCommands(bool enabled) {
    for (UINT command : {kOptionsCommand, kPreviewRenamesCommand, kUndoRenamesCommand}) {
        EnableMenuItem(GetSystemMenu(hwnd(), FALSE), command,
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

bool CBatchDlg::editOptions() {
    COptionsDlg options(m_logic.core());
    return options.doModal(hwnd()) == IDOK;
}

PreviewChoice CBatchDlg::showPreview(const std::vector<JobReport::PreviewRow>& rows) {
    CPreviewDlg preview(rows);
    preview.doModal(hwnd());
    return preview.choice();
}

std::optional<std::string> CBatchDlg::chooseFolder(const std::optional<std::string>& initial) {
    char selection[MAX_PATH] = {};
    bool selected = initial && initial->size() < sizeof selection;
    if (selected)
        initial->copy(selection, initial->size());
    BROWSEINFOA browse{};
    browse.hwndOwner = hwnd();
    browse.lpszTitle = "请指定目录：";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = browseCallback;
    browse.lParam = selected ? reinterpret_cast<LPARAM>(selection) : 0;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
    if (!chosen)
        return std::nullopt;
    char path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    if (!ok)
        return std::nullopt;
    return std::string(path);
}

std::string CBatchDlg::chooseSaveFile(const std::string& offeredName) {
    return m_logic.core().fileTxtSave(offeredName);
}

void CBatchDlg::openFile(const std::string& path) {
    m_logic.core().openUrl(path);
}

void CBatchDlg::showAbout() {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), hwnd(), aboutProc,
                    0);
}
