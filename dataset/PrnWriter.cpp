// MOLVA PRN files: two comment lines, the locus names in columns, "DATA", then one block per
// sample from "{" and its name to "}", one entry per individual: its name and two gene copies
// per locus (the allele's name, or "NIL").

#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"

namespace {

// `text` left-aligned in `width` columns; a longer text is written whole.
std::string Column(const std::string& text, std::size_t width) {
  std::string column = text;
  if (column.size() < width) column.resize(width, ' ');
  return column;
}

// Copy j of the genotype at locus `l`: the allele's name, or "NIL" when missing. A genotype
// that is not haploid or diploid is written as missing.
std::string Copy(const TPGDSStructure& ds, const TIndividual& individual, int l, int j) {
  const int ploidy = individual.GetPloidy(l);
  const int code = individual.GetAllele(l, j);
  if (ploidy == 0 || ploidy >= 3 || code < 0) return "NIL";
  return ds.LocusAt(l)->GetAllele(code)->Name;
}

} // namespace

void WriteMolvaPRN(const TPGDSStructure& ds, std::ostream& out) {
  WriteLine(out, "* MOLVA PRN");
  WriteLine(out, "* Liste des Locus");
  std::string loci(20, ' ');
  for (int l = 0; l < ds.LociCount(); ++l)
    loci += Column(ds.LocusAt(l)->Name, 4) + std::string(10, ' ');
  WriteLine(out, loci);
  WriteLine(out, "DATA");
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    // The first individual follows the sample name on the "{" line.
    std::string line = "{" + Column(sample.Name, 7) + "  ";
    if (sample.Individuals.Count() == 0) WriteLine(out, line);
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& individual = *sample.Individuals.Items(i);
      if (i > 0) line = std::string(10, ' ');
      line += Column(individual.Name, 4) + std::string(6, ' ');
      for (int l = 0; l < ds.LociCount(); ++l)
        for (int j = 0; j < 2; ++j)
          line += Column(Copy(ds, individual, l, j), 3) + std::string(4, ' ');
      WriteLine(out, line);
    }
    WriteLine(out, "}");
  }
}
