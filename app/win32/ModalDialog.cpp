#include "ModalDialog.h"

INT_PTR CModalDialog::doModal(HWND owner) {
    m_ended = false;
    HWND window =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner,
                           &CModalDialog::dialogProc, reinterpret_cast<LPARAM>(this));
    if (!window)
        return -1;
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (!m_ended) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to an outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (preTranslateMessage(msg))
            continue;
        if (IsDialogMessageA(m_hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The owner takes the activation back only when it is enabled before this window goes.
    if (owner)
        EnableWindow(owner, TRUE);
    DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    return m_result;
}

void CModalDialog::endDialog(INT_PTR code) {
    m_result = code;
    m_ended = true;
}

INT_PTR CALLBACK CModalDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CModalDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
        return self->onInitDialog();
    }
    if (!self)
        return FALSE;
    INT_PTR result = 0;
    if (self->onMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                self->endDialog(LOWORD(wParam));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            self->endDialog(IDCANCEL);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            break;
        default:
            break;
    }
    return FALSE;
}
