// The statistics grid served to a QTableView: its header row as the view's column headers, so
// that it stays in sight while the grid scrolls, and the other rows as cells, the two label
// columns drawn like the fixed cells of a grid.
#pragma once

#include <QAbstractTableModel>

#include "stats/StatisticsGrid.h"

class TStatisticsTableModel : public QAbstractTableModel {
public:
  explicit TStatisticsTableModel(TStatisticsGrid grid, QObject* parent = nullptr)
      : QAbstractTableModel(parent), grid_(std::move(grid)) {}

  const TStatisticsGrid& Grid() const { return grid_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  TStatisticsGrid grid_;
};
