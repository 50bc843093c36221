#include "PreviewDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "BatchDlgLogic.h"
#include "resource.h"

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_table.rowCount());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : CPreviewTable::kColumns;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return QString::fromStdString(
        m_table.cell(static_cast<std::size_t>(index.row()), index.column()));
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return QString::fromUtf8(CPreviewTable::heading(section));
}

void PreviewModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    m_table.sort(column, order == Qt::AscendingOrder);
    endResetModel();
}

void PreviewModel::showKeptOnly(bool keptOnly) {
    beginResetModel();
    m_table.showKeptOnly(keptOnly);
    endResetModel();
}

CPreviewDlg::CPreviewDlg(const std::vector<JobReport::PreviewRow>& rows, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("预览重命名"));
    setFont(parent->font());
    auto* model = new PreviewModel(rows, this);
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("IDC_PREVIEW_LIST"));
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // Rows of one height, and no column measured over all of them.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(CPreviewTable::OldName, 260);
    table->setColumnWidth(CPreviewTable::NewName, 260);
    table->horizontalHeader()->setSortIndicator(CPreviewTable::OldName, Qt::AscendingOrder);
    table->setSortingEnabled(true);

    auto* keptOnly = new QCheckBox(QStringLiteral("只显示保留原名的"), this);
    keptOnly->setObjectName(QStringLiteral("IDC_PREVIEW_KEPT"));
    connect(keptOnly, &QCheckBox::toggled, model, &PreviewModel::showKeptOnly);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keptOnly);
    buttons->addStretch();
    const struct {
        const char* name;
        const char* text;
        PreviewChoice choice;
    } kButtons[] = {{"IDC_PREVIEW_RUN", "执行重命名", PreviewChoice::Rename},
                    {"IDC_PREVIEW_OPTIONS", kOptionsText, PreviewChoice::Options},
                    {"IDCANCEL", "关闭", PreviewChoice::Close}};
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this,
                [this, choice = b.choice] { closeWith(choice); });
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addLayout(buttons);
    resize(760, 480);
}

void CPreviewDlg::closeWith(PreviewChoice choice) {
    m_choice = choice;
    done(choice == PreviewChoice::Close ? Rejected : Accepted);
}
