// The statistics window of a data set: the statistics grid (a snapshot taken when the window
// opens), saved as semicolon-separated text with "Enregistrer sous ...", printed with
// "Imprimer ...", closed with "Fermer".
#pragma once

#include <QMainWindow>

#include "stats/StatisticsGrid.h"

class QAction;
class QTableView;
class TPGDSStructure;
class TStatisticsTableModel;
class TToolkitServices;

class TFormFrequencyDisplay : public QMainWindow {
  Q_OBJECT

public:
  // A top-level window, released by its parent when not closed before; it deletes itself when
  // closed.
  TFormFrequencyDisplay(TToolkitServices& services, QWidget* parent);

  // Fills the grid from the data set's statistics, with the labels of language `languageId`,
  // and captions the window with the data set's file name.
  void ShowDataSet(TPGDSStructure& ds, int languageId);
  const TStatisticsGrid& Grid() const;

  QTableView* StringGrid = nullptr;
  QAction* Enregistrer1 = nullptr;
  QAction* Imprimer1 = nullptr;
  QAction* Fermer1 = nullptr;

public slots:
  void Enregistrer1Click();
  void Imprimer1Click();
  void Fermer1Click();

signals:
  // The window is closing (it is released right after).
  void Closed(TFormFrequencyDisplay* window);

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  TToolkitServices& services_;
  TStatisticsTableModel* model_ = nullptr;
  QMenu* menuFile_ = nullptr;
  // The language of the window's labels and messages.
  int languageId_ = 0;

  void ApplyTexts(int languageId);
  void FitColumns();
};
