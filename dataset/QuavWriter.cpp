// QUAV text files: for every locus, the classes of repeat numbers from the smallest to the
// largest of its alleles, then for every sample the number of gene copies in each class.
// Separators are TABs.

#include <algorithm>
#include <map>

#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"

void WriteQUAV(const TPGDSStructure& ds, std::ostream& out) {
  WriteLine(out, ds.Title.empty() ? "#<no title>" : ds.Title);
  WriteLine(out, std::to_string(ds.SamplesCount()));
  WriteLine(out, std::to_string(ds.LociCount()));
  for (int l = 0; l < ds.LociCount(); ++l) {
    const TLocus& locus = *ds.LocusAt(l);
    // The allele of code 0 opens the range (a locus without alleles fails here with the range
    // error of the locus); 0 repeats means an unknown number and widens no range. The range is
    // computed on 64 bits: repeat numbers of any 32-bit value cannot overflow it.
    std::int64_t low = std::max<std::int64_t>(1, locus.GetAllele(0)->NbRepeats);
    std::int64_t high = low;
    for (int code = 1; code < locus.NbAlleles(); ++code) {
      const std::int64_t repeats = locus.GetAllele(code)->NbRepeats;
      if (repeats == 0) continue;
      low = std::min(low, repeats);
      high = std::max(high, repeats);
    }
    WriteText(out, std::to_string(high - low + 1));
    for (std::int64_t r = low; r <= high; ++r)
      WriteText(out, "\t" + std::to_string(r));
    WriteLine(out);

    for (int s = 0; s < ds.SamplesCount(); ++s) {
      const TGroupAbstract& sample = *ds.SamplesGroup.Members.Items(s);
      // Copies of an allele whose number of repeats is 0 (unknown) fall in no class and are not
      // counted; so are those of an allele of code 0 whose number is below 1 when no other
      // allele widens the range down to it.
      std::map<std::int64_t, std::int64_t> copies;
      for (int i = 0; i < sample.NbAllelesAt(l); ++i) {
        const std::int16_t code = sample.FeatureCode(l, i);
        const std::int64_t repeats = locus.GetAllele(code)->NbRepeats;
        if (repeats >= low && repeats <= high) copies[repeats] += sample.AlleleCount(l, code);
      }
      for (std::int64_t r = low; r <= high; ++r) {
        const auto found = copies.find(r);
        WriteText(out, "\t" + std::to_string(found == copies.end() ? 0 : found->second));
      }
      WriteLine(out);
    }
  }
}
