#include "model/BioAbstract.h"

TBioAbstract::TBioAbstract(const std::string& name) {
  TBioAbstract::SetName(name);
  FullName = name;
}

TBioAbstract::~TBioAbstract() { Clear(); }

void TBioAbstract::SetName(const std::string& value) {
  Name = value;
  FullName = value;
}

void TBioAbstract::Clear() {
  Name.clear();
  FullName.clear();
  Comments.clear();
}

void TBioAbstract::AssignTo(TPersistent& dest) const {
  if (auto* d = dynamic_cast<TBioAbstract*>(&dest)) {
    d->TBioAbstract::Clear();
    d->Name = Name;
    d->FullName = FullName;
    d->Comments = Comments;
    return;
  }
  TPersistent::AssignTo(dest);
}
