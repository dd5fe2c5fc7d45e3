#include "dataset/PGDSStructure.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/TextWriter.h"
#include "model/Convert.h"

namespace fs = std::filesystem;

// ---- file names

void SetDataSetLanguage(int id) {
  SetCurrentLanguage(id);
}

std::string FileExtension(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return fileName.substr(dot);
}

std::string SaveFileName(const std::string& fileName, TWriteFormat format, bool addExtension) {
  const std::string extension = FileExtension(fileName);
  if (!addExtension || extension.size() > 1) return fileName;
  return fileName.substr(0, fileName.size() - extension.size()) + WriteFormatExtension(format);
}

// ---- the data set

TPGDSStructure::TPGDSStructure() = default;

TPGDSStructure::~TPGDSStructure() {
  ReleaseContent();
}

bool TPGDSStructure::DoEvent() {
  if (!onDataStructureEvent) return false;
  onDataStructureEvent(*this, Progression, Stop);
  return Stop;
}

void TPGDSStructure::ProgressReport(int progression, bool& stop) {
  Progression = progression;
  stop = DoEvent();
}

void TPGDSStructure::XMLProgress(TXMLReader&, int percent, bool& abort) {
  Progression = percent * 75 / 100;
  abort = DoEvent();
}

void TPGDSStructure::DataLoaded() {
  // Readers create the samples with one tally per locus, but not always the groups.
  if (SamplesGroup.NbLoci() != LociCount()) SamplesGroup.SetNbLoci(LociCount());
  if (RootGroup.Members.Count() > 0 && RootGroup.NbLoci() != LociCount())
    RootGroup.SetNbLoci(LociCount());
  // A group gathers the individuals of its members one member after the other: room for all
  // of them at once keeps a file of many small samples from copying the list once per sample.
  SamplesGroup.Individuals.SetCapacity(AllIndividuals.Count());
  RootGroup.Individuals.SetCapacity(AllIndividuals.Count());
  SamplesGroup.Compute(true);
  NameRepeatedSamples();
  // Text formats have no group tree: the root then holds its own copies of the samples.
  if (RootGroup.Members.Count() == 0)
    SamplesGroup.AssignTo(RootGroup);
  else
    RootGroup.Compute(true);
}

// Samples may be referenced from the group tree and individuals from their sample and from
// AllIndividuals, but each has exactly one owner: the tree owns its sub-groups and the copies
// made by DataLoaded, the samples group owns the samples, a sample owns the individuals read
// from XML, AllIndividuals owns those of the text readers, and Loci owns the loci. Releasing the
// owners from the tree down to the loci never leaves a vector pointing at a destroyed object
// that is destroyed again.
void TPGDSStructure::ReleaseContent() {
  sampleCaptions_.clear();
  RootGroup.Clear(true);
  RootGroup.SetName("Root");
  SamplesGroup.Clear(true);
  SamplesGroup.SetName("samples");
  AllIndividuals.Clear(true);
  Loci.Clear(true);
}

void TPGDSStructure::Clear() {
  FileFormat = TReadFormat::Unknown;
  FileName.clear();
  Title.clear();
  CoordSysName.clear();
  CoordSys.clear();
  Comments.clear();
  Progression = 0;
  ReleaseContent();
}

TSample* TPGDSStructure::SampleAt(int i) const {
  auto* sample = dynamic_cast<TSample*>(SamplesGroup.Members.Items(i));
  if (!sample) throw EComponentError(std::string());
  return sample;
}

void TPGDSStructure::AssignTo(TPGDSStructure& dest) const {
  if (&dest == this) return;
  dest.Clear();
  dest.FileName = FileName;
  dest.FileFormat = FileFormat;
  dest.Title = Title;
  dest.CoordSysName = CoordSysName;
  dest.CoordSys = CoordSys;
  dest.Progression = Progression;
  dest.onDataStructureEvent = onDataStructureEvent;
  dest.Stop = Stop;
  dest.Messages = Messages;
  dest.Comments = Comments;
  dest.TextInput = TextInput;
  dest.sampleCaptions_ = sampleCaptions_;
  Loci.AssignTo(dest.Loci);
  SamplesGroup.AssignTo(dest.SamplesGroup);
  RootGroup.AssignTo(dest.RootGroup);
  // The copied samples own their copied individuals; AllIndividuals only refers to them.
  dest.AllIndividuals.AddAll(dest.SamplesGroup.Individuals);
}

// ---- samples that share a name

namespace {

// Positions of the samples of each name that several samples share, in the order of their first
// sample.
std::vector<std::vector<int>> RepeatedNames(const TPGDSStructure& ds) {
  std::map<std::string, std::vector<int>> byName;
  for (int s = 0; s < ds.SamplesCount(); ++s)
    byName[ds.SamplesGroup.Members.TVectorBioAbstract::Items(s)->Name].push_back(s);
  std::vector<std::vector<int>> repeated;
  for (auto& [name, positions] : byName)
    if (positions.size() > 1) repeated.push_back(std::move(positions));
  std::sort(repeated.begin(), repeated.end());
  return repeated;
}

} // namespace

void TPGDSStructure::NameRepeatedSamples() {
  sampleCaptions_.clear();
  const std::vector<std::vector<int>> repeated = RepeatedNames(*this);
  if (repeated.empty()) return;
  for (int s = 0; s < SamplesCount(); ++s)
    sampleCaptions_.push_back(SamplesGroup.Members.TVectorBioAbstract::Items(s)->Name);
  for (const std::vector<int>& positions : repeated)
    for (size_t k = 0; k < positions.size(); ++k) {
      const auto s = static_cast<size_t>(positions[k]);
      sampleCaptions_[s] += " (" + std::to_string(k + 1) + ")";
      // Their individuals' labels, the first column of the results, tell them apart too.
      const TGroupAbstract& sample = *static_cast<const TGroupAbstract*>(
          SamplesGroup.Members.TVectorBioAbstract::Items(positions[k]));
      for (int i = 0; i < sample.Individuals.Count(); ++i) {
        TIndividual* individual = sample.Individuals.Items(i);
        individual->Label = sampleCaptions_[s] + "/" + individual->Name;
      }
    }
}

std::vector<std::string> TPGDSStructure::RepeatedSampleNames() const {
  std::vector<std::string> lines;
  for (const std::vector<int>& positions : RepeatedNames(*this)) {
    std::string list;
    for (size_t k = 0; k < positions.size(); ++k) {
      if (k > 0) list += k + 1 == positions.size() ? kAnd() : std::string(", ");
      list += std::to_string(positions[k] + 1);
    }
    const std::string& name = SamplesGroup.Members.TVectorBioAbstract::Items(positions[0])->Name;
    lines.push_back(Format(kRepeatedPopulationName(), list.c_str(), ("\"" + name + "\"").c_str()));
  }
  return lines;
}

// ---- loading

namespace {

// Runs the reader of `format` from the beginning of the stream. A reader that fails, or lets an
// exception escape, leaves the data set empty; its journal lines stay.
bool RunReader(TPGDSStructure& ds, std::istream& in, TReadFormat format) {
  bool ok = false;
  try {
    in.clear();
    in.seekg(0);
    switch (format) {
    case TReadFormat::GenePop3:
    case TReadFormat::GenePop2:
      ok = ReadGenepopDiploid(ds, in);
      break;
    case TReadFormat::GenePopHaploid:
      ok = ReadGenepopHaploid(ds, in);
      break;
    case TReadFormat::Genetix:
      ok = ReadGenetix(ds, in);
      break;
    case TReadFormat::Fstat:
      ok = ReadFstat(ds, in);
      break;
    case TReadFormat::MolvaPRN:
      ok = ReadMolvaPRN(ds, in);
      break;
    case TReadFormat::XMLGenotypes:
      ok = LoadXML(ds, in);
      break;
    case TReadFormat::Unknown:
      break;
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) ds.Clear();
  return ok;
}

} // namespace

namespace {

// One reader's attempt at a file: the journal lines it wrote and how far it got.
struct TAttempt {
  TReadFormat Format = TReadFormat::Unknown;
  std::vector<std::string> Lines;
  int Reach = 0;
};

// The reader a file most likely belongs to: the one the user asked for, else the one its
// extension names (".gen" is Genepop's usual one), else the one that read the most of it before
// failing.
size_t LikeliestAttempt(const std::vector<TAttempt>& attempts, const std::string& fileName,
                        TReadFormat requested) {
  if (requested != TReadFormat::Unknown) return 0;
  const std::string extension = FileExtension(fileName);
  auto named = [&extension](TReadFormat format) {
    if (format == TReadFormat::GenePop3 || format == TReadFormat::GenePop2 ||
        format == TReadFormat::GenePopHaploid)
      return SameTextAscii(extension, ".gen");
    return SameTextAscii(extension, ReadFormatExtension(format));
  };
  size_t best = 0;
  int bestRank = -1;
  for (size_t i = 0; i < attempts.size(); ++i) {
    // The extension weighs more than any number of lines read.
    const int rank = (named(attempts[i].Format) ? 1 << 30 : 0) + attempts[i].Reach;
    if (rank > bestRank) {
      best = i;
      bestRank = rank;
    }
  }
  return best;
}

} // namespace

void TPGDSStructure::LoadFromFile(const std::string& fileName, TReadFormat format) {
  Clear();
  Messages.clear();

  std::ifstream in;
  try {
    // Only a regular file (or a link to one) is opened: a folder opens like a file on this
    // platform but cannot be read as one, and a device or a pipe may never end (/dev/zero) and
    // cannot be read again from its beginning by the next reader.
    std::error_code ec;
    if (fs::is_regular_file(fileName, ec)) in.open(fileName, std::ios::in | std::ios::binary);
  } catch (const std::exception&) {
    const std::string message = Format(kUnknownOpenError(), fileName.c_str());
    Messages.push_back(message);
    throw EBase(message);
  }
  if (!in.is_open()) {
    const std::string message = Format(kCannotOpenFile(), fileName.c_str());
    Messages.push_back(message);
    throw EFileOpenError(message);
  }

  const TEncodingScan encoding = ScanEncoding(in);
  if (encoding.Blank) {
    Messages.push_back(kEmptyFile());
    throw EFileFormatError(Format(kInvalidFile(), fileName.c_str()));
  }
  TextInput.SkipByteOrderMark = encoding.ByteOrderMark;
  TextInput.Utf8ToLatin1 = encoding.Kind == TUtf8Kind::Convertible;

  Stop = false;
  std::set<TReadFormat> tried;
  std::vector<TAttempt> attempts;
  bool ok = false;
  auto attempt = [&](TReadFormat f) {
    tried.insert(f);
    const size_t before = Messages.size();
    ReaderReach = 0;
    ok = RunReader(*this, in, f);
    TAttempt a;
    a.Format = f;
    a.Reach = ReaderReach;
    a.Lines.assign(Messages.begin() + static_cast<std::ptrdiff_t>(before), Messages.end());
    Messages.resize(before);
    attempts.push_back(std::move(a));
  };

  if (format != TReadFormat::Unknown) attempt(format);

  // The extension names the format only for the formats that have one of their own.
  if (!ok && !Stop) {
    const std::string extension = FileExtension(fileName);
    for (TReadFormat f : {TReadFormat::XMLGenotypes, TReadFormat::MolvaPRN, TReadFormat::Genetix}) {
      if (!SameTextAscii(extension, ReadFormatExtension(f))) continue;
      if (!tried.count(f)) attempt(f);
      break;
    }
  }

  const bool genepopTried =
      tried.count(TReadFormat::GenePop3) || tried.count(TReadFormat::GenePop2);
  for (TReadFormat f : {TReadFormat::Fstat, TReadFormat::GenePop3, TReadFormat::GenePopHaploid,
                        TReadFormat::Genetix, TReadFormat::MolvaPRN, TReadFormat::XMLGenotypes}) {
    if (ok || Stop) break;
    if (tried.count(f) || (f == TReadFormat::GenePop3 && genepopTried)) continue;
    attempt(f);
  }

  if (ok) {
    // The readers tried before the right one were not wrong about the file: only the lines of
    // the reader that read it stay.
    const std::vector<std::string>& lines = attempts.back().Lines;
    Messages.insert(Messages.end(), lines.begin(), lines.end());
  } else {
    // A file of a format that is written only: that is the cause, whatever the readers say.
    const std::string extension = FileExtension(fileName);
    for (TWriteFormat f : {TWriteFormat::Arlequin, TWriteFormat::QUAV, TWriteFormat::MNE})
      if (SameTextAscii(extension, WriteFormatExtension(f)))
        Messages.push_back(Format(kWriteOnlyFormat(), WriteFormatName(f).c_str()));
    // The error of the likeliest reader first, then the others', each text once.
    const size_t first = LikeliestAttempt(attempts, fileName, format);
    std::vector<const TAttempt*> order{&attempts[first]};
    for (size_t i = 0; i < attempts.size(); ++i)
      if (i != first) order.push_back(&attempts[i]);
    for (const TAttempt* a : order)
      for (const std::string& line : a->Lines)
        if (std::find(Messages.begin(), Messages.end(), line) == Messages.end())
          Messages.push_back(line);
  }

  if (Stop) {
    Clear();
    throw EFileFormatError(kOperationInterrupted());
  }
  if (!ok) {
    Clear();
    throw EFileFormatError(Format(kInvalidFile(), fileName.c_str()));
  }
  FileName = fileName;
  try {
    DataLoaded();
  } catch (...) {
    Clear();
    throw;
  }
  if (FileFormat != TReadFormat::XMLGenotypes) {
    if (encoding.Kind == TUtf8Kind::Convertible) Messages.push_back(kUtf8Converted());
    if (encoding.Kind == TUtf8Kind::NotConvertible) Messages.push_back(kUtf8NotConverted());
  }
  for (const std::string& line : RepeatedSampleNames())
    Messages.push_back(line);
}

// ---- saving

void TPGDSStructure::Write(std::ostream& out, TWriteFormat format,
                           std::uint8_t alleleCoding) const {
  switch (format) {
  case TWriteFormat::GenePop3:
    WriteGenepop(*this, out, TGenepopVariant::ThreeDigits, alleleCoding);
    return;
  case TWriteFormat::GenePop2:
    WriteGenepop(*this, out, TGenepopVariant::TwoDigits, 3);
    return;
  case TWriteFormat::GenePopHaploid:
    WriteGenepop(*this, out, TGenepopVariant::Haploid, alleleCoding);
    return;
  case TWriteFormat::Genetix:
    WriteGenetix(*this, out);
    return;
  case TWriteFormat::Fstat:
    WriteFstat(*this, out);
    return;
  case TWriteFormat::Arlequin:
    WriteArlequin(*this, out);
    return;
  case TWriteFormat::QUAV:
    WriteQUAV(*this, out);
    return;
  case TWriteFormat::MNE:
    WriteMNE(*this, out, 1, 2, 9000);
    return;
  case TWriteFormat::MolvaPRN:
    WriteMolvaPRN(*this, out);
    return;
  case TWriteFormat::XMLGenotypes:
    SaveXML(*this, out);
    return;
  }
  // A value no format has.
  throw EFileWritingError(kUnknownFormat());
}

std::string TPGDSStructure::SaveToFile(const std::string& fileName, TWriteFormat format,
                                       bool addExtension, std::uint8_t alleleCoding) const {
  const std::string written = SaveFileName(fileName, format, addExtension);
  // A writer that fails, a full disk or a folder that cannot be written leave the file the user
  // already had as it was.
  SaveFileSafely(written, [&](std::ostream& out) { Write(out, format, alleleCoding); });
  return written;
}
