#include "engine/Simulation.h"

#include "engine/ExtendedList.h"

const TExtendedList* PresimulatedList(const TSample&) { return nullptr; }

bool Presimulate(const TPGDSStructure&, std::uint8_t, std::int32_t, const TMatchPGDS&,
                 const TIntegerList&, const TCriterionArgs&) {
  return false;
}

bool SimulateDistribution(TExtendedList&, const TPGDSStructure&, Extended, Extended,
                          const TCriterionArgs&, const TIntegerList&, const TMatchPGDS&,
                          std::int32_t, std::uint8_t, const TGroupAbstract&) {
  return false;
}

Extended SimulatedProbability(const TExtendedList&, Extended, std::uint8_t) { return Undefined(); }
