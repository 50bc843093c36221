#include "TemplateWidgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// Dialog units to pixels the way Windows converts them: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font) {
        QFontMetrics metrics(font);
        int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        m_baseX = (letters / 26 + 1) / 2;
        m_baseY = metrics.height();
    }
    int x(int units) const { return (units * m_baseX + 2) / 4; }
    int y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect rect(const TemplateControl& c) const {
        return QRect(x(c.x), y(c.y), x(c.width), y(c.height));
    }

  private:
    int m_baseX;
    int m_baseY;
};

QWidget* makeControl(const TemplateControl& c, QWidget* parent) {
    QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case TemplateControl::Button:
        case TemplateControl::DefaultButton: {
            auto* button = new QPushButton(text, parent);
            // Enter presses the default button, where the template has one, and nothing else.
            button->setAutoDefault(false);
            button->setDefault(c.kind == TemplateControl::DefaultButton);
            return button;
        }
        case TemplateControl::CheckBox:
            return new QCheckBox(text, parent);
        case TemplateControl::Edit:
            return new QLineEdit(parent);
        case TemplateControl::GroupBox:
            return new QGroupBox(text, parent);
        case TemplateControl::Label:
            break;
    }
    return new QLabel(text, parent);
}

}  // namespace

void TemplateWidgets::build(QDialog& dialog, std::span<const TemplateControl> controls,
                            int widthUnits, int heightUnits,
                            const std::function<void(int id)>& clicked) {
    DialogUnits units(dialog.font());
    dialog.setFixedSize(units.x(widthUnits), units.y(heightUnits));
    QWidget* previous = nullptr;
    for (const TemplateControl& c : controls) {
        QWidget* widget = makeControl(c, &dialog);
        widget->setGeometry(units.rect(c));
        if (c.id == 0)
            continue;
        widget->setObjectName(QString::fromLatin1(c.name));
        m_controls[c.id] = widget;
        if (c.kind == TemplateControl::Label)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QObject::connect(button, &QAbstractButton::clicked, &dialog,
                             [clicked, id = c.id] { clicked(id); });
        }
    }
}

std::string TemplateWidgets::text(int id) const {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    return static_cast<QLabel*>(widget)->text().toStdString();
}

void TemplateWidgets::setText(int id, const std::string& text) {
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->setText(qtext(text));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->setText(qtext(text));
    static_cast<QLabel*>(widget)->setText(qtext(text));
}

int TemplateWidgets::checkState(int id) const {
    return static_cast<QCheckBox*>(control(id))->isChecked() ? 1 : 0;
}

void TemplateWidgets::setCheckState(int id, int state) {
    static_cast<QCheckBox*>(control(id))->setChecked(state != 0);
}

void TemplateWidgets::enable(int id, bool enabled) {
    control(id)->setEnabled(enabled);
}

void TemplateWidgets::focus(int id) {
    control(id)->setFocus(Qt::OtherFocusReason);
}
