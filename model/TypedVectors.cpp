#include "model/TypedVectors.h"

#include <cmath>

#include "base/Logger.h"
#include "base/Errors.h"
#include "model/Group.h"
#include "model/Individual.h"
#include "model/Locus.h"
#include "model/ModelTexts.h"
#include "model/Sample.h"
#include "xml/XMLNode.h"

namespace {
template <class T> T* Checked(TBioAbstract* item) {
  auto* typed = dynamic_cast<T*>(item);
  if (!typed && item) throw EComponentError(std::string());
  return typed;
}
} // namespace

// ---- loci

TLocus* TVectorLoci::Items(int i) const { return Checked<TLocus>(TVectorBioAbstract::Items(i)); }
TLocus* TVectorLoci::Add(TLocus* item) {
  return static_cast<TLocus*>(TVectorBioAbstract::Add(item));
}
TLocus* TVectorLoci::Adopt(std::unique_ptr<TLocus> item) {
  return static_cast<TLocus*>(TVectorBioAbstract::Adopt(std::move(item)));
}
TLocus* TVectorLoci::ByName(const std::string& name) const {
  return Checked<TLocus>(TVectorBioAbstract::ByName(name));
}

void TVectorLoci::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TVectorLoci*>(&dest);
  if (!d || typeid(*d) != typeid(*this)) {
    TVectorBioAbstract::AssignTo(dest);
    return;
  }
  d->Clear(true);
  TVectorBioAbstract::AssignTo(dest);
  for (int i = 0; i < Count(); ++i) {
    auto copy = std::make_unique<TLocus>();
    TLocus* raw = copy.get();
    d->AppendOwnedUnindexed(std::move(copy));
    Items(i)->AssignTo(*raw);
  }
}

void TVectorLoci::ReadXML(TLogger& dataset, const TXMLNode& lociList) {
  const int n = lociList.ChildCount();
  for (int i = 0; i < n; ++i) {
    dataset.Progression = 75 + static_cast<int>(std::nearbyint((i + 1) * 6.25)) / n;
    if (dataset.DoEvent()) throw EFileFormatWarning(kUserStoppedParsing());
    const TXMLNode& locus = *lociList.GetChild(i);
    for (int k = 0; k < locus.ChildCount(); ++k) {
      const TXMLNode& child = *locus.GetChild(k);
      if (child.Name != "locusName") continue;
      if (child.Value.empty()) throw EFileFormatWarning(kUnnamedLocus());
      auto l = std::make_unique<TLocus>(child.Value, 5);
      l->ReadXML(locus);
      Adopt(std::move(l));
    }
  }
}

// ---- individuals

TIndividual* TVectorIndividuals::Items(int i) const {
  return Checked<TIndividual>(TVectorBioAbstract::Items(i));
}

TIndividual* TVectorIndividuals::Add(TIndividual* item) {
  if (!item->Computed && Owner) {
    if (auto* owner = dynamic_cast<TBioCalculable*>(Owner))
      item->Label = owner->Label + "/" + item->Label;
  }
  return static_cast<TIndividual*>(TVectorBioAbstract::Add(item));
}

TIndividual* TVectorIndividuals::Adopt(std::unique_ptr<TIndividual> item) {
  TIndividual* raw = item.get();
  if (!raw->Computed && Owner)
    if (auto* owner = dynamic_cast<TBioCalculable*>(Owner))
      raw->Label = owner->Label + "/" + raw->Label;
  return static_cast<TIndividual*>(TVectorBioAbstract::Adopt(std::move(item)));
}

TIndividual* TVectorIndividuals::ByName(const std::string& name) const {
  return Checked<TIndividual>(TVectorBioAbstract::ByName(name));
}

void TVectorIndividuals::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TVectorIndividuals*>(&dest);
  if (!d || typeid(*d) != typeid(*this)) {
    TVectorBioAbstract::AssignTo(dest);
    return;
  }
  d->Clear(true);
  TVectorBioAbstract::AssignTo(dest);
  for (int i = 0; i < Count(); ++i) {
    auto copy = std::make_unique<TIndividual>("", 0, 0);
    TIndividual* raw = copy.get();
    d->AppendOwnedUnindexed(std::move(copy));
    Items(i)->AssignTo(*raw);
  }
}

// ---- groups

TGroupAbstract* TVectorGroups::Items(int i) const {
  return Checked<TGroupAbstract>(TVectorBioAbstract::Items(i));
}
TGroupAbstract* TVectorGroups::Add(TGroupAbstract* item) {
  return static_cast<TGroupAbstract*>(TVectorBioAbstract::Add(item));
}
TGroupAbstract* TVectorGroups::Adopt(std::unique_ptr<TGroupAbstract> item) {
  return static_cast<TGroupAbstract*>(TVectorBioAbstract::Adopt(std::move(item)));
}
TGroupAbstract* TVectorGroups::ByName(const std::string& name) const {
  return Checked<TGroupAbstract>(TVectorBioAbstract::ByName(name));
}

void TVectorGroups::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TVectorGroups*>(&dest);
  if (!d || typeid(*d) != typeid(*this)) {
    TVectorBioAbstract::AssignTo(dest);
    return;
  }
  d->Clear(true);
  TVectorBioAbstract::AssignTo(dest);
  for (int i = 0; i < Count(); ++i) {
    TBioAbstract* source = TVectorBioAbstract::Items(i);
    std::unique_ptr<TGroupAbstract> copy;
    if (dynamic_cast<TSample*>(source)) copy = std::make_unique<TSample>("", 0, 0);
    else if (dynamic_cast<TGroup*>(source)) copy = std::make_unique<TGroup>("", 0, 0);
    else throw EComponentError(std::string());
    TGroupAbstract* raw = copy.get();
    d->AppendOwnedUnindexed(std::move(copy));
    source->AssignTo(*raw);
  }
}
