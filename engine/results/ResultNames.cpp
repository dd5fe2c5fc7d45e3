#include "engine/results/ResultNames.h"

#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"

TResultNames ResultNamesOf(const TPGDSStructure& reference, const TMatchPGDS& match) {
  TResultNames names;
  const int populations = reference.SamplesCount();
  names.Populations.reserve(static_cast<size_t>(populations));
  bool renamed = false;
  for (int k = 0; k < populations; ++k) {
    names.Populations.push_back(reference.SampleName(k));
    renamed = renamed || names.Populations.back() != reference.SampleAt(k)->Name;
  }
  if (renamed)
    for (int k = 0; k < populations; ++k)
      names.Samples.push_back(reference.SampleAt(k)->Name);
  names.Loci.reserve(static_cast<size_t>(match.LocusCount()));
  for (int l = 0; l < match.LocusCount(); ++l)
    names.Loci.push_back(match.Target->LocusAt(match.Locus(l).TargetLocus)->Name);
  return names;
}

std::unique_ptr<TTableResultats> NewResultTable(int n, const TPGDSStructure& reference,
                                                const TMatchPGDS& match) {
  return std::make_unique<TTableResultats>(n, ResultNamesOf(reference, match));
}
