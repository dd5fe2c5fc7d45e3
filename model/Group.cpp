#include "model/Group.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Logger.h"
#include "base/Errors.h"
#include "model/Individual.h"
#include "model/ModelTexts.h"
#include "model/Sample.h"
#include "xml/XMLNode.h"

TGroup::TGroup(const std::string& name, int nbLoci, int membersCapacity)
    : TGroupAbstract(name, nbLoci, 5), Members(this, membersCapacity) {}

TGroup::~TGroup() { Members.Clear(false); }

void TGroup::Clear(bool free) {
  Members.Clear(free);
  TGroupAbstract::Clear(free);
}

void TGroup::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TGroup*>(&dest);
  if (!d) {
    TGroupAbstract::AssignTo(dest);
    return;
  }
  d->Clear(true);
  TGroupAbstract::AssignTo(dest);
  Members.AssignTo(d->Members);
  // The copied tallies are recounted from the copied members; they start from zero, or the
  // copy would hold every count twice.
  const bool reset = NbIndividuals() > 0;
  if (reset)
    for (TSampledLocus& t : d->SampledLoci) {
      t.NbGenes = 0;
      for (TAlleleFeatures& f : t.Features) f.Count = 0;
    }
  d->CountAlleles(reset);
}

void TGroup::CountAlleles(bool reset) {
  // A member tallied here from nothing counts exactly its individuals' genotypes: its tallies
  // are added whole instead of counting every genotype a second time. A member tallied before
  // is counted from its individuals, as its tallies may be older than their genotypes.
  std::vector<char> freshlyTallied(static_cast<size_t>(Members.Count()));
  for (int i = 0; i < Members.Count(); ++i) {
    TGroupAbstract& member = *Members.Items(i);
    freshlyTallied[static_cast<size_t>(i)] =
        !member.Computed && (reset || !member.SampledLoci.Stored()) &&
        member.NbLoci() >= NbLoci();
    member.Compute(reset);
  }
  Individuals.Clear(false);
  for (int i = 0; i < Members.Count(); ++i) Individuals.AddAll(Members.Items(i)->Individuals);
  TCopyCounts counts(static_cast<size_t>(std::max<int>(NbLoci(), 0)));
  for (int i = 0; i < Members.Count(); ++i) {
    const TGroupAbstract& member = *Members.Items(i);
    if (freshlyTallied[static_cast<size_t>(i)]) {
      CountTally(member, counts);
      continue;
    }
    for (int k = 0; k < member.NbIndividuals(); ++k)
      CountGenotypes(*member.Individuals.Items(k), counts);
  }
  MergeCounts(counts);
  TBioCalculable::CountAlleles(reset);
}

TGroupAbstract* TGroup::FindGroup(const std::string& name) {
  if (Name == name) return this;
  int p = Members.IndexOf(name);
  if (p >= 0) return Members.Items(p);
  for (int i = 0; i < Members.Count(); ++i)
    if (auto* g = dynamic_cast<TGroup*>(Members.Items(i)))
      if (TGroupAbstract* found = g->FindGroup(name)) return found;
  return nullptr;
}

void TGroup::ReadSamplesList(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element) {
  SetNbLoci(loci.Count());
  const int n = element.ChildCount();
  for (int i = 0; i < n; ++i) {
    dataset.Progression = 81 + static_cast<int>(std::nearbyint((i + 1) * 9.5)) / n;
    if (dataset.DoEvent()) throw EFileFormatWarning(kUserStoppedParsing());
    auto sample = std::make_unique<TSample>("", loci.Count(), 10);
    sample->ReadXML(dataset, loci, *element.GetChild(i), Members.Count());
    Members.Adopt(std::move(sample));
  }
}

void TGroup::ReadXML(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element,
                     TGroup& samplesGroup) {
  const int n = element.ChildCount();
  for (int k = 0; k < n; ++k) {
    // Groups are read last, from 90 % of the load to its end.
    dataset.Progression = 90 + 10 * (k + 1) / n;
    if (dataset.DoEvent()) throw EFileFormatError(kUserStoppedParsing());
    const TXMLNode& child = *element.GetChild(k);
    const std::string& name = child.Name;
    if (name == "groupName") SetName(child.Value);
    else if (name == "groupFullName") FullName = child.Value;
    else if (name == "groupComments") Comments = child.Value;
    else if (name == "includedSample") {
      int p = samplesGroup.Members.IndexOf(child.Value);
      if (p >= 0) Members.Add(samplesGroup.Members.Items(p));
      else dataset.Messages.push_back(Format(kUnknownIncludedSample(), child.Value.c_str()));
    } else if (name == "group") {
      auto group = std::make_unique<TGroup>("", loci.Count(), 5);
      group->ReadXML(dataset, loci, child, samplesGroup);
      Members.Adopt(std::move(group));
    }
  }
}
