// The plot window of one run: the kinds of plot the run can draw in a combo box, the chosen plot
// drawn to fit the window, saved as SVG, PNG or PDF, printed, closed. Several may be open; each
// keeps the run it was opened for and the language of the moment it was opened.
#pragma once

#include <QWidget>
#include <vector>

#include "app/window/PlotSource.h"
#include "plots/PlotKinds.h"
#include "plots/PlotPrimitives.h"

class QComboBox;
class QLabel;
class QPushButton;
class TToolkitServices;

// The plot drawn "zoom to fit": it follows the size of the widget.
class TPlotView : public QWidget {
public:
  explicit TPlotView(QWidget* parent);
  void SetPlot(const TPlot* plot);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  const TPlot* plot_ = nullptr;
};

class TFormPlot : public QWidget {
  Q_OBJECT

public:
  // A top-level window, released by its parent when not closed before; it deletes itself when
  // closed. Shows the default kind of the run.
  TFormPlot(TToolkitServices& services, TPlotSource source, QWidget* parent);

  // The kinds offered, in the order of the combo box.
  const std::vector<TPlotKind>& Kinds() const { return kinds_; }
  TPlotKind Kind() const;
  // The plot shown.
  const TPlot& Plot() const { return plot_; }
  // Shows the plot of `kind`, one of Kinds().
  void SelectKind(TPlotKind kind);

  QLabel* LabelPlotKind = nullptr;
  QComboBox* ComboBoxPlotKind = nullptr;
  QPushButton* BitBtnSavePlot = nullptr;
  QPushButton* BitBtnPrintPlot = nullptr;
  QPushButton* BitBtnClosePlot = nullptr;
  TPlotView* PlotView = nullptr;

public slots:
  void BitBtnSavePlotClick();
  void BitBtnPrintPlotClick();
  void ComboBoxPlotKindChange(int index);

signals:
  // The window is closing (it is released right after).
  void Closed(TFormPlot* window);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  TToolkitServices& services_;
  TPlotSource source_;
  int language_;
  std::vector<TPlotKind> kinds_;
  TPlot plot_;

  void ApplyTexts();
  void Save(const std::string& path, int format);
};
