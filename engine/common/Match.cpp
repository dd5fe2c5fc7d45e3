#include "engine/common/Match.h"

#include "model/Individual.h"

#include <algorithm>

#include "base/Errors.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/MatchTexts.h"
#include "model/BioCalculable.h"

void TIntegerList::Remove(std::int32_t v) {
  std::erase(Items, v);
}

namespace {
// Position of the locus named `name` in `ds`; a selected locus must exist in both files.
int LocusPosition(const TPGDSStructure& ds, const std::string& name) {
  const int i = ds.Loci.IndexOf(name);
  if (i < 0) throw ERangeError(Format(kLocusMissingFromFile(), name.c_str(), ds.FileName.c_str()));
  return i;
}
} // namespace

TMatchPGDS::TMatchPGDS(const TPGDSStructure& reference, const TPGDSStructure& target,
                       const std::vector<std::string>& locusNames)
    : Reference(&reference), Target(&target) {
  Loci.reserve(locusNames.size());
  for (const std::string& name : locusNames) {
    const int t = LocusPosition(target, name);
    const int r = LocusPosition(reference, name);
    const TLocus& targetLocus = *target.LocusAt(t);
    const TLocus& refLocus = *reference.LocusAt(r);

    TMatchedLoci& m = Loci.emplace_back();
    m.TargetLocus = static_cast<std::int16_t>(t);
    m.RefLocus = static_cast<std::int16_t>(r);
    m.NbTargetAlleles = static_cast<std::int16_t>(targetLocus.NbAlleles());
    const int nbRef = refLocus.NbAlleles();
    m.Alleles.reserve(static_cast<size_t>(m.NbTargetAlleles + nbRef));

    // Target alleles first, each paired with the reference allele of the same name.
    std::vector<bool> paired(static_cast<size_t>(nbRef), false);
    for (int j = 0; j < m.NbTargetAlleles; ++j) {
      TMatchedAlleles& a = m.Alleles.emplace_back();
      a.TargetAllele = static_cast<std::int16_t>(j);
      a.RefAllele = refLocus.IndexOfAllele(targetLocus.GetAllele(j)->Name);
      if (a.RefAllele >= 0) paired[static_cast<size_t>(a.RefAllele)] = true;
    }
    // Then the reference alleles that no target allele matched, in reference order.
    m.NbRefOnly = 0;
    for (int j = 0; j < nbRef; ++j) {
      if (paired[static_cast<size_t>(j)]) continue;
      TMatchedAlleles& a = m.Alleles.emplace_back();
      a.RefAllele = static_cast<std::int16_t>(j);
      a.TargetAllele = -1;
      ++m.NbRefOnly;
    }
  }
}

bool TMatchPGDS::IsReferenceOnly(int i, std::int16_t refAllele) const {
  const TMatchedLoci& m = Locus(i);
  for (int j = 0; j < m.NbTargetAlleles; ++j)
    if (m.Allele(j).RefAllele == refAllele) return false;
  return true;
}

void UsableLoci(const TMatchPGDS& match, const TBioCalculable& unit, TIntegerList& used,
                TIntegerList& missing) {
  used.Clear();
  missing.Clear();
  // An individual is read from its genotypes: its tallies would only repeat them.
  const auto* individual = dynamic_cast<const TIndividual*>(&unit);
  for (int i = 0; i < match.LocusCount(); ++i) {
    const int locus = match.Locus(i).TargetLocus;
    if ((individual ? individual->NbAllelesTyped(locus) : unit.NbGenes(locus)) == 0)
      missing.Add(i);
    else
      used.Add(i);
  }
}

std::int32_t RefCount(const TBioCalculable& pop, const TMatchedLoci& locus,
                      const TMatchedAlleles& entry) {
  return entry.RefAllele < 0 ? 0 : pop.AlleleCount(locus.RefLocus, entry.RefAllele);
}

std::int32_t TargetCount(const TBioCalculable& unit, const TMatchedLoci& locus,
                         const TMatchedAlleles& entry) {
  return entry.TargetAllele < 0 ? 0 : unit.AlleleCount(locus.TargetLocus, entry.TargetAllele);
}

Extended RefFrequency(const TBioCalculable& pop, const TMatchedLoci& locus,
                      const TMatchedAlleles& entry) {
  return entry.RefAllele < 0 ? 0 : pop.AlleleFrequency(locus.RefLocus, entry.RefAllele);
}

Extended TargetFrequency(const TBioCalculable& unit, const TMatchedLoci& locus,
                         const TMatchedAlleles& entry) {
  return entry.TargetAllele < 0 ? 0 : unit.AlleleFrequency(locus.TargetLocus, entry.TargetAllele);
}
