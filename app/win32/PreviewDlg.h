#pragma once

#include <windows.h>

#include <vector>

#include "BatchView.h"
#include "ModalDialog.h"
#include "PreviewTable.h"

// The rename preview window over plain Win32, template IDD_PREVIEW: a list view in virtual
// mode (LVS_OWNERDATA) that asks for the cells it draws, so a table of any length opens at
// once; a click on a heading sorts by that column, again the other way.
class CPreviewDlg : public CModalDialog {
  public:
    explicit CPreviewDlg(std::vector<JobReport::PreviewRow> rows);

    PreviewChoice choice() const { return m_choice; }

  protected:
    BOOL onInitDialog() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    HWND list() const;
    void showRows();
    void onNotify(const NMHDR& header);

    CPreviewTable m_table;
    int m_nSortColumn = CPreviewTable::OldName;
    bool m_bAscending = true;
    PreviewChoice m_choice = PreviewChoice::Close;
};
