#include "model/GroupAbstract.h"

#include <algorithm>
#include <vector>

#include "base/Errors.h"
#include "model/Individual.h"

TGroupAbstract::TGroupAbstract(const std::string& name, int nbLoci, int individualsCapacity)
    : TBioCalculable(name, nbLoci), Individuals(this, individualsCapacity) {}

TGroupAbstract::~TGroupAbstract() {
  Individuals.Clear(false);
  SimulationData.reset();
}

void TGroupAbstract::Clear(bool free) {
  Individuals.Clear(free);
  SimulationData.reset();
  TBioCalculable::Clear();
}

void TGroupAbstract::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TGroupAbstract*>(&dest);
  if (!d) {
    TBioCalculable::AssignTo(dest);
    return;
  }
  d->TGroupAbstract::Clear(true);
  TBioCalculable::AssignTo(dest);
}

int TGroupAbstract::NbHomozygotes(int locus) const {
  int n = 0;
  for (int i = 0; i < Individuals.Count(); ++i)
    n += Individuals.Items(i)->Zygosity(locus) == 0;
  return n;
}

int TGroupAbstract::NbHeterozygotes(int locus) const {
  int n = 0;
  for (int i = 0; i < Individuals.Count(); ++i)
    n += Individuals.Items(i)->Zygosity(locus) == 1;
  return n;
}

void TGroupAbstract::CountAlleles(bool reset) {
  TCopyCounts counts(NbLoci());
  for (int k = 0; k < Individuals.Count(); ++k)
    CountGenotypes(*Individuals.Items(k), counts);
  MergeCounts(counts);
  TBioCalculable::CountAlleles(reset);
}

// The copies are counted per locus in an array indexed by allele code, then merged into the
// tally in code order: the tally AddAllele of every copy would give, without searching and
// inserting into it once per copy.
void TGroupAbstract::CountGenotypes(const TIndividual& individual, TCopyCounts& counts) {
  // An individual without a genotype at every locus of the group is refused, as reading its
  // missing locus would be.
  const int loci = static_cast<int>(counts.size());
  if (individual.NbTypages() < loci) ThrowListError(individual.NbTypages());
  for (int i = 0; i < loci; ++i) {
    std::vector<std::int32_t>& c = counts[static_cast<size_t>(i)];
    for (std::int16_t code : individual.Genotypes.Alleles(i)) {
      if (code < 0) {
        AddAllele(i, code, 1); // never made by the readers; kept exact all the same
        continue;
      }
      if (static_cast<size_t>(code) >= c.size()) c.resize(static_cast<size_t>(code) + 1, 0);
      ++c[static_cast<size_t>(code)];
    }
  }
}

void TGroupAbstract::CountTally(const TBioCalculable& member, TCopyCounts& counts) {
  for (int i = 0; i < static_cast<int>(counts.size()); ++i) {
    std::vector<std::int32_t>& c = counts[static_cast<size_t>(i)];
    for (const TAlleleFeatures& f : member.GetSampledLocus(i).Features) {
      if (f.Count == 0) continue;
      if (f.AlleleCode < 0) {
        AddAllele(i, f.AlleleCode, f.Count);
        continue;
      }
      if (static_cast<size_t>(f.AlleleCode) >= c.size())
        c.resize(static_cast<size_t>(f.AlleleCode) + 1, 0);
      c[static_cast<size_t>(f.AlleleCode)] += f.Count;
    }
  }
}

void TGroupAbstract::MergeCounts(const TCopyCounts& counts) {
  for (int i = 0; i < static_cast<int>(counts.size()); ++i) {
    const std::vector<std::int32_t>& c = counts[static_cast<size_t>(i)];
    if (c.empty()) continue;
    TSampledLocus& tally = GetSampledLocus(i);
    decltype(tally.Features) merged;
    merged.reserve(tally.Features.size() + c.size());
    auto old = tally.Features.begin();
    const auto end = tally.Features.end();
    for (; old != end && old->AlleleCode < 0; ++old)
      merged.push_back(*old);
    for (size_t code = 0; code < c.size(); ++code) {
      const bool present = old != end && static_cast<size_t>(old->AlleleCode) == code;
      if (!present && c[code] == 0) continue;
      TAlleleFeatures f = present ? *old : TAlleleFeatures{static_cast<std::int16_t>(code), 0, 0};
      f.Count += c[code];
      merged.push_back(f);
      if (present) ++old;
    }
    for (; old != end; ++old)
      merged.push_back(*old);
    tally.Features = std::move(merged);
  }
}

void TGroupAbstract::ComputeFrequencies() {
  for (TSampledLocus& t : SampledLoci) {
    const Extended n = t.NbGenes;
    for (TAlleleFeatures& f : t.Features)
      f.Frequency = t.NbGenes > 0 ? f.Count / n : Undefined();
  }
  // Ho and He of every locus as ObservedHeterozygosity and GeneDiversity give them, with the
  // heterozygotes and homozygotes of all loci counted in one pass over the individuals (one
  // pass per locus would read every genotype of the group once per locus).
  const size_t loci = SampledLoci.size();
  std::vector<int> heterozygotes(loci, 0), homozygotes(loci, 0);
  for (int k = 0; k < Individuals.Count(); ++k) {
    const TIndividual& ind = *Individuals.Items(k);
    const size_t typed = std::min(loci, static_cast<size_t>(ind.NbTypages()));
    for (size_t i = 0; i < typed; ++i) {
      const int z = ind.Zygosity(static_cast<int>(i));
      heterozygotes[i] += z == 1;
      homozygotes[i] += z == 0;
    }
  }
  for (size_t i = 0; i < loci; ++i) {
    TSampledLocus& t = SampledLoci[i];
    const int het = heterozygotes[i], hom = homozygotes[i];
    t.Ho = het + hom == 0 ? Undefined()
                          : static_cast<Extended>(het) / static_cast<Extended>(het + hom);
    t.He = GeneDiversity(static_cast<int>(i));
  }
}
