// The names a run's result table refers to: the reference populations as the rows name them, the
// reference samples' names as read, and the loci of the run's match.
#pragma once

#include <memory>

#include "engine/results/ResultTables.h"

class TMatchPGDS;
class TPGDSStructure;

TResultNames ResultNamesOf(const TPGDSStructure& reference, const TMatchPGDS& match);

// A table of n fresh results over the names of `reference` and `match`.
std::unique_ptr<TTableResultats> NewResultTable(int n, const TPGDSStructure& reference,
                                                const TMatchPGDS& match);
