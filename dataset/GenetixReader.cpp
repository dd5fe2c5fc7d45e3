// Genetix files: the grammar actions of the reader (dataset/genetix.l + .y) and its entry point.

#include <algorithm>
#include <string_view>
#include <utility>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"
#include "genetix_parser.hpp"

namespace {

const char kReaderName[] = "Genetix";

// Values from this one on are all "too large": a count of the file never wraps around.
constexpr std::uint64_t kTooLarge = 1'000'000'000'000;

// The room reserved for the individuals of a population is only a reservation: it never
// exceeds this, whatever the file declares.
constexpr std::uint64_t kMostReserved = 10000;

// Fewest bytes a locus declaration (a name line and an allele line), a declared allele (a
// blank and three digits) and an individual line (a ten-character name and a line end) take:
// a declared count is checked against the size of the file with them.
constexpr std::uint64_t kLeastLocusBytes = 4, kLeastAlleleBytes = 4, kLeastIndividualBytes = 11;

// Fails the read with `text` when `count` things of `leastBytes` bytes each cannot be in the file.
void CheckDeclaredCount(TTextReader& reader, std::uint64_t count, std::uint64_t leastBytes,
                        const TText& text) {
  const std::int64_t size = reader.Source.Size();
  if (size >= 0 && count > static_cast<std::uint64_t>(size) / leastBytes) reader.Error(text());
}

// Integer value of a run of digits as the scanner delivers them, at most kTooLarge.
std::uint64_t DigitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value >= kTooLarge) return kTooLarge;
  }
  return value;
}

// One gene copy of three digits: "000" is a missing copy, anything else names an allele
// exactly as written.
void AddCopy(TTextReader& reader, std::string_view digits) {
  const auto value = static_cast<std::int32_t>(DigitsValue(digits));
  if (value == 0)
    reader.AddMissingCopy();
  else
    reader.AddAlleleCopy(digits, value);
}

} // namespace

void TGenetixActions::Header(const std::string& nbLoci, const std::string& title) {
  nbLoci_ = DigitsValue(nbLoci);
  CheckDeclaredCount(reader_, nbLoci_, kLeastLocusBytes, kTooManyDeclaredLoci);
  reader_.DataSet.Title = title;
}

void TGenetixActions::Locus(const std::string& name) {
  reader_.NewLocus(name);
}

void TGenetixActions::AlleleCount(const std::string& digits) {
  nbAlleles_ = DigitsValue(digits);
  CheckDeclaredCount(reader_, nbAlleles_, kLeastAlleleBytes, kTooManyDeclaredAlleles);
}

void TGenetixActions::Allele(const std::string& digits) {
  TLocus& locus = *reader_.DataSet.LocusAt(reader_.DataSet.LociCount() - 1);
  locus.FindOrAddAllele(digits, static_cast<std::int32_t>(DigitsValue(digits)),
                        static_cast<std::int32_t>(DigitsValue(digits)), "");
}

bool TGenetixActions::AllelesEnd() {
  // A name given twice declares one allele: the count then disagrees too.
  const TLocus& locus = *reader_.DataSet.LocusAt(reader_.DataSet.LociCount() - 1);
  if (static_cast<std::uint64_t>(locus.NbAlleles()) != nbAlleles_)
    reader_.Error(kIncorrectAllelesNumber());
  return static_cast<std::uint64_t>(reader_.DataSet.LociCount()) == nbLoci_;
}

void TGenetixActions::Population(const std::string& name, const std::string& nbIndividuals) {
  // Room for as many individuals as the previous population had.
  reader_.NewSample(name, static_cast<int>(std::min(nbIndividuals_, kMostReserved)));
  nbIndividuals_ = DigitsValue(nbIndividuals);
  CheckDeclaredCount(reader_, nbIndividuals_, kLeastIndividualBytes, kTooManyDeclaredIndividuals);
  individualsRead_ = 0;
}

void TGenetixActions::Individual(const std::string& name) {
  ++individualsRead_;
  reader_.NewIndividual(name, 2);
}

void TGenetixActions::Genotype(const std::string& digits) {
  if (reader_.AtKnownLocus()) {
    // The present copy first: a missing copy counted before a present one would leave the
    // genotype with a ploidy of 1.
    std::string_view first = std::string_view(digits).substr(0, 3);
    std::string_view second = std::string_view(digits).substr(3, 3);
    if (first == "000") std::swap(first, second);
    AddCopy(reader_, first);
    AddCopy(reader_, second);
  }
  // Extra genotypes are only counted, once past the last locus.
  if (reader_.LocusPosition <= reader_.DataSet.LociCount()) ++reader_.LocusPosition;
}

bool TGenetixActions::IndividualEnd() {
  reader_.CheckGenotypeCount();
  return individualsRead_ == nbIndividuals_;
}

bool ReadGenetix(TPGDSStructure& ds, std::istream& in) {
  return ReadText(ds, in, kReaderName, ParseGenetix);
}
