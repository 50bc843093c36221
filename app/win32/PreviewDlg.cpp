#include "PreviewDlg.h"

#include <commctrl.h>

#include "resource.h"

CPreviewDlg::CPreviewDlg(std::vector<JobReport::PreviewRow> rows)
    : CModalDialog(IDD_PREVIEW), m_table(std::move(rows)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

HWND CPreviewDlg::list() const {
    return GetDlgItem(hwnd(), IDC_PREVIEW_LIST);
}

BOOL CPreviewDlg::onInitDialog() {
    SendMessageA(list(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    RECT widths{0, 0, 150, 0};
    MapDialogRect(hwnd(), &widths);
    for (int column = 0; column < CPreviewTable::kColumns; ++column) {
        LVCOLUMNA heading{};
        heading.mask = LVCF_TEXT | LVCF_WIDTH;
        heading.pszText = const_cast<char*>(CPreviewTable::heading(column));
        heading.cx = column == CPreviewTable::Note ? widths.right * 2 / 3 : widths.right;
        SendMessageA(list(), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&heading));
    }
    m_table.sort(m_nSortColumn, m_bAscending);
    showRows();
    return TRUE;
}

void CPreviewDlg::showRows() {
    SendMessageA(list(), LVM_SETITEMCOUNT, m_table.rowCount(), 0);
    InvalidateRect(list(), nullptr, TRUE);
}

bool CPreviewDlg::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR&) {
    if (message == WM_NOTIFY) {
        onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return true;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    switch (LOWORD(wParam)) {
        case IDC_PREVIEW_KEPT:
            m_table.showKeptOnly(IsDlgButtonChecked(hwnd(), IDC_PREVIEW_KEPT) == BST_CHECKED);
            showRows();
            return true;
        case IDC_PREVIEW_RUN:
            m_choice = PreviewChoice::Rename;
            endDialog(IDOK);
            return true;
        case IDC_PREVIEW_OPTIONS:
            m_choice = PreviewChoice::Options;
            endDialog(IDOK);
            return true;
        default:
            return false;
    }
}

void CPreviewDlg::onNotify(const NMHDR& header) {
    if (header.idFrom != IDC_PREVIEW_LIST)
        return;
    if (header.code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header))->item;
        if ((item.mask & LVIF_TEXT) && static_cast<std::size_t>(item.iItem) < m_table.rowCount())
            lstrcpynA(item.pszText,
                      m_table.cell(static_cast<std::size_t>(item.iItem), item.iSubItem).c_str(),
                      item.cchTextMax);
    } else if (header.code == LVN_COLUMNCLICK) {
        int column = reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem;
        m_bAscending = column == m_nSortColumn ? !m_bAscending : true;
        m_nSortColumn = column;
        m_table.sort(m_nSortColumn, m_bAscending);
        showRows();
    }
}
