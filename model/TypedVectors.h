// The typed vectors of the data model: loci, individuals, and the members of a group (samples
// and sub-groups). Their copy is deep: the destination receives fresh copies, which it owns.
#pragma once

#include <memory>
#include <string>

#include "model/VectorBioAbstract.h"

class TLocus;
class TIndividual;
class TGroupAbstract;
class TXMLNode;
class TLogger;

// A name-indexed vector whose elements are all of type T. Reading an element that is not a T
// raises EComponentError. Instantiated for TLocus, TIndividual and TGroupAbstract only.
template <class T> class TTypedVector : public TVectorBioAbstract {
public:
  explicit TTypedVector(TBioAbstract* owner = nullptr, int capacity = 0)
      : TVectorBioAbstract(owner, capacity) {}
  T* Items(int i) const;
  T* Add(T* item);
  T* Adopt(std::unique_ptr<T> item);
  T* ByName(const std::string& name) const;
  // Into a vector of the very same class: clears it, then fills it with fresh copies it owns.
  void AssignTo(TPersistent& dest) const override;

protected:
  // Called on every element before Add or Adopt appends it.
  virtual void Admit(T& /*item*/) {}
};

extern template class TTypedVector<TLocus>;
extern template class TTypedVector<TIndividual>;
extern template class TTypedVector<TGroupAbstract>;

class TVectorLoci : public TTypedVector<TLocus> {
public:
  using TTypedVector::TTypedVector;
  const char* ClassName() const override { return "TVectorLoci"; }

  // Reads the `locus` children of a `lociList` element; progress from 75 to 81.
  void ReadXML(TLogger& dataset, const TXMLNode& lociList);
};

class TVectorIndividuals : public TTypedVector<TIndividual> {
public:
  using TTypedVector::TTypedVector;
  const char* ClassName() const override { return "TVectorIndividuals"; }

protected:
  // An individual not yet computed takes the owner's label in front of its own ("pop/ind").
  void Admit(TIndividual& item) override;
};

class TVectorGroups : public TTypedVector<TGroupAbstract> {
public:
  using TTypedVector::TTypedVector;
  const char* ClassName() const override { return "TVectorGroups"; }
};
