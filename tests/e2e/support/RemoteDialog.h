#pragma once

#include <windows.h>

#include <string>

// The main dialog of a program the test started, driven by window messages as another
// program would drive it: texts set with WM_SETTEXT and read with WM_GETTEXT, buttons
// pressed with BM_CLICK.
class RemoteDialog {
  public:
    // Waits for the process's dialog to appear; found() tells whether it did.
    explicit RemoteDialog(DWORD processId);

    bool found() const { return m_dialog != nullptr; }
    HWND window() const { return m_dialog; }
    HWND control(int id) const { return GetDlgItem(m_dialog, id); }
    std::string text(int id) const;
    void setText(int id, const std::string& text) const;
    void click(int id) const;
    bool checked(int id) const;
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != 0; }
    // A visible window the dialog owns (a message box), or nullptr.
    HWND ownedWindow() const;
    void close() const { PostMessageA(m_dialog, WM_CLOSE, 0, 0); }

  private:
    DWORD m_processId;
    HWND m_dialog = nullptr;
};

std::string windowText(HWND window);
