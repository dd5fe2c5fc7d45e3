// Pairing of a reference data set and a data set to treat: the selected loci of both, and
// within each locus their alleles, paired by name. Every criterion, simulation and migrant test
// walks these pairs instead of the data sets' own locus and allele lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Real.h"

class TPGDSStructure;

// A list of 32-bit integers (locus positions in a match).
class TIntegerList {
public:
  void Add(std::int32_t v) { Items.push_back(v); }
  int Count() const { return static_cast<int>(Items.size()); }
  std::int32_t operator[](int i) const { return Items[static_cast<size_t>(i)]; }
  // Removes every occurrence of v.
  void Remove(std::int32_t v);
  void Clear() { Items.clear(); }

  std::vector<std::int32_t> Items;
};

// One allele of a matched locus: its code in the reference locus and in the target locus
// (-1 where that file lacks it).
struct TMatchedAlleles {
  std::int16_t RefAllele = -1;
  std::int16_t TargetAllele = -1;
};

// One selected locus: the target alleles first, in target order, then the reference-only ones.
class TMatchedLoci {
public:
  std::vector<TMatchedAlleles> Alleles;
  std::int16_t RefLocus = -1;
  std::int16_t TargetLocus = -1;
  std::int16_t NbRefOnly = 0;
  std::int16_t NbTargetAlleles = 0;

  // K: every allele known in either file, each once.
  int Count() const { return static_cast<int>(Alleles.size()); }
  const TMatchedAlleles& Allele(int j) const { return Alleles[static_cast<size_t>(j)]; }
};

class TMatchPGDS {
public:
  const TPGDSStructure* Reference; // not owned
  const TPGDSStructure* Target;    // not owned; may be Reference itself
  std::vector<TMatchedLoci> Loci;

  // Pairs the loci named `locusNames`, in that order. Every name must be a locus of both data
  // sets: ERangeError "Locus %s is missing from file %s" otherwise.
  TMatchPGDS(const TPGDSStructure& reference, const TPGDSStructure& target,
             const std::vector<std::string>& locusNames);

  int LocusCount() const { return static_cast<int>(Loci.size()); }
  const TMatchedLoci& Locus(int i) const { return Loci[static_cast<size_t>(i)]; }
  // True when no target entry of matched locus i carries that reference allele.
  bool IsReferenceOnly(int i, std::int16_t refAllele) const;
};

class TBioCalculable;

// Counts and frequencies of one allele entry of a matched locus: the reference side read in a
// reference population (at RefLocus), the target side in the unit to treat (at TargetLocus). An
// entry without an allele on that side reads 0.
std::int32_t RefCount(const TBioCalculable& pop, const TMatchedLoci& locus,
                      const TMatchedAlleles& entry);
std::int32_t TargetCount(const TBioCalculable& unit, const TMatchedLoci& locus,
                         const TMatchedAlleles& entry);
Extended RefFrequency(const TBioCalculable& pop, const TMatchedLoci& locus,
                      const TMatchedAlleles& entry);
Extended TargetFrequency(const TBioCalculable& unit, const TMatchedLoci& locus,
                         const TMatchedAlleles& entry);

// The matched loci where `unit` (an individual or a group of the target data set) has genes
// ("used") and those where it has none ("missing").
void UsableLoci(const TMatchPGDS& match, const TBioCalculable& unit, TIntegerList& used,
                TIntegerList& missing);
