// The calculable entity: individuals, samples and groups tally the alleles of their genotypes
// per locus and derive allele frequencies, the number of genes, the observed heterozygosity and
// Nei's unbiased gene diversity from the tallies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/BioAbstract.h"
#include "base/Real.h"
#include "model/SampledLocus.h"

class TBioCalculable : public TBioAbstract {
public:
  // One tally per locus; index = locus index in the data set.
  TSampledLoci SampledLoci;
  std::string Label;
  bool Computed = false;

  TBioCalculable(const std::string& name, int nbLoci);

  const char* ClassName() const override { return "TBioCalculable"; }
  void AssignTo(TPersistent& dest) const override;
  void SetName(const std::string& value) override;

  // Computed afresh from the current tallies; undefined when no complete diploid genotype.
  virtual Extended ObservedHeterozygosity(int locus) const;
  // n/(n-1) (1 - sum of squared frequencies), n = NbGenes; undefined when n < 2.
  virtual Extended GeneDiversity(int locus) const;
  virtual int NbHomozygotes(int locus) const = 0;
  virtual int NbHeterozygotes(int locus) const = 0;
  // Fills the tallies; the base sets each locus's NbGenes to the sum of its counts.
  virtual void CountAlleles(bool reset);
  // Frequencies and per-locus statistics; the base stores Ho and He.
  virtual void ComputeFrequencies();
  // Adds `count` copies of `code` at `locus`; returns the index of its feature.
  virtual int AddAllele(int locus, std::int16_t code, std::int32_t count);

  std::int16_t NbLoci() const { return static_cast<std::int16_t>(SampledLoci.size()); }
  void SetNbLoci(int n);
  TSampledLocus& GetSampledLocus(int locus);
  const TSampledLocus& GetSampledLocus(int locus) const;
  int FindAllele(int locus, std::int16_t code) const;
  std::int32_t AlleleCount(int locus, std::int16_t code) const;
  Extended AlleleFrequency(int locus, std::int16_t code) const;
  int NbAllelesAt(int locus) const { return GetSampledLocus(locus).Count(); }
  const TAlleleFeatures* GetAlleleFeatures(int locus, int i) const {
    return GetSampledLocus(locus).Items(i);
  }
  std::int16_t FeatureCode(int locus, int i) const;
  Extended FeatureFrequency(int locus, int i) const;
  std::int32_t NbGenes(int locus) const { return GetSampledLocus(locus).NbGenes; }
  Extended GetHo(int locus) const { return GetSampledLocus(locus).Ho; }
  Extended GetHe(int locus) const { return GetSampledLocus(locus).He; }

  // Tallies and statistics, once: does nothing when Computed; with `reset`, counts restart at 0.
  void Compute(bool reset);
  // Whether the tallies are derived from the entity's own data (an individual's, from its
  // genotypes) when first read, instead of being kept from the moment they are computed.
  virtual bool TalliesDerived() const { return false; }
  // Derived tallies not yet made are made now. Every const read makes them otherwise, so a
  // caller about to read them from several threads at once makes them first. Nothing for
  // entities whose tallies are not derived.
  void MakeTallies() const;
  // Derived tallies dropped, to be made afresh from the entity's data when next read.
  void ForgetTallies();
  // Label emptied, Computed false, tallies destroyed, names emptied.
  void Clear();
};
