// The fast assignment runs: the same results as the step-by-step runs of Assignment.h, computed
// over compact tallies, with the units shared among threads. Each reference population that needs
// a pre-simulated list, each treated unit (for its home) and each list shared by the units lacking
// the same loci (SharedLists.h) gets a random stream of its own, drawn from the simulation
// generator in a fixed order (populations, then units, then patterns), exactly as the
// step-by-step runs draw them, so that the results do not depend on the number of threads and
// both ways of computing find the same simulated individuals.
#pragma once

#include <cstdint>
#include <memory>

class TMatchPGDS;
class TPGDSStructure;
class TTableResultats;
struct TAssignmentParams;
struct TAssignmentQuality;
struct TCriterionArgs;

// Whether the fast runs cover these parameters: FastPath set, and a criterion among 0, 2, 3 and
// the distances (criterion 1 re-estimates its priors for every individual, criterion 9 keeps
// process-wide caches: both run step by step).
bool FastRunCovers(const TAssignmentParams& params);

bool FastAssignIndividuals(const TPGDSStructure& reference, const TPGDSStructure& target,
                           const TMatchPGDS& match, const TAssignmentParams& params,
                           std::unique_ptr<TTableResultats>& resultTable,
                           TAssignmentQuality& quality);
bool FastAssignGroups(const TPGDSStructure& reference, const TPGDSStructure& target,
                      const TMatchPGDS& match, const TAssignmentParams& params,
                      std::unique_ptr<TTableResultats>& resultTable);

// Pre-simulates, in parallel, the fast list of every reference sample that carries none for
// these settings (all matched loci), reporting "Présimulation ..." per sample. False when
// stopped.
bool FastPresimulate(const TPGDSStructure& reference, const TMatchPGDS& match,
                     const TCriterionArgs& criterion, std::uint8_t algorithm,
                     std::int32_t simulatedCount, int threads);
