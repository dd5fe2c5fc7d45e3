#include "app/window/ResultsTableModel.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "app/window/TextConversion.h"

void TResultsTableModel::SetGrid(TResultsGrid grid) {
  beginResetModel();
  grid_ = std::move(grid);
  endResetModel();
}

int TResultsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.RowCount();
}

int TResultsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.ColumnCount();
}

QVariant TResultsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= grid_.RowCount() || index.column() >= grid_.ColumnCount())
    return {};
  const TGridCell& cell = grid_.Cell(index.column(), index.row());
  switch (role) {
  case Qt::DisplayRole:
    return ToQt(cell.Text + "  ");
  case Qt::ForegroundRole: {
    const TRgb rgb = ColorRgb(cell.Alignment == TCellAlignment::Right ? cell.Color
                                                                      : TCellColor::Black);
    return QColor(rgb.Red, rgb.Green, rgb.Blue);
  }
  case Qt::TextAlignmentRole:
    return static_cast<int>(
        (cell.Alignment == TCellAlignment::Right ? Qt::AlignRight : Qt::AlignLeft) |
        Qt::AlignVCenter);
  case Qt::BackgroundRole:
    if (grid_.IsFixed(index.column(), index.row())) return QApplication::palette().button();
    return {};
  default:
    return {};
  }
}
