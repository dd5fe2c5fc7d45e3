// The fast migrant detection: the same results as the step-by-step detection of Migrants.h,
// computed over compact tallies, with the individuals shared among threads. The populations that
// need simulated values, then the individuals, then the lists shared per missing-locus pattern,
// get the same random streams as in the step-by-step detection, so both find the same simulated
// individuals whatever the number of threads.
#pragma once

#include <cstdint>

class TMatchPGDS;
class TPGDSStructure;
class TTableResultats;
struct TMigrantParams;

// Whether the fast detection covers these parameters: FastPath set, and a criterion among 0, 2, 3
// and the distances (as for the fast assignment runs).
bool FastMigrantsCover(const TMigrantParams& params);

// Option 0 over `match`, the reference data set with itself. `table` holds one fresh result per
// reference individual. As DetectMigrantsHome otherwise: false when stopped, the individuals
// treated before the stop kept and counted in `flagged`.
bool FastDetectMigrantsHome(const TPGDSStructure& reference, const TMatchPGDS& match,
                            const TMigrantParams& params, TTableResultats& table,
                            std::int32_t& flagged);

// Options 1 and 2 (notHome) over `match`, the reference data set with itself; as
// DetectMigrantsRatio otherwise.
bool FastDetectMigrantsRatio(const TPGDSStructure& reference, const TMatchPGDS& match,
                             const TMigrantParams& params, bool notHome, TTableResultats& table,
                             std::int32_t& flagged);
