// Fstat files: the grammar actions of the reader (dataset/fstat.l + .y) and its entry point.

#include <algorithm>
#include <string_view>
#include <utility>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"
#include "fstat_parser.hpp"

namespace {

const char kReaderName[] = "FStat";

// Values from this one on are all "too large": a number of the file never wraps around.
constexpr std::uint64_t kTooLarge = 1'000'000'000'000;

// Integer value of a run of digits as the scanner delivers them, at most kTooLarge.
std::uint64_t DigitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value >= kTooLarge) return kTooLarge;
  }
  return value;
}

// One gene copy: 0 is a missing copy, anything else names an allele by its decimal value.
void AddCopy(TTextReader& reader, std::uint64_t value) {
  if (value == 0)
    reader.AddMissingCopy();
  else
    reader.AddAlleleCopy(std::to_string(value), static_cast<std::int32_t>(value));
}

// Both copies of a diploid genotype, the present one first: a missing copy counted before a
// present one would leave the genotype with a ploidy of 1.
void AddCopies(TTextReader& reader, std::uint64_t first, std::uint64_t second) {
  if (first == 0) std::swap(first, second);
  AddCopy(reader, first);
  AddCopy(reader, second);
}

} // namespace

void TFstatActions::Header(const std::string& nbLoci, const std::string& nbDigits) {
  nbLoci_ = DigitsValue(nbLoci);
  // Every locus line takes two bytes at least (a character and the line end): a count the
  // file cannot hold would only turn every line that follows into a locus.
  const std::int64_t size = reader_.Source.Size();
  if (size >= 0 && nbLoci_ > static_cast<std::uint64_t>(size) / 2)
    reader_.Error(kTooManyDeclaredLoci());
  const std::uint64_t digits = DigitsValue(nbDigits);
  if (digits < 1 || digits > 3) reader_.Error(kIncorrectAlleleLength());
  alleleBase_ = 1;
  for (std::uint64_t d = 0; d < digits; ++d)
    alleleBase_ *= 10;
}

namespace {

// The number of numbers on a line made of numbers and blanks only; 0 for any other line.
int NumericFields(std::string_view line) {
  int numbers = 0;
  bool inNumber = false;
  for (char c : line) {
    if (c >= '0' && c <= '9') {
      if (!inNumber) ++numbers;
      inNumber = true;
    } else if (c == ' ' || c == '\t') {
      inNumber = false;
    } else {
      return 0;
    }
  }
  return numbers;
}

} // namespace

bool TFstatActions::Locus(const std::string& line) {
  // A line of two numbers or more may be an individual read as a locus name because the header
  // declares more loci than the file names: certainly when it holds a population number and one
  // genotype per declared locus, else when the individuals then lack genotypes.
  const int fields = NumericFields(line);
  if (fields >= 2 && static_cast<std::uint64_t>(fields) == nbLoci_ + 1) TooFewLocusNames(reader_.Line);
  if (fields >= 2 && suspectLocusLine_ == 0) suspectLocusLine_ = reader_.Line;
  reader_.NewLocus(line);
  return static_cast<std::uint64_t>(reader_.DataSet.LociCount()) == nbLoci_;
}

void TFstatActions::Population(const std::string& digits) {
  // Population numbers are compared as numbers ("01" is population 1), whatever their length.
  const std::size_t first = digits.find_first_not_of('0');
  const std::string number = first == std::string::npos ? "0" : digits.substr(first);
  if (!hasPrevious_ || number != previous_) reader_.NewSample(digits);
  hasPrevious_ = true;
  previous_ = number;
  reader_.NewIndividual("", 2);
}

void TFstatActions::Genotype(const std::string& digits) {
  if (reader_.AtKnownLocus()) {
    // A number longer than two alleles of the declared length cannot be split into the two
    // copies: the file does not use the length its header gives.
    const std::uint64_t value = DigitsValue(digits);
    if (value >= alleleBase_ * alleleBase_) reader_.Error(kIncorrectAlleleLength());
    AddCopies(reader_, value / alleleBase_, value % alleleBase_);
  }
  // Extra genotypes are only counted, once past the last locus.
  if (reader_.LocusPosition <= reader_.DataSet.LociCount()) ++reader_.LocusPosition;
}

void TFstatActions::IndividualEnd() {
  if (suspectLocusLine_ > 0 && reader_.LocusPosition != reader_.DataSet.LociCount())
    TooFewLocusNames(suspectLocusLine_);
  reader_.CheckGenotypeCount();
}

void TFstatActions::TooFewLocusNames(int line) {
  reader_.Error(Format(kFstatTooFewLocusNames(),
                       static_cast<int>(std::min<std::uint64_t>(nbLoci_, 1'000'000'000)), line));
}

void FstatLetterAtLineStart(TTextReader& reader) {
  if (reader.DataSet.AllIndividuals.Count() == 0)
    reader.Error(Format(kFstatTooManyLocusNames(), reader.DataSet.LociCount(), reader.Line));
}

bool ReadFstat(TPGDSStructure& ds, std::istream& in) {
  return ReadText(ds, in, kReaderName, ParseFstat);
}
