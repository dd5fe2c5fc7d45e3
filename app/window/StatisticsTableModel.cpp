#include "app/window/StatisticsTableModel.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "app/window/TextConversion.h"

int TStatisticsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, grid_.RowCount() - grid_.FixedRows);
}

int TStatisticsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant TStatisticsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + grid_.FixedRows;
  switch (role) {
  case Qt::DisplayRole:
    return ToQt(grid_.Cell(row, index.column()));
  case Qt::BackgroundRole:
    if (grid_.IsFixed(row, index.column())) return QApplication::palette().button();
    return {};
  case Qt::TextAlignmentRole:
    return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
  default:
    return {};
  }
}

QVariant TStatisticsTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
  if (orientation != Qt::Horizontal || grid_.RowCount() == 0) return {};
  if (role == Qt::DisplayRole) return ToQt(grid_.Cell(0, section));
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}
