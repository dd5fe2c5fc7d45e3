// The results grid served to a QTableView: every cell of the grid, the two header rows and the
// unit column included, with its text as drawn (followed by two blanks), its colour, its
// alignment and the fixed colour of the header cells. One model over the plain grid, so that a
// table of many thousand rows fills at once.
#pragma once

#include <QAbstractTableModel>

#include "app/ResultsGrid.h"

class TResultsTableModel : public QAbstractTableModel {
public:
  explicit TResultsTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  const TResultsGrid& Grid() const { return grid_; }
  // Replaces the whole grid.
  void SetGrid(TResultsGrid grid);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

private:
  TResultsGrid grid_;
};
