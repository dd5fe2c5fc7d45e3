#include "app/window/StatisticsTableModel.h"

#include <QApplication>
#include <QPalette>

#include "app/window/TextConversion.h"

int TStatisticsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.RowCount();
}

int TStatisticsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant TStatisticsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
  case Qt::DisplayRole:
    return ToQt(grid_.Cell(index.row(), index.column()));
  case Qt::BackgroundRole:
    if (grid_.IsFixed(index.row(), index.column())) return QApplication::palette().button();
    return {};
  case Qt::TextAlignmentRole:
    return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
  default:
    return {};
  }
}
