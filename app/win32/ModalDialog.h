#pragma once

#include <windows.h>

// The little of a dialog class the main dialog needs: a dialog from a template, run
// modally by a loop of its own that offers every message to preTranslateMessage first,
// then to the dialog's keyboard handling. IDOK, IDCANCEL and WM_CLOSE end the loop; the
// window is then destroyed, so WM_DESTROY still finds its controls.
class CModalDialog {
  public:
    explicit CModalDialog(int templateId) : m_templateId(templateId) {}
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;
    virtual ~CModalDialog() = default;

    // Returns the code the dialog was ended with, or -1 when it could not be created. An
    // owner is disabled while the dialog runs, as a box's owner is.
    INT_PTR doModal(HWND owner = nullptr);

    HWND hwnd() const { return m_hwnd; }

  protected:
    // The result of WM_INITDIALOG: true lets the dialog focus its first tab stop.
    virtual BOOL onInitDialog() { return TRUE; }
    // True when the message is taken and must not be dispatched.
    virtual bool preTranslateMessage(MSG& /*msg*/) { return false; }
    // A message of the dialog procedure; return false for the default handling.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

    void endDialog(INT_PTR code);

  private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hwnd = nullptr;
    bool m_ended = false;
    INT_PTR m_result = 0;
};
