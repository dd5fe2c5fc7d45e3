// The main window's data sets: opening (from the dialogs or the command line), clearing and
// saving the reference and samples files.
#include <QLineEdit>
#include <QProgressBar>

#include "app/AppTexts.h"
#include "app/window/FormPrinc.h"
#include "app/window/TextConversion.h"
#include "app/window/ToolkitServices.h"
#include "dataset/DataSetTexts.h"

namespace {

// "GenePop 3 (*)", "Genetix (*.gtx)": the format name and its extension pattern.
TFileFilter FormatFilter(const std::string& name, const std::string& extension) {
  return {name + " (*" + extension + ")", "*" + extension};
}

} // namespace

void TFormPrinc::BuildDialogFilters() {
  openFilters_.clear();
  for (TReadFormat format : kReadFormats)
    openFilters_.push_back(FormatFilter(ReadFormatName(format), ReadFormatExtension(format)));
  saveFilters_.clear();
  for (TWriteFormat format : kWriteFormats)
    saveFilters_.push_back(FormatFilter(WriteFormatName(format), WriteFormatExtension(format)));
}

void TFormPrinc::BitBtnAssignationOuvrirReferenceClick() {
  OpenFromDialog(true);
}

void TFormPrinc::BitBtnAssignationOuvrirEchantillonClick() {
  OpenFromDialog(false);
}

void TFormPrinc::OpenFromDialog(bool reference) {
  TFileDialogRequest request;
  request.Title = reference ? kOpenReferenceTitle() : kOpenSamplesTitle();
  request.Filters = openFilters_;
  // The dialog opens on "inconnu (*)": unless the user picks a format, the file's own format is
  // found, and a file that no reader accepts is explained by the reader it most likely belongs
  // to rather than by the first entry of the list.
  request.SelectedFilter = ReadFormatCode(TReadFormat::Unknown) + 1;
  const TFileDialogAnswer answer = services_.OpenFile(request);
  if (!answer.Confirmed) return;
  // The position of the chosen entry (from 1) less one is the format's number.
  Load(reference, answer.Path, ReadFormatFromCode(answer.FilterIndex - 1));
}

void TFormPrinc::OpenReference(const std::string& path, TReadFormat format) {
  Load(true, path, format);
}

void TFormPrinc::OpenSamples(const std::string& path, TReadFormat format) {
  Load(false, path, format);
}

void TFormPrinc::Load(bool reference, const std::string& path, TReadFormat format) {
  TPGDSStructure& ds = reference ? dataStructureRef : dataStructureSample;
  bool& loadedFlag = reference ? RefLoaded : SamplesLoaded;
  QLineEdit* edit = reference ? EditAssignationReference : EditAssignationEchantillons;

  SetRunningState(true);
  if (reference) {
    loci_.clear();
    ShowLocusList();
  }
  Driver.StopRequested = false;
  LogLine(Format(reference ? kOpeningReference() : kOpeningSamples(), PathAsText(path).c_str()));

  // The data set empties itself first, and ends either complete or empty (stopped, failed):
  // the previous data is never left half replaced.
  bool loaded = false;
  std::string error;
  try {
    ds.LoadFromFile(path, format);
    loaded = true;
  } catch (const std::exception& exception) {
    error = exception.what();
  }
  loadedFlag = loaded;
  if (reference) mixedPloidy_ = false;
  // The bar does not stay at the point a failed or stopped load reached while its box is shown.
  ProgressBar->setValue(0);

  if (loaded) {
    // A stop asked after the last progress report came too late: the file is loaded.
    if (reference) {
      mixedPloidy_ = HasMixedPloidy(ds);
      if (mixedPloidy_) LogLine(kMixedPloidy());
    }
    LogLine(Format(kFileLoaded(), ds.FormatName().c_str()));
  } else if (Driver.StopRequested) {
    Warning(error.empty() ? kOperationInterrupted() : error);
    LogLine(kUserInterruption());
  } else {
    LogBlock(ds.Messages);
    SetRunningState(false);
    ShowJournalTab();
    // The box tells what went wrong first, with its line and column.
    std::string text = kUnknownFileFormat();
    const std::string& first = ds.Messages.empty() ? error : ds.Messages.front();
    if (!first.empty()) text += "\n\n" + first;
    services_.Tell(TMessageKind::Error, text);
  }
  Driver.StopRequested = false;

  FillLocusList();
  edit->setText(loaded ? PathToQt(path) : QString());
  edit->setToolTip(edit->text());
  automateInterface();
  ProcessEvents();
  SetRunningState(false);
}

void TFormPrinc::SpeedButtonClearReferenceClick() {
  Clear(true);
}

void TFormPrinc::SpeedButtonClearSamplesClick() {
  Clear(false);
}

void TFormPrinc::Clear(bool reference) {
  (reference ? dataStructureRef : dataStructureSample).Clear();
  QLineEdit* edit = reference ? EditAssignationReference : EditAssignationEchantillons;
  edit->clear();
  edit->setToolTip(QString());
  if (reference) {
    RefLoaded = false;
    mixedPloidy_ = false;
  } else {
    SamplesLoaded = false;
  }
  automateInterface();
}

void TFormPrinc::menuItemSauverReferenceClick() {
  Save(true);
}

void TFormPrinc::menuItemSauverEchantillonClick() {
  Save(false);
}

void TFormPrinc::ToolButtonSauverClick() {
  menuItemSauverReferenceClick();
}

void TFormPrinc::Save(bool reference) {
  TFileDialogRequest request;
  request.Title = reference ? kSaveReferenceTitle() : kSaveSamplesTitle();
  request.Filters = saveFilters_;
  const TFileDialogAnswer answer = services_.SaveFile(request);
  if (!answer.Confirmed) return;
  const TPGDSStructure& ds = reference ? dataStructureRef : dataStructureSample;
  try {
    // The position of the chosen entry (from 1) less one is the format's number. The format's
    // extension is added to a name without one; alleles keep their coding.
    ds.SaveToFile(answer.Path, WriteFormatFromCode(answer.FilterIndex - 1), true, 1);
  } catch (const std::exception& exception) {
    Message(exception.what());
    LogLine(exception.what());
  }
}
