// The typed vectors of the data model: loci, individuals, and the members of a group (samples
// and sub-groups). Their copy is deep: the destination receives fresh copies, which it owns.
#pragma once

#include "model/VectorBioAbstract.h"

class TLocus;
class TIndividual;
class TGroupAbstract;
class TXMLNode;
class TLogger;

class TVectorLoci : public TVectorBioAbstract {
public:
  explicit TVectorLoci(TBioAbstract* owner = nullptr, int capacity = 0)
      : TVectorBioAbstract(owner, capacity) {}
  const char* ClassName() const override { return "TVectorLoci"; }
  TLocus* Items(int i) const;
  TLocus* Add(TLocus* item);
  TLocus* Adopt(std::unique_ptr<TLocus> item);
  TLocus* ByName(const std::string& name) const;
  void AssignTo(TPersistent& dest) const override;

  // Reads the `locus` children of a `lociList` element; progress from 75 to 81.
  void ReadXML(TLogger& dataset, const TXMLNode& lociList);
};

class TVectorIndividuals : public TVectorBioAbstract {
public:
  explicit TVectorIndividuals(TBioAbstract* owner = nullptr, int capacity = 0)
      : TVectorBioAbstract(owner, capacity) {}
  const char* ClassName() const override { return "TVectorIndividuals"; }
  TIndividual* Items(int i) const;
  // An individual not yet computed takes the owner's label in front of its own ("pop/ind").
  TIndividual* Add(TIndividual* item);
  TIndividual* Adopt(std::unique_ptr<TIndividual> item);
  TIndividual* ByName(const std::string& name) const;
  void AssignTo(TPersistent& dest) const override;
};

class TVectorGroups : public TVectorBioAbstract {
public:
  explicit TVectorGroups(TBioAbstract* owner = nullptr, int capacity = 0)
      : TVectorBioAbstract(owner, capacity) {}
  const char* ClassName() const override { return "TVectorGroups"; }
  TGroupAbstract* Items(int i) const;
  TGroupAbstract* Add(TGroupAbstract* item);
  TGroupAbstract* Adopt(std::unique_ptr<TGroupAbstract> item);
  TGroupAbstract* ByName(const std::string& name) const;
  void AssignTo(TPersistent& dest) const override;
};
