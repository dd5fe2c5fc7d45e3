// Samples and groups: calculable entities that tally the alleles of all their individuals.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/BioCalculable.h"
#include "model/TypedVectors.h"

// What the assignment engine attaches to a reference population for a run.
class TIndividual;

class TSimulationData {
public:
  virtual ~TSimulationData() = default;
};

class TGroupAbstract : public TBioCalculable {
public:
  std::unique_ptr<TSimulationData> SimulationData;
  TVectorIndividuals Individuals;

  TGroupAbstract(const std::string& name, int nbLoci, int individualsCapacity);
  ~TGroupAbstract() override;

  const char* ClassName() const override { return "TGroupAbstract"; }
  void AssignTo(TPersistent& dest) const override;
  virtual bool IsSample() const = 0;

  int NbIndividuals() const { return Individuals.Count(); }
  int NbHomozygotes(int locus) const override;
  int NbHeterozygotes(int locus) const override;
  void CountAlleles(bool reset) override;
  void ComputeFrequencies() override;

  // Individuals emptied (destroyed with `free` when owned here), simulation data destroyed,
  // tallies and names emptied.
  void Clear(bool free);

protected:
  // Copies counted per locus (index) and allele code, before they enter the tallies.
  using TCopyCounts = std::vector<std::vector<std::int32_t>>;
  // Adds the copies of an individual's genotypes.
  void CountGenotypes(const TIndividual& individual, TCopyCounts& counts);
  // Adds the tallies of a member whose tallies count exactly its individuals' genotypes.
  void CountTally(const TBioCalculable& member, TCopyCounts& counts);
  // Merges the counts into the tallies in code order; alleles already listed stay.
  void MergeCounts(const TCopyCounts& counts);
};
