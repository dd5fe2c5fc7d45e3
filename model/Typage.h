// The genotype of one individual at one locus: the allele codes of the copies present, and the
// ploidy, which counts missing copies too (a missing copy is never stored as a code).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/SmallVector.h"

class TTypage {
public:
  TSmallVector<std::int16_t, 4> Alleles; // up to four copies without an allocation
  std::uint8_t Ploidy = 0;
  std::string Date;
  std::vector<std::string> Log;

  // Appends a present copy; the ploidy grows to the number of copies when it was below.
  void Add(std::int16_t code);
  int Count() const { return static_cast<int>(Alleles.size()); }
  // Raises EListError outside 0 .. Count-1.
  std::int16_t Items(int i) const;
  // Codes and log emptied, ploidy 0; the date stays.
  void Clear();
  // Copies codes, ploidy and log lines (not the date).
  void AssignTo(TTypage& dest) const;
};
