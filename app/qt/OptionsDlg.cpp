#include "OptionsDlg.h"

#include "CCore.h"
#include "OptionsTemplate.h"
#include "resource.h"

COptionsDlg::COptionsDlg(CCore& core, QWidget* parent)
    : QDialog(parent), m_core(core), m_logic(*this, core) {
    setWindowTitle(QString::fromUtf8(kOptionsCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(parent->font());
    m_widgets.build(*this, optionsTemplate(), kOptionsWidthUnits, kOptionsHeightUnits,
                    [this](int id) {
                        if (id == IDOK)
                            accept();
                        else if (id == IDCANCEL)
                            reject();
                    });
    m_logic.initDialog();
}

void COptionsDlg::accept() {
    if (m_logic.accept())
        QDialog::accept();
}

void COptionsDlg::warn(const std::string& text) {
    m_core.msgboxWarning(this, text);
}
