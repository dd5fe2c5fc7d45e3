// Genepop files: the title, one line per locus name, then for every sample a "POP" line and one
// line per individual ("sample_individual," and one genotype per locus, separated by blanks).

#include <vector>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "model/Convert.h"
#include "base/Errors.h"

namespace {

class TGenepopWriter {
public:
  TGenepopWriter(const TPGDSStructure& ds, TGenepopVariant variant, std::uint8_t coding)
      : ds_(ds), variant_(variant), coding_(coding) {
    if (coding_ > 2) RankAlleles();
  }

  // The genotype of `individual` at locus `l`.
  std::string Genotype(const TIndividual& individual, int l) const {
    const TLocus& locus = *ds_.LocusAt(l);
    const int ploidy = individual.GetPloidy(l);
    if (variant_ == TGenepopVariant::Haploid) {
      if (ploidy >= 2) Fail(kIncorrectPloidy, locus, individual);
      if (ploidy == 0) return "0";
      const int code = individual.GetAllele(l, 0);
      if (code < 0) return "0";
      return Format("%d", Number(locus, l, code, individual, 999));
    }
    if (ploidy >= 3) Fail(kIncorrectPloidy, locus, individual);
    const bool three = variant_ == TGenepopVariant::ThreeDigits;
    std::string text;
    for (int j = 0; j < 2; ++j) {
      const int code = individual.GetAllele(l, j);
      if (code < 0)
        text += three ? "000" : "00";
      else
        text +=
            Format(three ? "%.3d" : "%.2d", Number(locus, l, code, individual, three ? 999 : 99));
    }
    return text;
  }

private:
  // The number written for the allele `code` of locus `l`, which must be 1 to `largest`.
  int Number(const TLocus& locus, int l, int code, const TIndividual& individual,
             int largest) const {
    const TAllele& allele = *locus.GetAllele(code);
    long number = 0;
    switch (coding_) {
    case 0: {
      const auto value = TryStrToInt(allele.Name);
      if (!value) Fail(kConversionImpossible, locus, individual);
      number = *value;
      break;
    }
    case 1:
      number = allele.Length;
      break;
    case 2:
      number = allele.NbRepeats;
      break;
    default:
      number = 1 + ranks_[static_cast<std::size_t>(l)][static_cast<std::size_t>(code)];
    }
    if (number < 1 || number > largest) Fail(kIncorrectAlleleSize, locus, individual);
    return static_cast<int>(number);
  }

  // Rank of every allele in name order, per locus.
  void RankAlleles() {
    ranks_.resize(static_cast<std::size_t>(ds_.LociCount()));
    for (int l = 0; l < ds_.LociCount(); ++l) {
      const TLocus& locus = *ds_.LocusAt(l);
      auto& ranks = ranks_[static_cast<std::size_t>(l)];
      ranks.resize(static_cast<std::size_t>(locus.NbAlleles()));
      for (int i = 0; i < locus.NbAlleles(); ++i)
        ranks[static_cast<std::size_t>(locus.SortedAlleleIndex(i))] = i;
    }
  }

  [[noreturn]] static void Fail(const TText& text, const TLocus& locus,
                                const TIndividual& individual) {
    throw EFileWritingError(Format(text(), locus.Name.c_str(), individual.Name.c_str()));
  }

  const TPGDSStructure& ds_;
  const TGenepopVariant variant_;
  const std::uint8_t coding_;
  std::vector<std::vector<int>> ranks_;
};

} // namespace

void WriteGenepop(const TPGDSStructure& ds, std::ostream& out, TGenepopVariant variant,
                  std::uint8_t alleleCoding) {
  const TGenepopWriter writer(ds, variant, alleleCoding);
  WriteLine(out, ds.Title);
  for (int l = 0; l < ds.LociCount(); ++l)
    WriteLine(out, ds.LocusAt(l)->Name);
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    WriteLine(out, "POP");
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& individual = *sample.Individuals.Items(i);
      std::string line = sample.Name + "_" + individual.Name + ",";
      for (int l = 0; l < ds.LociCount(); ++l) {
        if (l > 0) line += ' ';
        line += writer.Genotype(individual, l);
      }
      WriteLine(out, line);
    }
  }
}
