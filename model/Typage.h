// The genotype of one individual at one locus: the allele codes of the copies present, and the
// ploidy, which counts missing copies too (a missing copy is never stored as a code).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/SmallVector.h"

class TTypage {
public:
  TSmallVector<std::int16_t, 4> Alleles; // up to four copies without an allocation
  std::uint8_t Ploidy = 0;

  TTypage() = default;
  TTypage(const TTypage& other) { *this = other; }
  TTypage(TTypage&&) noexcept = default;
  TTypage& operator=(const TTypage& other);
  TTypage& operator=(TTypage&&) noexcept = default;

  // The typing date and the log lines, which only genotype XML files carry.
  const std::string& Date() const;
  void SetDate(const std::string& date);
  const std::vector<std::string>& Log() const;
  void AddLog(const std::string& line);

  // Appends a present copy; the ploidy grows to the number of copies when it was below.
  void Add(std::int16_t code);
  int Count() const { return static_cast<int>(Alleles.size()); }
  // Raises EListError outside 0 .. Count-1.
  std::int16_t Items(int i) const;
  // Codes and log emptied, ploidy 0; the date stays.
  void Clear();
  // Copies codes, ploidy and log lines (not the date).
  void AssignTo(TTypage& dest) const;

private:
  // Out of line: a data set holds one genotype per individual and locus, and nearly all of them
  // have neither.
  struct TNotes {
    std::string Date;
    std::vector<std::string> Log;
  };
  TNotes& Notes();
  std::unique_ptr<TNotes> notes_;
};
