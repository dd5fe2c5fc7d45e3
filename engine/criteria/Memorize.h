// The memories of the stepwise-mutation criterion: what was estimated once for a histogram of
// allele sizes (its mutation parameter θ, or its probability for some θ) is kept for the rest of
// the program, so that the same population and locus are never estimated twice.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "base/Real.h"

// One memorised estimate: the key histogram (an owned copy), the θ it belongs to (or the θ found
// for it) and the estimated probability.
struct TMemorizedItem {
  std::int32_t Hash = 0;
  std::vector<std::int32_t> Key;
  double Theta = 0;
  Extended Result = 0;
};

// A hash table of 1024 buckets of memorised items. Lookups compare the key histograms element by
// element (and θ for the probabilities). Safe to share between threads.
class TMemorize {
public:
  static constexpr int kBuckets = 1024;

  // (number of positive classes) × (sum of the positive classes), then for every positive class
  // i in increasing order: ((s shifted left by i mod 2 bits) xor h[i]) mod 1024.
  static std::int32_t Hash(const std::vector<std::int32_t>& key);

  // The θ memorised for a histogram.
  bool FindTheta(const std::vector<std::int32_t>& key, double& theta) const;
  void StoreTheta(const std::vector<std::int32_t>& key, double theta);
  // The probability memorised for a histogram and θ.
  bool FindResult(const std::vector<std::int32_t>& key, double theta, Extended& result) const;
  void StoreResult(const std::vector<std::int32_t>& key, double theta, Extended result);

  int Count() const;
  void Clear();

private:
  const TMemorizedItem* Find(const std::vector<std::int32_t>& key, std::int32_t hash,
                             const double* theta) const;

  std::array<std::vector<TMemorizedItem>, kBuckets> buckets_;
  mutable std::mutex mutex_;
};

// The three memories of the criterion: θ by histogram; probabilities of the candidate θ values
// (few draws); probabilities used in the criterion's value (many draws).
TMemorize& ThetaMemory();
TMemorize& CandidateMemory();
TMemorize& ProbabilityMemory();
// Forgets everything the three memories hold.
void ClearCornuetMemories();
