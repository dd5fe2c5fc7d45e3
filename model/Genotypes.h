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

  int Loci() const { return block_ ? block_->Loci : 0; }
  // Appends n untyped loci.
  void AddLoci(int n);
  // No locus.
  void Clear() { block_.reset(); }

  // The codes of the present copies at `locus` (0 <= locus < Loci()).
  std::span<const std::int16_t> Alleles(int locus) const;
  std::uint8_t Ploidy(int locus) const { return block_->Ploidy[static_cast<size_t>(locus)]; }
  void SetPloidy(int locus, std::uint8_t ploidy) { Own().Ploidy[static_cast<size_t>(locus)] = ploidy; }
  // Appends a present copy; the ploidy grows to the number of copies when it was below.
  void Add(int locus, std::int16_t code);
  // No copy and ploidy 0 at `locus`.
  void ClearLocus(int locus);

  // The typing date and the log lines of a genotype, which only genotype XML files carry.
  const std::string& Date(int locus) const;
  void SetDate(int locus, const std::string& date);
  const std::vector<std::string>& Log(int locus) const;
  void AddLog(int locus, const std::string& line);
  // The log lines of every genotype emptied (the dates stay).
  void ClearLogs();
  // The dates of every genotype emptied (the log lines stay).
  void ClearDates();

private:
  // Marks a slot that holds no copy; the readers never make a negative code.
  static constexpr std::int16_t kNone = INT16_MIN;

  struct TNotes {
    std::string Date;
    std::vector<std::string> Log;
  };
  struct TBlock {
    int Loci = 0;
    int Slots = 2; // slots per locus
    std::vector<std::int16_t> Codes;
    std::vector<std::uint8_t> Ploidy;
    std::map<int, TNotes> Notes; // by locus; nearly always empty
  };

  TBlock& Own();
  // The locus's slots grown to hold `copies` copies (every locus's, as they share one stride).
  void Widen(int copies);
  int CountAt(const TBlock& b, int locus) const;

  std::shared_ptr<TBlock> block_;
};
