// Criterion 9, the stepwise-mutation test criterion, over compact tallies.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/CompactTallies.h"
#include "engine/criteria/Criteria.h"

class TGroupAbstract;

// Π over the used loci of P1 / P0, the probabilities under the strict stepwise mutation model of
// the population's histogram of allele sizes with the unit's genes (P1) and without (P0), each
// the probability of the genes in one given order; so the value is the probability of the
// unit's genes taken in one given order. `full` holds the counts of the reference sample
// `sample` (its name and gene diversity are read too); with `leaveOut` the unit is one of its
// individuals and the population is the sample without it. θ is estimated, once for every
// population and locus, from the full sample. The value is undefined when `used` is empty or
// when the sample has fewer than two genes at a used locus. Every locus reports its progress.
// Returns false when stopped through the progress hook.
bool CornuetScore(const TCompactMatch& m, const TCompactPopulation& full,
                  const TGroupAbstract& sample, const TCompactUnit& unit, bool leaveOut,
                  const std::vector<std::int32_t>& used, const TCornuetSettings& settings,
                  const TCornuetProgress& progress, Extended& value);
