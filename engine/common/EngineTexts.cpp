#include "engine/common/EngineTexts.h"

#include <array>

const std::string& NameOfCriterion(int code) {
  static const std::array<const TText*, 11> names = {
      &kCriterionBaudouinLebrun, &kCriterionBaudouin2,     &kCriterionRannalaMountain,
      &kCriterionPaetkau,        &kCriterionNeiStandard,   &kCriterionNeiMinimum,
      &kCriterionNeiDA,          &kCriterionCavalliSforza, &kCriterionGoldstein,
      &kCriterionCornuet,        &kCriterionRogers};
  if (code < 0 || code >= static_cast<int>(names.size())) return kUnknownName();
  return (*names[static_cast<size_t>(code)])();
}

const std::string& NameOfSimulation(int code) {
  switch (code) {
  case 0:
    return kSimulationCornuet();
  case 1:
    return kSimulationRannalaMountain();
  case 2:
    return kSimulationPaetkau();
  default:
    return kUnknownName();
  }
}
