#pragma once

#include <string>

#include "DialogControls.h"

class CCore;

// The options dialog's behaviour, apart from any toolkit: it shows the saved options and,
// on 确定, checks and saves them. A front-end owns one for each time the dialog opens.
class COptionsDlgLogic {
  public:
    COptionsDlgLogic(DialogControls& view, CCore& core) : m_view(view), m_core(core) {}

    // Shows the options as the settings file holds them.
    void initDialog();
    // 确定: a refused template or no kind ticked is told, with the focus put on its control,
    // and false returned; else the options are saved at once and kept by the main dialog.
    bool accept();

  private:
    DialogControls& m_view;
    CCore& m_core;
    // The kind list the dialog opened with: a kind box left ticked keeps its extensions.
    std::string m_shownTypes;
};
