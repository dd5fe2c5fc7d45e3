#include "engine/criteria/Memorize.h"

#include <cmath>

namespace {
// Two θ values are the same when they are bitwise equal, undefined ones included.
bool SameTheta(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

std::int32_t TMemorize::Hash(const std::vector<std::int32_t>& key) {
  std::int64_t positive = 0, sum = 0;
  for (std::int32_t v : key)
    if (v > 0) {
      ++positive;
      sum += v;
    }
  std::int64_t s = positive * sum;
  for (size_t i = 0; i < key.size(); ++i) {
    if (key[i] <= 0) continue;
    s = ((s << (i % 2)) ^ key[i]) % kBuckets;
  }
  return static_cast<std::int32_t>(s % kBuckets);
}

const TMemorizedItem* TMemorize::Find(const std::vector<std::int32_t>& key, std::int32_t hash,
                                      const double* theta) const {
  for (const TMemorizedItem& item : buckets_[static_cast<size_t>(hash)]) {
    if (item.Hash != hash || item.Key != key) continue;
    if (theta && !SameTheta(item.Theta, *theta)) continue;
    return &item;
  }
  return nullptr;
}

bool TMemorize::FindTheta(const std::vector<std::int32_t>& key, double& theta) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const TMemorizedItem* item = Find(key, Hash(key), nullptr);
  if (!item) return false;
  theta = item->Theta;
  return true;
}

void TMemorize::StoreTheta(const std::vector<std::int32_t>& key, double theta) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int32_t hash = Hash(key);
  if (Find(key, hash, nullptr)) return;
  buckets_[static_cast<size_t>(hash)].push_back({hash, key, theta, 0});
}

bool TMemorize::FindResult(const std::vector<std::int32_t>& key, double theta,
                           Extended& result) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const TMemorizedItem* item = Find(key, Hash(key), &theta);
  if (!item) return false;
  result = item->Result;
  return true;
}

void TMemorize::StoreResult(const std::vector<std::int32_t>& key, double theta, Extended result) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int32_t hash = Hash(key);
  if (Find(key, hash, &theta)) return;
  buckets_[static_cast<size_t>(hash)].push_back({hash, key, theta, result});
}

int TMemorize::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t n = 0;
  for (const auto& bucket : buckets_)
    n += bucket.size();
  return static_cast<int>(n);
}

void TMemorize::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& bucket : buckets_)
    bucket.clear();
}

TMemorize& ThetaMemory() {
  static TMemorize memory;
  return memory;
}

TMemorize& CandidateMemory() {
  static TMemorize memory;
  return memory;
}

TMemorize& ProbabilityMemory() {
  static TMemorize memory;
  return memory;
}

void ClearCornuetMemories() {
  ThetaMemory().Clear();
  CandidateMemory().Clear();
  ProbabilityMemory().Clear();
}
