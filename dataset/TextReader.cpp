#include "dataset/TextReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "dataset/DataSetTexts.h"
#include "dataset/PGDSStructure.h"
#include "base/Errors.h"

// ---- line source

TLineSource::TLineSource(std::istream& in, TTextInput input) : in_(in), input_(input) {
  in_.clear();
  in_.seekg(0, std::ios::end);
  const std::streamoff end = in_.tellg();
  if (in_ && end >= 0) size_ = end;
  in_.clear();
  in_.seekg(input_.SkipByteOrderMark ? 3 : 0, std::ios::beg);
  if (!in_) exhausted_ = true;
}

void TLineSource::Refill() {
  next_ = 0;
  end_ = 0;
  if (exhausted_) return;
  const std::streamsize n = in_.rdbuf()->sgetn(buffer_.data(), kBlock);
  if (n <= 0) {
    exhausted_ = true;
    return;
  }
  end_ = static_cast<std::size_t>(n);
  if (input_.Utf8ToLatin1) {
    // A character that the block's end splits is completed before the block is converted.
    if (IsLatin1LeadByte(buffer_[end_ - 1])) {
      const int next = in_.rdbuf()->sbumpc();
      if (next != std::char_traits<char>::eof()) buffer_[end_++] = static_cast<char>(next);
    }
    end_ = Latin1FromUtf8InPlace(buffer_.data(), end_);
  }
}

bool TLineSource::Peek(char& c) {
  if (next_ == end_) Refill();
  if (next_ == end_) return false;
  c = buffer_[next_];
  return true;
}

std::size_t TLineSource::Read(char* dest, std::size_t max) {
  std::size_t n = 0;
  char c;
  while (n < max) {
    if (!Peek(c)) {
      // The last line may end with the stream.
      if (inLine_) {
        dest[n++] = '\n';
        inLine_ = false;
      }
      return n;
    }
    if (c != '\r' && c != '\n') {
      if (!inLine_) {
        ++lines_;
        lineLength_ = 0;
      }
      inLine_ = true;
      // The characters of the line up to its end, the end of the buffer or the room left, in
      // one copy: a line of millions of characters costs no more than as many short lines.
      const char* start = buffer_.data() + next_;
      const std::size_t room = std::min(max - n, end_ - next_);
      std::size_t run = 1;
      while (run < room && start[run] != '\r' && start[run] != '\n')
        ++run;
      const bool tooLong = lineLength_ + static_cast<std::int64_t>(run) > kMostLineBytes;
      if (tooLong) run = static_cast<std::size_t>(kMostLineBytes - lineLength_);
      std::memcpy(dest + n, start, run);
      next_ += run;
      position_ += static_cast<std::int64_t>(run);
      lineLength_ += static_cast<std::int64_t>(run);
      n += run;
      if (tooLong) {
        lineTooLong_ = true;
        return n;
      }
      continue;
    }
    ++next_;
    ++position_;
    if (!inLine_) ++lines_;
    // CR LF and LF CR are one line end, as are CR and LF alone.
    const char pair = c == '\r' ? '\n' : '\r';
    char following;
    if (Peek(following) && following == pair) {
      ++next_;
      ++position_;
    }
    dest[n++] = '\n';
    inLine_ = false;
    return n;
  }
  return n;
}

// ---- reader

std::size_t TTextReader::Input(char* dest, std::size_t max) {
  const std::size_t n = Source.Read(dest, max);
  if (Source.LineTooLong()) {
    Line = Source.Lines();
    Column = kMostLineBytes + 1;
    Error(Format(kLineTooLong(), kMostLineBytes));
  }
  return n;
}

TTextReader::TTextReader(TPGDSStructure& dataSet, std::istream& in, std::string readerName)
    : DataSet(dataSet), Source(in, dataSet.TextInput), ReaderName(std::move(readerName)) {}

TTextReader::~TTextReader() = default;

void TTextReader::Consumed(const char* text, std::size_t length) {
  // The counts stop at the largest int rather than wrap on files of more than 2^31 lines, or
  // lines of more than 2^31 characters.
  constexpr int most = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < length; ++i) {
    if (lineEnded_) {
      if (Line < most) ++Line;
      Column = 1;
      lineEnded_ = false;
      lineHasContent_ = false;
    }
    if (Column < most) ++Column;
    const char c = text[i];
    if (c == '\n') {
      lineEnded_ = true;
      if (!lineHasContent_) LastBlankLine = Line;
    } else if (c != ' ' && c != '\t') {
      lineHasContent_ = true;
    }
  }
}

void TTextReader::LineEnd() {
  const std::int64_t size = Source.Size();
  const std::int64_t percent = size > 0 ? Source.Position() * 100 / size : 0;
  bool stop = false;
  DataSet.ProgressReport(static_cast<int>(percent), stop);
  if (stop) Error(kOperationInterrupted());
}

void TTextReader::Error(const std::string& message) {
  const std::string line = Format(kReadError(), message.c_str(), Line, Column, ReaderName.c_str());
  DataSet.Messages.push_back(line);
  throw EFileFormatWarning(line);
}

void TTextReader::ParserError(const char* message) {
  // Bison calls an exhausted stack "memory exhausted"; it is the stack limit that was reached.
  if (std::strcmp(message, "memory exhausted") == 0) Error("yyparse stack overflow");
  Error(message);
}

// ---- building operations

TLocus* TTextReader::NewLocus(const std::string& name) {
  return DataSet.Loci.Adopt(std::make_unique<TLocus>(name, 5));
}

TSample* TTextReader::NewSample(const std::string& name, int individualsCapacity) {
  AdoptUnnamedSample();
  auto sample = std::make_unique<TSample>(name, DataSet.LociCount(), individualsCapacity);
  CurrentSample = sample.get();
  if (name.empty())
    unnamedSample_ = std::move(sample);
  else
    DataSet.SamplesGroup.Members.Adopt(std::move(sample));
  return CurrentSample;
}

void TTextReader::AdoptUnnamedSample() {
  if (unnamedSample_) DataSet.SamplesGroup.Members.Adopt(std::move(unnamedSample_));
}

TIndividual* TTextReader::NewIndividual(const std::string& name, std::uint8_t declaredPloidy) {
  auto individual = std::make_unique<TIndividual>(name, DataSet.LociCount(), declaredPloidy);
  CurrentIndividual = DataSet.AllIndividuals.Adopt(std::move(individual));
  if (CurrentSample) CurrentSample->Individuals.Add(CurrentIndividual);
  LocusPosition = 0;
  return CurrentIndividual;
}

bool TTextReader::AtKnownLocus() const {
  return CurrentIndividual && LocusPosition >= 0 && LocusPosition < DataSet.LociCount();
}

namespace {
// A name of at most seven characters as one integer (its length in the top byte); 0 for a
// longer one, which is not cached.
std::uint64_t PackedName(std::string_view name) {
  if (name.size() > 7) return 0;
  std::uint64_t key = static_cast<std::uint64_t>(name.size()) << 56;
  for (size_t i = 0; i < name.size(); ++i)
    key |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * i);
  return key;
}
} // namespace

void TTextReader::AddAlleleCopy(std::string_view name, std::int32_t value) {
  if (!AtKnownLocus()) return;
  const auto position = static_cast<size_t>(LocusPosition);
  if (alleleCache_.size() <= position) alleleCache_.resize(position + 1);
  TAlleleCache& cache = alleleCache_[position];
  const std::uint64_t key = PackedName(name);
  std::int16_t code = -1;
  if (key != 0) {
    const auto found = std::find(cache.Keys.begin(), cache.Keys.end(), key);
    if (found != cache.Keys.end())
      code = cache.Codes[static_cast<size_t>(found - cache.Keys.begin())];
  }
  if (code < 0) {
    code = DataSet.LocusAt(LocusPosition)->FindOrAddAllele(std::string(name), value, value, "");
    if (key != 0) {
      cache.Keys.push_back(key);
      cache.Codes.push_back(code);
    }
  }
  CurrentIndividual->AddGene(LocusPosition, code);
}

void TTextReader::AddMissingCopy() {
  if (AtKnownLocus()) CurrentIndividual->AddMissingGene(LocusPosition);
}

void TTextReader::CloseSample() {
  if (!CurrentSample) return;
  const int n = CurrentSample->Individuals.Count();
  if (n == 0) Error(kMissingIndividual());
  // An unnamed sample takes the name of its last individual; the labels its individuals got
  // when they joined it ("/name") then take that name too.
  if (CurrentSample->Name.empty()) {
    CurrentSample->SetName(CurrentSample->Individuals.Items(n - 1)->Name);
    for (int i = 0; i < n; ++i) {
      TIndividual* individual = CurrentSample->Individuals.Items(i);
      individual->Label = CurrentSample->Label + "/" + individual->Name;
    }
  }
  AdoptUnnamedSample();
}

void TTextReader::CheckGenotypeCount(const std::string& missingGenotypeText) {
  const int loci = DataSet.LociCount();
  if (loci == LocusPosition) return;
  const std::string& text = loci > LocusPosition ? missingGenotypeText : kTooManyGenotypes();
  Error(Format(kGenotypeCountDetail(), text.c_str(), LocusPosition, loci));
}

void TTextReader::Finish() {
  AdoptUnnamedSample();
}

void TTextReader::CheckGenotypeCount() {
  CheckGenotypeCount(kMissingGenotype());
}

// ---- reading

bool ReadText(TPGDSStructure& dataSet, std::istream& in, const std::string& readerName,
              TTextParser parser) {
  dataSet.ReaderReach = 0;
  try {
    TTextReader reader(dataSet, in, readerName);
    // How far the reader got, whatever ends the read: the error of the reader that read the
    // most of a file no reader accepts is the one its author most likely wants to see.
    struct TReach {
      TTextReader& Reader;
      ~TReach() { Reader.DataSet.ReaderReach = Reader.Line; }
    } reach{reader};
    if (!parser(reader)) return false;
    reader.Finish();
    return true;
  } catch (const EFileFormatWarning&) {
    return false;
  } catch (const std::exception& e) {
    dataSet.Messages.push_back(Format(kReadError(), e.what(), -1, -1, readerName.c_str()));
    return false;
  } catch (...) {
    dataSet.Messages.push_back(Format(kReadError(), "", -1, -1, readerName.c_str()));
    return false;
  }
}
