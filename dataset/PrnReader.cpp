// MOLVA PRN files: the grammar actions of the reader (dataset/prn.l + .y) and its entry point.

#include <string_view>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"
#include "model/Convert.h"
#include "prn_parser.hpp"

namespace {

const char kReaderName[] = "Molva PRN";

// More loci than this before another locus word: the file is not a PRN file.
constexpr int kMostLoci = 10000;

} // namespace

void TPrnActions::Locus(const std::string& word) {
  if (reader_.DataSet.LociCount() > kMostLoci) reader_.Error(kTooManyLoci());
  reader_.NewLocus(word);
}

void TPrnActions::StartSample(const std::string& text) {
  reader_.NewSample(Trim(std::string_view(text).substr(1)));
}

void TPrnActions::Individual(const std::string& name) {
  reader_.NewIndividual(name, 2);
  pending_ = false;
}

void TPrnActions::CopyDone() {
  if (!pending_) {
    pending_ = true;
    return;
  }
  // A missing first copy followed by a present one leaves a ploidy of 1: the genotype has two
  // copies all the same.
  TIndividual& individual = *reader_.CurrentIndividual;
  if (individual.GetPloidy(reader_.LocusPosition) < 2)
    individual.SetPloidy(reader_.LocusPosition, 2);
  pending_ = false;
  ++reader_.LocusPosition;
}

// Copies past the last locus are only counted, one position each (and no further than one
// past the last locus), so that the end of the entry reports too many genotypes.
void TPrnActions::Allele(const std::string& digits) {
  if (!reader_.AtKnownLocus()) {
    if (reader_.LocusPosition <= reader_.DataSet.LociCount()) ++reader_.LocusPosition;
    return;
  }
  reader_.AddAlleleCopy(digits, StrToInt(digits));
  CopyDone();
}

void TPrnActions::Missing() {
  if (!reader_.AtKnownLocus()) {
    if (reader_.LocusPosition <= reader_.DataSet.LociCount()) ++reader_.LocusPosition;
    return;
  }
  reader_.AddMissingCopy();
  CopyDone();
}

void TPrnActions::IndividualEnd() {
  if (pending_) reader_.Error(kPrnMissingGenotype());
  reader_.CheckGenotypeCount();
}

bool ReadMolvaPRN(TPGDSStructure& ds, std::istream& in) {
  return ReadText(ds, in, kReaderName, ParseMolvaPRN);
}
