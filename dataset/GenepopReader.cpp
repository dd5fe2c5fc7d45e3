#include "dataset/GenepopReader.h"

#include <cstring>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextReader.h"
#include "model/Convert.h"
#include "model/Sample.h"
#include "base/Texts.h"

namespace {

const char kReaderName[] = "GenePop";

// Integer value of a run of digits as the scanner delivers them ("007" is 7).
std::int32_t DigitsValue(std::string_view digits) {
  std::int32_t value = 0;
  for (char c : digits)
    value = value * 10 + (c - '0');
  return value;
}

// One gene copy of a diploid genotype: all zeros is a missing copy, anything else names an
// allele exactly as written (leading zeros kept).
void DiploidCopy(TTextReader& reader, std::string_view digits) {
  const std::int32_t value = DigitsValue(digits);
  if (value == 0)
    reader.AddMissingCopy();
  else
    reader.AddAlleleCopy(digits, value);
}

} // namespace

void GenepopLoci(TTextReader& reader, const std::string& text) {
  // Genepop also allows every locus name on one line, separated by commas.
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    const std::string name = Trim(std::string_view(text).substr(start, comma - start));
    if (!name.empty()) reader.NewLocus(name);
    start = comma + 1;
  }
}

void GenepopSample(TTextReader& reader, const std::string& popLine) {
  reader.CloseSample();
  reader.NewSample(Trim(std::string_view(popLine).substr(3)));
}

void GenepopDiploidGenotype(TTextReader& reader, const std::string& digits) {
  if (reader.AtKnownLocus()) {
    const std::size_t width = digits.size() / 2;
    const std::string_view text(digits);
    const std::string_view first = text.substr(0, width), second = text.substr(width, width);
    // A missing first copy is recorded after the present one: the genotype stays diploid
    // (ploidy 2, one allele) instead of looking haploid.
    if (DigitsValue(first) == 0 && DigitsValue(second) != 0) {
      DiploidCopy(reader, second);
      DiploidCopy(reader, first);
    } else {
      DiploidCopy(reader, first);
      DiploidCopy(reader, second);
    }
  }
  ++reader.LocusPosition;
}

void GenepopHaploidGenotype(TTextReader& reader, const std::string& digits) {
  if (reader.AtKnownLocus()) {
    const std::int32_t value = DigitsValue(digits);
    if (value == 0)
      reader.AddMissingCopy();
    else
      reader.AddAlleleCopy(digits, value);
  }
  ++reader.LocusPosition;
}

void GenepopDiploidWidth(TTextReader& reader, const char* digits, int length) {
  if (reader.GenotypeWidth == 0 && (length == 4 || length == 6)) reader.GenotypeWidth = length;
  if (length == reader.GenotypeWidth) return;
  const std::string expected =
      reader.GenotypeWidth == 0 ? kFourOrSixDigits() : std::to_string(reader.GenotypeWidth);
  reader.Error(Format(kGenotypeWidth(), std::string(digits, static_cast<size_t>(length)).c_str(),
                      length, expected.c_str()));
}

void GenepopHaploidTooWide(TTextReader& reader, const char* digits, int length) {
  reader.Error(Format(kGenotypeWidth(), std::string(digits, static_cast<size_t>(length)).c_str(),
                      length, kOneToThreeDigits().c_str()));
}

void GenepopSyntaxError(TTextReader& reader, const char* message) {
  if (std::strcmp(message, "syntax error") == 0) {
    if (reader.CurrentSample && reader.CurrentSample->Individuals.Count() == 0)
      reader.Error(kPopWithoutIndividual());
    // The end of the file reached among the locus names.
    if (!reader.CurrentSample && reader.DataSet.LociCount() > 0 && reader.Source.Finished())
      reader.Error(kNoPopLine());
    // The parser stops at the first line after the blank one, or on the blank line itself in
    // the locus lines. The title line may be blank.
    if (reader.LastBlankLine > 1 && reader.LastBlankLine >= reader.Line - 1)
      reader.Error(Format(kBlankLineInside(), reader.LastBlankLine));
  }
  reader.ParserError(message);
}

bool ReadGenepopDiploid(TPGDSStructure& ds, std::istream& in) {
  return ReadText(ds, in, kReaderName, ParseGenepopDiploid);
}

bool ReadGenepopHaploid(TPGDSStructure& ds, std::istream& in) {
  return ReadText(ds, in, kReaderName, ParseGenepopHaploid);
}
