#include "model/Typage.h"

#include "model/Errors.h"

void TTypage::Add(std::int16_t code) {
  Alleles.push_back(code);
  if (Alleles.size() > Ploidy) Ploidy = static_cast<std::uint8_t>(Alleles.size());
}

std::int16_t TTypage::Items(int i) const {
  if (i < 0 || i >= Count()) ThrowListError(i);
  return Alleles[static_cast<size_t>(i)];
}

void TTypage::Clear() {
  Alleles.clear();
  Log.clear();
  Ploidy = 0;
}

void TTypage::AssignTo(TTypage& dest) const {
  dest.Clear();
  dest.Alleles = Alleles;
  dest.Ploidy = Ploidy;
  dest.Log = Log;
}
