#include "model/BioCalculable.h"

#include "base/Errors.h"

TBioCalculable::TBioCalculable(const std::string& name, int nbLoci) : TBioAbstract(name) {
  Label = name;
  SetNbLoci(nbLoci);
}

void TBioCalculable::SetName(const std::string& value) {
  TBioAbstract::SetName(value);
  Label = value;
}

void TBioCalculable::SetNbLoci(int n) {
  SampledLoci.Reset(static_cast<size_t>(n > 0 ? n : 0));
}

TSampledLocus& TBioCalculable::GetSampledLocus(int locus) {
  if (locus < 0 || locus >= static_cast<int>(SampledLoci.size())) ThrowListError(locus);
  return SampledLoci[static_cast<size_t>(locus)];
}

const TSampledLocus& TBioCalculable::GetSampledLocus(int locus) const {
  if (locus < 0 || locus >= static_cast<int>(SampledLoci.size())) ThrowListError(locus);
  MakeTallies();
  return SampledLoci[static_cast<size_t>(locus)];
}

void TBioCalculable::MakeTallies() const {
  if (!TalliesDerived() || SampledLoci.Stored() || SampledLoci.empty()) return;
  auto& self = const_cast<TBioCalculable&>(*this);
  self.CountAlleles(true);
  self.ComputeFrequencies();
}

void TBioCalculable::ForgetTallies() {
  if (TalliesDerived()) SampledLoci.Reset(SampledLoci.size());
}

int TBioCalculable::AddAllele(int locus, std::int16_t code, std::int32_t count) {
  TSampledLocus& t = GetSampledLocus(locus);
  int p = t.LowerBound(code);
  if (p == t.Count()) t.Append(code, count);
  else if (t.Features[static_cast<size_t>(p)].AlleleCode == code)
    t.Features[static_cast<size_t>(p)].Count += count;
  else t.Insert(p, code, count);
  return p;
}

int TBioCalculable::FindAllele(int locus, std::int16_t code) const {
  const TSampledLocus& t = GetSampledLocus(locus);
  int p = t.LowerBound(code);
  return p < t.Count() && t.Features[static_cast<size_t>(p)].AlleleCode == code ? p : -1;
}

std::int32_t TBioCalculable::AlleleCount(int locus, std::int16_t code) const {
  int p = FindAllele(locus, code);
  return p < 0 ? 0 : GetSampledLocus(locus).Features[static_cast<size_t>(p)].Count;
}

Extended TBioCalculable::AlleleFrequency(int locus, std::int16_t code) const {
  int p = FindAllele(locus, code);
  return p < 0 ? 0 : GetSampledLocus(locus).Features[static_cast<size_t>(p)].Frequency;
}

std::int16_t TBioCalculable::FeatureCode(int locus, int i) const {
  return GetSampledLocus(locus).Features.at(static_cast<size_t>(i)).AlleleCode;
}

Extended TBioCalculable::FeatureFrequency(int locus, int i) const {
  return GetSampledLocus(locus).Features.at(static_cast<size_t>(i)).Frequency;
}

Extended TBioCalculable::ObservedHeterozygosity(int locus) const {
  int het = NbHeterozygotes(locus);
  int hom = NbHomozygotes(locus);
  if (het + hom == 0) return Undefined();
  return static_cast<Extended>(het) / static_cast<Extended>(het + hom);
}

Extended TBioCalculable::GeneDiversity(int locus) const {
  const TSampledLocus& t = GetSampledLocus(locus);
  const Extended n = t.NbGenes;
  Extended s = 1.0L;
  for (const TAlleleFeatures& f : t.Features) s -= f.Frequency * f.Frequency;
  if (t.NbGenes < 2) return Undefined();
  return s * n / (n - 1);
}

void TBioCalculable::CountAlleles(bool) {
  for (TSampledLocus& t : SampledLoci) {
    std::int32_t sum = 0;
    for (const TAlleleFeatures& f : t.Features) sum += f.Count;
    t.NbGenes = sum;
  }
}

void TBioCalculable::ComputeFrequencies() {
  for (int i = 0; i < NbLoci(); ++i) {
    TSampledLocus& t = SampledLoci[static_cast<size_t>(i)];
    t.Ho = ObservedHeterozygosity(i);
    t.He = GeneDiversity(i);
  }
}

void TBioCalculable::Compute(bool reset) {
  if (Computed) return;
  if (reset)
    for (TSampledLocus& t : SampledLoci) {
      t.NbGenes = 0;
      for (TAlleleFeatures& f : t.Features) f.Count = 0;
    }
  CountAlleles(reset);
  ComputeFrequencies();
  Computed = true;
}

void TBioCalculable::Clear() {
  Label.clear();
  Computed = false;
  SampledLoci.clear();
  TBioAbstract::Clear();
}

void TBioCalculable::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TBioCalculable*>(&dest);
  if (!d) {
    TBioAbstract::AssignTo(dest);
    return;
  }
  d->TBioCalculable::Clear();
  TBioAbstract::AssignTo(dest);
  d->Label = Label;
  d->Computed = Computed;
  // One tally per locus, each equal to this one's (what SetNbLoci and the tallies' AssignTo
  // into fresh tallies give): shared until one of the two changes.
  d->SampledLoci = SampledLoci;
}
