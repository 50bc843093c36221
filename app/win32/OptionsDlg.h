#pragma once

#include <windows.h>

#include "DialogControls.h"
#include "DialogItems.h"
#include "ModalDialog.h"
#include "OptionsDlgLogic.h"

class CCore;

// The options dialog over plain Win32, template IDD_OPTIONS, driving COptionsDlgLogic:
// 确定 (or Enter) ends it only once the options are saved, 取消 (or Esc) at once.
class COptionsDlg : public CModalDialog, private DialogItems<DialogControls> {
  public:
    explicit COptionsDlg(CCore& core);

  protected:
    BOOL onInitDialog() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    HWND itemsWindow() const override { return hwnd(); }
    void warn(const std::string& text) override;

    CCore& m_core;
    COptionsDlgLogic m_logic;
};
