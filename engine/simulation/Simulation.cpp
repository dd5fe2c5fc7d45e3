#include "engine/simulation/Simulation.h"

#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "model/Sample.h"

bool HasSimulatedValues(std::uint8_t c) {
  return (criterion::IsLikelihood(c) && c != criterion::Cornuet) || criterion::IsDistance(c);
}

TSimulationKey SimulationKeyOf(const TMatchPGDS& match, const TIntegerList& used,
                               const TCriterionArgs& criterion, std::uint8_t algorithm,
                               std::int32_t simulatedCount) {
  TSimulationKey key;
  for (int k = 0; k < used.Count(); ++k)
    key.ReferenceLoci.push_back(match.Locus(used[k]).RefLocus);
  key.Criterion = criterion.Criterion;
  // Only criterion 3 reads the default frequency.
  key.DefaultFrequency = criterion.Criterion == criterion::Paetkau ? criterion.DefaultFrequency : 0;
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
