#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

#include "BatchView.h"
#include "PreviewTable.h"

// The preview's rows as a Qt model: the view asks for the rows it draws, so a table of any
// length opens at once. Sorting and filtering are the table's.
class PreviewModel : public QAbstractTableModel {
  public:
    explicit PreviewModel(std::vector<JobReport::PreviewRow> rows, QObject* parent)
        : QAbstractTableModel(parent), m_table(std::move(rows)) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    void showKeptOnly(bool keptOnly);

  private:
    CPreviewTable m_table;
};

// The rename preview window: the table, the filter box and the three buttons that close it
// with the user's choice.
class CPreviewDlg : public QDialog {
  public:
    CPreviewDlg(const std::vector<JobReport::PreviewRow>& rows, QWidget* parent);

    PreviewChoice choice() const { return m_choice; }

  private:
    void closeWith(PreviewChoice choice);

    PreviewChoice m_choice = PreviewChoice::Close;
};
