#include "engine/simulation/Simulation.h"

#include "dataset/PGDSStructure.h"
#include "engine/common/EngineTexts.h"
#include "engine/common/Match.h"
#include "engine/criteria/CompactTallies.h"
#include "model/Sample.h"

std::optional<TSimulationAlgorithm> SimulationAlgorithmFromCode(int code) {
  if (code < 0 || code > SimulationAlgorithmCode(TSimulationAlgorithm::Paetkau2004))
    return std::nullopt;
  return static_cast<TSimulationAlgorithm>(code);
}

bool IsSimulationAlgorithm(TSimulationAlgorithm a) {
  switch (a) {
  case TSimulationAlgorithm::Cornuet1999:
  case TSimulationAlgorithm::Rannala1997:
  case TSimulationAlgorithm::Paetkau2004:
    return true;
  }
  return false;
}

const std::string& NameOfSimulation(TSimulationAlgorithm a) {
  switch (a) {
  case TSimulationAlgorithm::Cornuet1999:
    return kSimulationCornuet();
  case TSimulationAlgorithm::Rannala1997:
    return kSimulationRannalaMountain();
  case TSimulationAlgorithm::Paetkau2004:
    return kSimulationPaetkau();
  }
  return kUnknownName();
}

bool HasSimulatedValues(TCriterion c) {
  // Those the kernels of simulated individuals cover: all but the stepwise-mutation criterion.
  return TCompactCriterion::Covers(c);
}

TSimulationKey SimulationKeyOf(const TMatchPGDS& match, const TIntegerList& used,
                               const TCriterionArgs& criterion, TSimulationAlgorithm algorithm,
                               std::int32_t simulatedCount) {
  TSimulationKey key;
  for (int k = 0; k < used.Count(); ++k)
    key.ReferenceLoci.push_back(match.Locus(used[k]).RefLocus);
  key.Criterion = criterion.Criterion;
  // Only criterion 3 reads the default frequency.
  key.DefaultFrequency =
      criterion.Criterion == TCriterion::Paetkau ? criterion.DefaultFrequency : 0;
  key.Algorithm = algorithm;
  key.SimulatedCount = simulatedCount;
  return key;
}

const std::vector<double>* PresimulatedList(const TSample& sample) {
  const auto* data = dynamic_cast<const TPresimulatedList*>(sample.SimulationData.get());
  return data ? &data->Keys : nullptr;
}

const std::vector<double>* PresimulatedList(const TSample& sample, const TSimulationKey& key) {
  const auto* data = dynamic_cast<const TPresimulatedList*>(sample.SimulationData.get());
  return data && data->Key == key ? &data->Keys : nullptr;
}
