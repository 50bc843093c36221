#pragma once

#include <QDialog>

#include "DialogControls.h"
#include "OptionsDlgLogic.h"
#include "TemplateWidgets.h"

class CCore;

// The options dialog in Qt Widgets, built from the options template like the main dialog,
// driving the toolkit-free COptionsDlgLogic. 确定 closes it only once the options are saved.
class COptionsDlg : public QDialog, private TemplateView<DialogControls> {
  public:
    COptionsDlg(CCore& core, QWidget* parent);

    void accept() override;

  private:
    void warn(const std::string& text) override;

    CCore& m_core;
    COptionsDlgLogic m_logic;
};
