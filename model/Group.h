// A group of samples and sub-groups. Groups form a tree; a group's individuals are those of its
// members, gathered when it is tallied.
#pragma once

#include <string>

#include "model/GroupAbstract.h"

class TLogger;
class TSample;

class TGroup : public TGroupAbstract {
public:
  TVectorGroups Members;

  TGroup(const std::string& name = std::string(), int nbLoci = 0, int membersCapacity = 5);
  ~TGroup() override;

  const char* ClassName() const override { return "TGroup"; }
  void AssignTo(TPersistent& dest) const override;
  bool IsSample() const override { return false; }
  // Computes every member, gathers their individuals, then tallies them.
  void CountAlleles(bool reset) override;
  // Members emptied (destroyed with `free` when owned here), then the group itself.
  void Clear(bool free);

  // The sample or group named `name` in the tree under this group (this group included), or
  // null; depth first, direct members before deeper ones.
  TGroupAbstract* FindGroup(const std::string& name);

  // Reads the `sample` children of a `samplesList` element into Members (owned); progress
  // from 81 to 90.
  void ReadSamplesList(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element);
  // Reads a `group` element (or the `groupsList` element, on the root); included samples are
  // resolved in `samplesGroup` and referenced, sub-groups are owned.
  void ReadXML(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element,
               TGroup& samplesGroup);
};
