// The genotypes of one individual at every locus, held compactly: the codes of the present
// copies in a flat array with a fixed number of slots per locus (two for the diploid data nearly
// every file holds, more only when some genotype needs them), and the ploidy of each locus,
// which counts missing copies too. A genotype thus costs a few bytes, where an object per locus
// cost forty. A copy shares the arrays of its source until either of them changes a genotype:
// reading never copies.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TGenotypes {
public:
  TGenotypes() = default;

  int Loci() const { return loci_; }
  // Appends n untyped loci.
  void AddLoci(int n);
  // No locus.
  void Clear();

  // The codes of the present copies at `locus` (0 <= locus < Loci()).
  std::span<const std::int16_t> Alleles(int locus) const {
    const std::int16_t* slot = data_.get() + static_cast<size_t>(locus) * slots_;
    int n = 0;
    while (n < slots_ && slot[n] != kNone) ++n;
    return {slot, static_cast<size_t>(n)};
  }
  std::uint8_t Ploidy(int locus) const {
    return static_cast<std::uint8_t>(data_[PloidyAt(locus)]);
  }
  void SetPloidy(int locus, std::uint8_t ploidy) { Own()[PloidyAt(locus)] = ploidy; }
  // Appends a present copy; the ploidy grows to the number of copies when it was below.
  void Add(int locus, std::int16_t code);
  // No copy and ploidy 0 at `locus`.
  void ClearLocus(int locus);

  // The typing date and the log lines of a genotype, which only genotype XML files carry.
  const std::string& Date(int locus) const;
  void SetDate(int locus, const std::string& date);
  const std::vector<std::string>& Log(int locus) const;
  void AddLog(int locus, const std::string& line);
  // The dates of every genotype emptied (the log lines stay).
  void ClearDates();

private:
  // Marks a slot that holds no copy; the readers never make a negative code.
  static constexpr std::int16_t kNone = INT16_MIN;

  struct TNote {
    std::string Date;
    std::vector<std::string> Log;
  };
  using TNotes = std::map<int, TNote>; // by locus

  // The ploidies follow the codes of every locus.
  size_t PloidyAt(int locus) const {
    return static_cast<size_t>(loci_) * slots_ + static_cast<size_t>(locus);
  }
  // The array, copied first when another individual shares it.
  std::int16_t* Own();
  TNotes& OwnNotes();
  // A new array of `loci` loci of `slots` slots each, holding the genotypes there are.
  void Relayout(int loci, int slots);

  std::shared_ptr<std::int16_t[]> data_;
  std::shared_ptr<TNotes> notes_; // nearly always none
  std::int32_t loci_ = 0;
  std::int32_t slots_ = 2; // two copies per locus without widening
};
