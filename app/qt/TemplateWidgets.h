#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>

#include "DialogTemplate.h"

class QDialog;
class QWidget;

// A dialog's controls built from its template table: the Windows template's controls, ids
// (as object names), texts, tab order and geometry at the dialog's font.
class TemplateWidgets {
  public:
    // Sizes the dialog and makes its controls; a click on a button or box calls clicked(id).
    void build(QDialog& dialog, std::span<const TemplateControl> controls, int widthUnits,
               int heightUnits, const std::function<void(int id)>& clicked);
    QWidget* control(int id) const { return m_controls.at(id); }

    std::string text(int id) const;
    void setText(int id, const std::string& text);
    int checkState(int id) const;
    void setCheckState(int id, int state);
    void enable(int id, bool enabled);
    void focus(int id);

  private:
    std::map<int, QWidget*> m_controls;
};

// A view of DialogControls whose controls are TemplateWidgets; the dialog adds warn().
template <class View>
class TemplateView : public View {
  protected:
    std::string text(int id) override { return m_widgets.text(id); }
    void setText(int id, const std::string& text) override { m_widgets.setText(id, text); }
    int checkState(int id) override { return m_widgets.checkState(id); }
    void setCheckState(int id, int state) override { m_widgets.setCheckState(id, state); }
    void enable(int id, bool enabled) override { m_widgets.enable(id, enabled); }
    void focus(int id) override { m_widgets.focus(id); }

    TemplateWidgets m_widgets;
};
