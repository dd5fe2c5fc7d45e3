#include "engine/simulation/SharedLists.h"

#include <map>

#include "engine/common/Match.h"

TLocusPatterns::TLocusPatterns(const std::vector<std::vector<std::int32_t>>& missing,
                               int populations, TGenMars& generator)
    : populations_(populations), patternOf_(missing.size(), -1) {
  std::map<std::vector<std::int32_t>, int> found;
  for (size_t i = 0; i < missing.size(); ++i) {
    if (missing[i].empty()) continue;
    const auto [at, added] = found.try_emplace(missing[i], Count());
    if (added) {
      units_.push_back(0);
      for (int k = 0; k < populations; ++k)
        seeds_.push_back(DrawStreamSeeds(generator));
    }
    patternOf_[i] = at->second;
    ++units_[static_cast<size_t>(at->second)];
  }
}

std::vector<std::vector<std::int32_t>>
MissingPatterns(const TMatchPGDS& match, const std::vector<const TBioCalculable*>& units) {
  std::vector<std::vector<std::int32_t>> patterns(units.size());
  TIntegerList used, missing;
  for (size_t i = 0; i < units.size(); ++i) {
    UsableLoci(match, *units[i], used, missing);
    if (used.Count() > 0 && missing.Count() > 0) patterns[i] = missing.Items;
  }
  return patterns;
}
