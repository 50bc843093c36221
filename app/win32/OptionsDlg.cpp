#include "OptionsDlg.h"

#include "CCore.h"
#include "resource.h"

COptionsDlg::COptionsDlg(CCore& core)
    : CModalDialog(IDD_OPTIONS), m_core(core), m_logic(*this, core) {}

BOOL COptionsDlg::onInitDialog() {
    m_logic.initDialog();
    return TRUE;
}

bool COptionsDlg::onMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDOK)
        return false;
    if (m_logic.accept())
        endDialog(IDOK);
    return true;
}

void COptionsDlg::warn(const std::string& text) {
    m_core.msgboxWarning(hwnd(), text);
}
