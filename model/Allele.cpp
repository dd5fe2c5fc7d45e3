#include "model/Allele.h"

TAllele::TAllele(const std::string& name, std::int32_t length, std::int32_t nbRepeats,
                 const std::string& sequence)
    : TBioAbstract(name), Length(length), NbRepeats(nbRepeats), Sequence(sequence) {}

void TAllele::Clear() {
  TBioAbstract::Clear();
  Length = 0;
  NbRepeats = 0;
  Sequence.clear();
}

void TAllele::AssignTo(TPersistent& dest) const {
  TBioAbstract::AssignTo(dest);
  if (auto* d = dynamic_cast<TAllele*>(&dest)) {
    d->Length = Length;
    d->NbRepeats = NbRepeats;
    d->Sequence = Sequence;
  }
}
