#include "engine/criteria/Criteria.h"

#include "engine/common/EngineTexts.h"

std::optional<TCriterion> CriterionFromCode(int code) {
  if (code < 0 || code > CriterionCode(TCriterion::Rogers)) return std::nullopt;
  return static_cast<TCriterion>(code);
}

const std::string& NameOfCriterion(TCriterion c) {
  switch (c) {
  case TCriterion::BaudouinLebrun:
    return kCriterionBaudouinLebrun();
  case TCriterion::Baudouin2:
    return kCriterionBaudouin2();
  case TCriterion::RannalaMountain:
    return kCriterionRannalaMountain();
  case TCriterion::Paetkau:
    return kCriterionPaetkau();
  case TCriterion::NeiStandard:
    return kCriterionNeiStandard();
  case TCriterion::NeiMinimum:
    return kCriterionNeiMinimum();
  case TCriterion::NeiDA:
    return kCriterionNeiDA();
  case TCriterion::CavalliSforza:
    return kCriterionCavalliSforza();
  case TCriterion::Goldstein:
    return kCriterionGoldstein();
  case TCriterion::Cornuet:
    return kCriterionCornuet();
  case TCriterion::Rogers:
    return kCriterionRogers();
  }
  return kUnknownName();
}
