#include "model/TypedVectors.h"

#include <cmath>
#include <typeinfo>

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

// A blank element of the same kind as `source`, ready to receive its copy.
template <class T> std::unique_ptr<T> BlankLike(const TBioAbstract& source);

template <> std::unique_ptr<TLocus> BlankLike<TLocus>(const TBioAbstract& source) {
  if (!dynamic_cast<const TLocus*>(&source)) throw EComponentError(std::string());
  return std::make_unique<TLocus>();
}

template <> std::unique_ptr<TIndividual> BlankLike<TIndividual>(const TBioAbstract& source) {
  if (!dynamic_cast<const TIndividual*>(&source)) throw EComponentError(std::string());
  return std::make_unique<TIndividual>("", 0, 0);
}

// A group's members are samples or sub-groups; each is copied into a blank of its own kind.
template <> std::unique_ptr<TGroupAbstract> BlankLike<TGroupAbstract>(const TBioAbstract& source) {
  if (dynamic_cast<const TSample*>(&source)) return std::make_unique<TSample>("", 0, 0);
  if (dynamic_cast<const TGroup*>(&source)) return std::make_unique<TGroup>("", 0, 0);
  throw EComponentError(std::string());
}
} // namespace

template <class T> T* TTypedVector<T>::Items(int i) const {
  return Checked<T>(TVectorBioAbstract::Items(i));
}

template <class T> T* TTypedVector<T>::Add(T* item) {
  Admit(*item);
  return static_cast<T*>(TVectorBioAbstract::Add(item));
}

template <class T> T* TTypedVector<T>::Adopt(std::unique_ptr<T> item) {
  Admit(*item);
  return static_cast<T*>(TVectorBioAbstract::Adopt(std::move(item)));
}

template <class T> T* TTypedVector<T>::ByName(const std::string& name) const {
  return Checked<T>(TVectorBioAbstract::ByName(name));
}

template <class T> void TTypedVector<T>::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TTypedVector*>(&dest);
  if (!d || typeid(*d) != typeid(*this)) {
    TVectorBioAbstract::AssignTo(dest);
    return;
  }
  d->Clear(true);
  TVectorBioAbstract::AssignTo(dest);
  for (int i = 0; i < Count(); ++i) {
    TBioAbstract* source = TVectorBioAbstract::Items(i);
    std::unique_ptr<T> copy = BlankLike<T>(*source);
    T* raw = copy.get();
    d->AppendOwnedUnindexed(std::move(copy));
    source->AssignTo(*raw);
  }
}

template class TTypedVector<TLocus>;
template class TTypedVector<TIndividual>;
template class TTypedVector<TGroupAbstract>;

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

void TVectorIndividuals::Admit(TIndividual& item) {
  if (item.Computed || !Owner) return;
  if (auto* owner = dynamic_cast<TBioCalculable*>(Owner))
    item.Label = owner->Label + "/" + item.Label;
}
