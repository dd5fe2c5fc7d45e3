// MNE files: three constants, the number of alleles of every locus, then for every sample the
// number of copies of each allele of each locus, as tallied when the data set was loaded.

#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "base/Texts.h"

void WriteMNE(const TPGDSStructure& ds, std::ostream& out, int a, int b, int c) {
  WriteLine(out, std::to_string(a));
  WriteLine(out, std::to_string(b));
  WriteLine(out, std::to_string(c));
  WriteLine(out, std::to_string(ds.LociCount()));
  if (ds.LociCount() > 0) {
    std::string counts;
    for (int l = 0; l < ds.LociCount(); ++l)
      counts += (l > 0 ? "," : "") + std::to_string(ds.LocusAt(l)->NbAlleles());
    WriteLine(out, counts);
  }
  WriteLine(out, "2");
  WriteLine(out, "0,2");
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
    WriteLine(out);
    for (int l = 0; l < ds.LociCount(); ++l) {
      const int nbAlleles = ds.LocusAt(l)->NbAlleles();
      if (nbAlleles == 0) continue;
      std::string line;
      for (int j = 0; j < nbAlleles; ++j) {
        if (j > 0) line += ' ';
        line += Format("%5d", sample.AlleleCount(l, static_cast<std::int16_t>(j)));
      }
      WriteLine(out, line);
    }
  }
  WriteLine(out, "1");
}
