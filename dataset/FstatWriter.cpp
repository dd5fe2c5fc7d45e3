// Fstat files: a header of four numbers, one line per locus name, then one line per individual
// with its sample number and one six-digit number per locus (two alleles of three digits).

#include <algorithm>
#include <optional>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "base/Errors.h"

namespace {

[[noreturn]] void Fail(const TText& text, const TLocus& locus, const TIndividual& individual) {
  throw EFileWritingError(Format(text(), locus.Name.c_str(), individual.Name.c_str()));
}

// The genotype of `individual` at locus `l`: both copies, or "     0" when one of them is
// missing (the format has no half-missing genotype).
std::string Genotype(const TPGDSStructure& ds, const TIndividual& individual, int l) {
  const TLocus& locus = *ds.LocusAt(l);
  if (individual.GetPloidy(l) != 2) Fail(kIncorrectPloidy, locus, individual);
  const int first = individual.GetAllele(l, 0);
  const int second = individual.GetAllele(l, 1);
  if (first < 0 || second < 0) return "     0";
  const std::int32_t a = locus.GetAllele(first)->Length;
  const std::int32_t b = locus.GetAllele(second)->Length;
  if (a < 1 || a > 999 || b < 1 || b > 999) Fail(kIncorrectAlleleSize, locus, individual);
  return Format("%.3d%.3d", a, b);
}

} // namespace

void WriteFstat(const TPGDSStructure& ds, std::ostream& out) {
  std::optional<std::int32_t> largest;
  for (int l = 0; l < ds.LociCount(); ++l) {
    const TLocus& locus = *ds.LocusAt(l);
    for (int a = 0; a < locus.NbAlleles(); ++a)
      largest = std::max(largest.value_or(locus.GetAllele(a)->Length), locus.GetAllele(a)->Length);
  }
  WriteLine(out, Format("%d %d %d 3", ds.SamplesCount(), ds.LociCount(), largest.value_or(0)));
  for (int l = 0; l < ds.LociCount(); ++l)
    WriteLine(out, ds.LocusAt(l)->Name);
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& individual = *sample.Individuals.Items(i);
      std::string line = Format("%-3d  ", s + 1);
      for (int l = 0; l < ds.LociCount(); ++l) {
        if (l > 0) line += ' ';
        line += Genotype(ds, individual, l);
      }
      WriteLine(out, line);
    }
  }
}
