// Simulated lists shared by the units that lack the same matched loci.
//
// A unit compared with a reference population it is not a member of, at only some of the
// matched loci, is compared with that population simulated at the unit's own used loci. Such a
// list depends only on the population and on the loci the unit lacks (its pattern), so every
// unit with that pattern reads the same one. Each (pattern, population) list has a random
// stream of its own, drawn from the run's generator on the calling thread before any unit is
// treated: patterns in the order of their first unit, populations in order within a pattern. A
// list is simulated when a unit first needs it, by the thread treating that unit (another thread
// needing it meanwhile waits), so its values depend neither on the number of threads nor on
// which unit asked first.
//
// Memory: the lists of a pattern are dropped as soon as its last unit is done. When patterns are
// rarely shared (many loci, scattered missing genotypes) a list lives only as long as its unit;
// when they are few, they are few lists. Patterns shared by units spread over the whole run
// could still hold patterns x populations lists until its end, so beyond a budget of bytes the
// least recently read lists are dropped, and simulated again from their own stream should a
// later unit need them: the same values, paid in time only where memory would otherwise run out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "engine/common/GenMars.h"

// The bytes of simulated values the shared lists of a run keep before dropping the least
// recently read: some 3,000 lists of 10,000 keys.
constexpr std::size_t kSharedListBudget = std::size_t{256} << 20;

class TBioCalculable;
class TMatchPGDS;

// Per unit, the matched loci it lacks when it has some of them and lacks others (it needs shared
// lists), empty otherwise.
std::vector<std::vector<std::int32_t>>
MissingPatterns(const TMatchPGDS& match, const std::vector<const TBioCalculable*>& units);

// The patterns of the units of a run and the seeds of their lists.
class TLocusPatterns {
public:
  TLocusPatterns() = default;
  // `missing[i]`: the matched loci unit i lacks when it needs shared lists (it has some of them
  // and lacks others), empty when it needs none. Draws the seeds of every (pattern, population)
  // pair from `generator`, patterns in order of their first unit.
  TLocusPatterns(const std::vector<std::vector<std::int32_t>>& missing, int populations,
                 TGenMars& generator);

  int Count() const { return static_cast<int>(units_.size()); }
  int Populations() const { return populations_; }
  // The pattern of unit i, -1 when it needs no shared list.
  int PatternOf(int unit) const { return patternOf_[static_cast<size_t>(unit)]; }
  // The units that share a pattern.
  int Units(int pattern) const { return units_[static_cast<size_t>(pattern)]; }
  const TGenMarsSeeds& Seeds(int pattern, int population) const {
    return seeds_[static_cast<size_t>(pattern) * static_cast<size_t>(populations_) +
                  static_cast<size_t>(population)];
  }

private:
  int populations_ = 0;
  std::vector<int> patternOf_, units_;
  std::vector<TGenMarsSeeds> seeds_;
};

inline std::size_t StoredBytes(const std::vector<double>& keys) {
  return keys.capacity() * sizeof(double);
}

// The lists themselves, readable from any thread.
template <class TList> class TSharedLists {
public:
  explicit TSharedLists(TLocusPatterns patterns, std::size_t budget = kSharedListBudget)
      : patterns_(std::move(patterns)), budget_(budget),
        slots_(static_cast<size_t>(patterns_.Count()) *
               static_cast<size_t>(patterns_.Populations())),
        remaining_(static_cast<size_t>(patterns_.Count())) {
    for (int p = 0; p < patterns_.Count(); ++p)
      remaining_[static_cast<size_t>(p)] = patterns_.Units(p);
  }

  int PatternOf(int unit) const { return patterns_.PatternOf(unit); }

  // The list of population k for the pattern of `unit` (which has one), made when missing by
  // simulate(list, random) from the pair's own stream. Null when simulate answers false (stopped):
  // nothing is kept then. The caller holds the list while it reads it.
  template <class TSimulate>
  std::shared_ptr<const TList> Get(int unit, int k, TSimulate&& simulate) {
    const int pattern = patterns_.PatternOf(unit);
    const size_t s = static_cast<size_t>(pattern) * static_cast<size_t>(patterns_.Populations()) +
                     static_cast<size_t>(k);
    TSlot& slot = slots_[s];
    const std::lock_guard<std::mutex> making(slot.Making);
    {
      const std::lock_guard<std::mutex> lock(lock_);
      if (slot.List) {
        read_.splice(read_.end(), read_, slot.Read);
        return slot.List;
      }
    }
    auto list = std::make_shared<TList>();
    TGenMars random(patterns_.Seeds(pattern, k));
    if (!simulate(*list, random)) return nullptr;
    const std::lock_guard<std::mutex> lock(lock_);
    slot.List = list;
    slot.Read = read_.insert(read_.end(), s);
    bytes_ += StoredBytes(*list);
    while (bytes_ > budget_ && read_.front() != s)
      Drop(read_.front());
    return list;
  }

  // `unit` reads no more lists: its pattern's lists go with its last unit.
  void Done(int unit) {
    const int pattern = patterns_.PatternOf(unit);
    if (pattern < 0) return;
    const std::lock_guard<std::mutex> lock(lock_);
    if (--remaining_[static_cast<size_t>(pattern)] > 0) return;
    for (int k = 0; k < patterns_.Populations(); ++k)
      Drop(static_cast<size_t>(pattern) * static_cast<size_t>(patterns_.Populations()) +
           static_cast<size_t>(k));
  }

  // The bytes of the lists kept now.
  std::size_t Bytes() const {
    const std::lock_guard<std::mutex> lock(lock_);
    return bytes_;
  }

private:
  struct TSlot {
    std::mutex Making; // held while the list is simulated: one thread makes it
    std::shared_ptr<const TList> List;
    std::list<size_t>::iterator Read; // its place in read_, while kept
  };

  // Under lock_.
  void Drop(size_t s) {
    TSlot& slot = slots_[s];
    if (!slot.List) return;
    bytes_ -= StoredBytes(*slot.List);
    read_.erase(slot.Read);
    slot.List.reset();
  }

  const TLocusPatterns patterns_;
  const std::size_t budget_;
  std::vector<TSlot> slots_;
  std::vector<int> remaining_; // per pattern, its units not done
  mutable std::mutex lock_;    // guards the lists kept, their order and the counts
  std::list<size_t> read_;     // the slots kept, least recently read first
  std::size_t bytes_ = 0;
};
