#include "model/SampledLocus.h"

void TSampledLocus::Clear() {
  Features.clear();
  NbGenes = 0;
  Ho = 0;
  He = 0;
}

TAlleleFeatures* TSampledLocus::Items(int i) {
  return i < 0 || i >= Count() ? nullptr : &Features[static_cast<size_t>(i)];
}

const TAlleleFeatures* TSampledLocus::Items(int i) const {
  return i < 0 || i >= Count() ? nullptr : &Features[static_cast<size_t>(i)];
}

TAlleleFeatures& TSampledLocus::Append(std::int16_t code, std::int32_t count) {
  Features.push_back(TAlleleFeatures{code, count, 0});
  return Features.back();
}

TAlleleFeatures& TSampledLocus::Insert(int i, std::int16_t code, std::int32_t count) {
  return *Features.insert(Features.begin() + i, TAlleleFeatures{code, count, 0});
}

void TSampledLocus::AssignTo(TSampledLocus& dest) const {
  dest.NbGenes = NbGenes;
  dest.Ho = Ho;
  dest.He = He;
  dest.Features.reserve(dest.Features.size() + Features.size());
  for (const TAlleleFeatures& f : Features) dest.Features.push_back(f);
}

int TSampledLocus::LowerBound(std::int16_t code) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (code <= Features[static_cast<size_t>(mid)].AlleleCode) hi = mid;
    else lo = mid + 1;
  }
  return lo;
}

void TSampledLoci::Reset(std::size_t n) {
  loci_.reset();
  size_ = n;
}

const TSampledLocus& TSampledLoci::Empty() {
  static const TSampledLocus empty;
  return empty;
}

std::vector<TSampledLocus>& TSampledLoci::Own() {
  if (!loci_) loci_ = std::make_shared<std::vector<TSampledLocus>>(size_);
  else if (loci_.use_count() > 1) loci_ = std::make_shared<std::vector<TSampledLocus>>(*loci_);
  return *loci_;
}
