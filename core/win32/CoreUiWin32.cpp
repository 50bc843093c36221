// The boxes and choosers of CCore on Windows.
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "../CCore.h"

std::string CCore::fileTxtSave(std::string offeredName) {
    // Room for long paths; the chooser never writes past nMaxFile.
    std::vector<char> path(32768, '\0');
    offeredName.copy(path.data(), path.size() - 1);
    // CSV first, as the offered name; the default extension follows the filter chosen.
    static const char kFilter[] =
        "CSV (*.csv)\0*.csv\0Excel 工作簿 (*.xlsx)\0*.xlsx\0* (*.*)\0*.*\0";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = "csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&dialog))
        return {};
    return path.data();
}

void CCore::openUrl(std::string path) {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CCore::msgboxWarning(OwnerWindow owner, std::string text) {
    MessageBoxA(static_cast<HWND>(owner), text.c_str(), "Tarnel", MB_OK | MB_ICONWARNING);
}
