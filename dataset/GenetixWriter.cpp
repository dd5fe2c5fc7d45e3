// Genetix files: the number of loci and the title, the number of samples, every locus with
// the list of its alleles, then every sample: its name, its number of individuals and one line
// per individual (a name in ten columns and one six-digit genotype per locus).

#include <algorithm>
#include <set>

#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "base/Texts.h"

namespace {

// The three digits that stand for an allele in the genotypes: its length, when it has three
// digits at most; anything else is written as a missing copy.
bool AlleleDigits(const TAllele& allele, std::string& digits) {
  if (allele.Length < 1 || allele.Length > 999) return false;
  digits = Format("%.3d", allele.Length);
  return true;
}

// The allele line of a locus: the number of alleles, then each allele as the genotypes name it,
// in ascending order, each followed by a blank. Alleles that the genotypes write as missing are
// not declared, and alleles of the same length are one allele of the file.
std::string AlleleLine(const TLocus& locus) {
  std::set<std::string> declared;
  std::string digits;
  for (int a = 0; a < locus.NbAlleles(); ++a)
    if (AlleleDigits(*locus.GetAllele(a), digits)) declared.insert(digits);
  std::string line = Format("%d ", static_cast<int>(declared.size()));
  for (const std::string& d : declared)
    line += d + " ";
  return line;
}

// The genotype at locus `l`: two copies of three digits, the smaller first; "000" for a
// missing copy.
std::string Genotype(const TPGDSStructure& ds, const TIndividual& individual, int l) {
  const int ploidy = individual.GetPloidy(l);
  if (ploidy != 1 && ploidy != 2) return "000000";
  std::string copies[2];
  for (int j = 0; j < 2; ++j) {
    const int code = individual.GetAllele(l, j);
    if (code < 0 || !AlleleDigits(*ds.LocusAt(l)->GetAllele(code), copies[j])) copies[j] = "000";
  }
  if (copies[1] < copies[0]) std::swap(copies[0], copies[1]);
  return copies[0] + copies[1];
}

} // namespace

void WriteGenetix(const TPGDSStructure& ds, std::ostream& out) {
  WriteLine(out, Format("%d Title:", ds.LociCount()) + ds.Title);
  WriteLine(out, Format("%d  nombre de pops", ds.SamplesCount()));
  for (int l = 0; l < ds.LociCount(); ++l) {
    WriteLine(out, ds.LocusAt(l)->Name);
    WriteLine(out, AlleleLine(*ds.LocusAt(l)));
  }
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    WriteLine(out, sample.Name.empty() ? Format("Population %d", s + 1) : sample.Name);
    WriteLine(out, Format("%d", sample.Individuals.Count()));
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& individual = *sample.Individuals.Items(i);
      std::string name = individual.Name;
      if (name.empty()) name = sample.Name + "_" + std::to_string(i);
      // At least ten columns; a longer name is written whole.
      if (name.size() < 10) name.resize(10, ' ');
      std::string line = name + " ";
      for (int l = 0; l < ds.LociCount(); ++l) {
        if (l > 0) line += ' ';
        line += Genotype(ds, individual, l);
      }
      WriteLine(out, line);
    }
  }
}
