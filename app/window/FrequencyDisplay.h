// The statistics of one data set: opens statistics windows on it, with the labels of the
// language last given.
#pragma once

#include "base/Texts.h"

class QWidget;
class TFormFrequencyDisplay;
class TPGDSStructure;
class TToolkitServices;

class TFrequencyDisplay {
public:
  explicit TFrequencyDisplay(TPGDSStructure& ds) : PGDSStructure(ds) {}

  TPGDSStructure& PGDSStructure;

  // A new statistics window of the data set, filled and shown; `owner` releases it if it is
  // still open when the owner goes.
  TFormFrequencyDisplay* ShowStatistics(TToolkitServices& services, QWidget* owner);
  // The language of the windows opened from now on: 2057 English, any other id French.
  void SetLanguage(int languageId);
  int Language() const { return language_; }

private:
  int language_ = lang::French;
};
