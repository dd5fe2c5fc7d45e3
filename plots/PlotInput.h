// What a plot needs besides the result table: the kind of run it comes from, and for every
// treated unit the population it was sampled in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/criteria/Criteria.h"
#include "engine/runs/Migrants.h"

class TInterfaceAutomate;
class TPGDSStructure;
class TResultats;
class TTableResultats;

struct TPlotRun {
  bool Migrants = false;       // first-generation migrant detection
  bool SelfAssignment = false; // the reference individuals assigned to the reference
  bool Groups = false;         // every unit is a whole sample
  bool SimulationOn = false;   // the rows hold Monte-Carlo probabilities
  TCriterion Criterion = TCriterion::RannalaMountain;
  TMigrantStatistic LikelihoodOption = TMigrantStatistic::HomeOverMax; // migrant statistic
  // The assignment threshold of the scores, or alpha with simulation.
  Extended Threshold = 0.05L;
};

// The run the automaton's outputs describe; `samplesUsed`: a samples data set was treated.
TPlotRun PlotRunOf(const TInterfaceAutomate& automaton, bool samplesUsed);

struct TPlotUnits {
  // The reference populations, in the order of the rows of every result.
  std::vector<std::string> Populations;
  // The populations the units were sampled in: the reference samples (self-assignment, migrant
  // detection) or the samples of the samples file.
  std::vector<std::string> Sampled;
  // Per unit of the table, its index in Sampled; -1 when unknown.
  std::vector<int> SampledOf;
};

// The units of a run in the engine's order: the individuals of `target` in data-set order, each
// with the sample holding it, or with `groups` the samples themselves.
TPlotUnits PlotUnitsOf(const TPGDSStructure& reference, const TPGDSStructure& target, bool groups);

// A run of consecutive units (in plot order) sampled in one population.
struct TUnitSpan {
  int Sampled = -1;
  int First = 0; // position in the plot order
  int Count = 0;
};

// The units in plot order: by sampled population (unknown last), and within each by `before`
// (a strict weak order on unit indices), in table order where it has none; with the spans.
std::vector<int> UnitOrder(const TTableResultats& table, const TPlotUnits& units,
                           std::vector<TUnitSpan>& spans,
                           const std::function<bool(int, int)>& before = {});

// The score of every reference population for one unit, in population order, read from its
// ranked rows by name; undefined where the unit has none.
std::vector<Extended> PopulationScores(const TResultats& result, const TPlotUnits& units);
// The index among the reference populations of the unit's top-ranked population; -1 when the
// unit has no defined top score.
int LeadingPopulation(const TResultats& result, const TPlotUnits& units);
// The reference population of a name; -1 when none has it.
int PopulationIndex(const TPlotUnits& units, const std::string& name);
