// The data set: one complete genotype file in memory (loci with their alleles, samples with
// their individuals and genotypes, the group tree), with loading (and detection of the
// format), saving in ten formats, progress and stop, and the journal lines of the reading.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/Logger.h"
#include "dataset/FileFormats.h"
#include "dataset/TextEncoding.h"
#include "model/Group.h"
#include "model/Individual.h"
#include "model/Locus.h"
#include "model/Sample.h"
#include "model/TypedVectors.h"

class TXMLReader;

// The extension of a file name: from the last dot of its last path component, dot included;
// empty when there is none.
std::string FileExtension(const std::string& fileName);
// The name a save in `format` goes to: with `addExtension`, a name whose extension has at most
// one character (none, or a lone trailing dot) takes the format's extension instead.
std::string SaveFileName(const std::string& fileName, TWriteFormat format, bool addExtension);

// Sets the language of every data set, reader and writer text (1036 French, 2057 English, any
// other id French).
void SetDataSetLanguage(int id);

class TPGDSStructure : public TLogger {
public:
  TVectorIndividuals AllIndividuals{nullptr, 50};
  TVectorLoci Loci{nullptr, 20};
  TGroup SamplesGroup{"samples", 0, 20};
  TGroup RootGroup{"Root", 0, 20};
  std::string FileName;
  // The format the file was read in.
  TReadFormat FileFormat = TReadFormat::Unknown;
  std::string Title;
  std::vector<std::string> Comments;
  std::string CoordSysName;
  std::string CoordSys;
  TLoggerEvent onDataStructureEvent;
  // How the text readers take the bytes of the file being loaded (set by LoadFromFile).
  TTextInput TextInput;
  // Lines the last text reader got through before it stopped, accepted or not.
  int ReaderReach = 0;

  TPGDSStructure();
  ~TPGDSStructure() override;

  // Calls onDataStructureEvent with (this, Progression, Stop) and answers Stop; false without a
  // handler.
  bool DoEvent() override;
  // Run after every successful load: tallies the samples; fills the root with copies of the
  // samples when the file had no group tree, else tallies the tree.
  virtual void DataLoaded();

  // Empties the data set and releases every object it owns, each exactly once.
  void Clear();
  // Loads a file, trying the reader of `format` first (none for Unknown), then the reader of the
  // extension, then every reader in a fixed order. Raises EFileFormatError (or a file-open
  // error) on failure; the data set is then empty and Messages holds the readers' lines.
  void LoadFromFile(const std::string& fileName, TReadFormat format);
  // Writes the data set in `format`. With `addExtension`, a name whose extension has at most
  // one character gets the format's extension. The file is replaced only when the writer
  // succeeds. Returns the path written.
  std::string SaveToFile(const std::string& fileName, TWriteFormat format, bool addExtension,
                         std::uint8_t alleleCoding) const;
  // Writes the data set in `format` to a stream.
  void Write(std::ostream& out, TWriteFormat format, std::uint8_t alleleCoding) const;

  // Progression := progression; stop := DoEvent (used by the text readers).
  void ProgressReport(int progression, bool& stop);
  // Progress of the XML reader while it parses a file: the parse takes the load from 0 to 75 %.
  void XMLProgress(TXMLReader& sender, int percent, bool& abort);

  std::string FormatName() const { return ReadFormatName(FileFormat); }
  int LociCount() const { return Loci.Count(); }
  TLocus* LocusAt(int i) const { return Loci.Items(i); }
  int SamplesCount() const { return SamplesGroup.Members.Count(); }
  TSample* SampleAt(int i) const;
  // The name of sample i as results and statistics show it, without the checked cast of
  // SampleAt (the runs ask for it once per treated unit and reference population): a name that
  // several samples share is followed by the rank of the sample among them, " (2)".
  const std::string& SampleName(int i) const {
    if (i < static_cast<int>(sampleCaptions_.size()))
      return sampleCaptions_[static_cast<size_t>(i)];
    return SamplesGroup.Members.TVectorBioAbstract::Items(i)->Name;
  }
  // One journal line per name that several samples share, with their positions (from 1).
  std::vector<std::string> RepeatedSampleNames() const;

  // Copies the whole data set into `dest` (a TPGDSStructure).
  void AssignTo(TPGDSStructure& dest) const;

  // Releases the objects read so far (used by the readers, and by Clear).
  void ReleaseContent();

private:
  // The samples' names as SampleName gives them, once the samples are all read; empty when no
  // name is repeated.
  std::vector<std::string> sampleCaptions_;
  void NameRepeatedSamples();
};
