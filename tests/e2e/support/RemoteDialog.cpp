#include "RemoteDialog.h"

#include <vector>

#include "TempDir.h"

namespace {

struct WindowSearch {
    DWORD processId;
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        GetWindow(window, GW_OWNER) != search->owner) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND findTopWindow(DWORD processId, HWND owner) {
    WindowSearch search{processId, owner, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

RemoteDialog::RemoteDialog(DWORD processId) : m_processId(processId) {
    waitFor([this] { return (m_dialog = findTopWindow(m_processId, nullptr)) != nullptr; },
            std::chrono::seconds(60));
}

std::string RemoteDialog::text(int id) const {
    return windowText(control(id));
}

void RemoteDialog::setText(int id, const std::string& text) const {
    SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void RemoteDialog::click(int id) const {
    PostMessageA(control(id), BM_CLICK, 0, 0);
}

bool RemoteDialog::checked(int id) const {
    return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND RemoteDialog::ownedWindow() const {
    return findTopWindow(m_processId, m_dialog);
}

std::string windowText(HWND window) {
    auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    auto copied =
        SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data(), static_cast<std::size_t>(copied));
}
