// Self-assignment with Monte-Carlo probabilities (criterion 2), with each simulation algorithm:
// the pre-simulated list of every population, and the lists simulated on the fly for each
// individual's own population (left one out) and for each set of loci that individuals lack.
#include "bench/SimulationBench.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"
#include "engine/simulation/CompactSimulation.h"
#include "engine/simulation/Simulation.h"
#include "model/Individual.h"
#include "model/Sample.h"

TGeneratorParams SimulationData(int individualsPerPopulation) {
  TGeneratorParams data;
  data.Populations = 20;
  data.IndividualsPerPopulation = individualsPerPopulation;
  data.Loci = 15;
  return data;
}

TGeneratorParams ReducedSimulationData(const TBenchOptions& options) {
  return SimulationData(Sized(options, 10, 5));
}

double SimulatedPerList(TSimulationAlgorithm algorithm, int count, int size) {
  if (size <= 0) return 0;
  if (algorithm != TSimulationAlgorithm::Paetkau2004) return count;
  return static_cast<double>((count + size - 1) / size) * size;
}

int ComparisonThreads(const TBenchOptions& options) {
  return options.Threads > 0 ? options.Threads : 2;
}

namespace {

// The simulated individuals of a self-assignment run: one list per population beforehand, then
// per individual a list for its home without it, and for the individuals lacking some locus one
// list per set of missing loci and population that is not the home of all of them (untyped
// individuals are not simulated for).
double SimulatedIndividuals(const TPGDSStructure& ds, const TMatchPGDS& match,
                            TSimulationAlgorithm algorithm, int count) {
  double total = 0;
  const int populations = ds.SamplesCount();
  for (int k = 0; k < populations; ++k)
    total += SimulatedPerList(algorithm, count, ds.SampleAt(k)->NbIndividuals());
  TIntegerList used, missing;
  std::map<std::vector<std::int32_t>, std::set<int>> homesOfPattern;
  for (int k = 0; k < populations; ++k) {
    const TSample& home = *ds.SampleAt(k);
    for (int i = 0; i < home.NbIndividuals(); ++i) {
      UsableLoci(match, *home.Individuals.Items(i), used, missing);
      if (used.Count() == 0) continue;
      total += SimulatedPerList(algorithm, count, home.NbIndividuals() - 1);
      if (missing.Count() > 0) homesOfPattern[missing.Items].insert(k);
    }
  }
  for (const auto& [pattern, homes] : homesOfPattern)
    for (int j = 0; j < populations; ++j)
      if (homes.size() > 1 || !homes.contains(j))
        total += SimulatedPerList(algorithm, count, ds.SampleAt(j)->NbIndividuals());
  return total;
}

// The simulated values the reference samples still carry (their pre-simulated lists), and the
// bytes their storage takes.
double KeptValues(const TPGDSStructure& ds, double& bytes) {
  double kept = 0;
  bytes = 0;
  for (int k = 0; k < ds.SamplesCount(); ++k) {
    const auto* list = dynamic_cast<const TPresimulatedList*>(ds.SampleAt(k)->SimulationData.get());
    if (!list) continue;
    kept += static_cast<double>(list->Keys.size());
    bytes += static_cast<double>(list->Keys.capacity()) * sizeof(double);
  }
  return kept;
}

struct TSimulatedAssignment {
  TGeneratorParams Data;
  TSimulationAlgorithm Algorithm = TSimulationAlgorithm::Paetkau2004;
  bool SimulationOn = true;
  int SimulatedCount = 0;
  int Threads = 1;
};

// Times match + assignment (pre-simulation included); the file is loaded before.
TMeasure MeasureSimulatedAssignment(const TSimulatedAssignment& run, const TBenchOptions& options) {
  TPGDSStructure ds;
  LoadGenerated(ds, run.Data, options);
  TAssignmentParams params;
  params.Threshold = 0.01L;
  params.LocusNames = AllLocusNames(ds);
  params.Criterion = TCriterion::RannalaMountain;
  params.SelfAssignment = true;
  params.SimulationOn = run.SimulationOn;
  params.SimulationAlgorithm = run.Algorithm;
  params.SimulatedCount = run.SimulatedCount;
  params.ReferenceSampleCount = ds.SamplesCount();
  params.Threads = run.Threads;
  TMeasure m;
  if (!AssignmentAvailable(params)) {
    m.Available = false;
    return m;
  }

  TStopwatch watch;
  auto match = std::make_unique<TMatchPGDS>(ds, ds, params.LocusNames);
  const double simulated =
      run.SimulationOn ? SimulatedIndividuals(ds, *match, run.Algorithm, run.SimulatedCount) : 0;
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  const bool completed =
      AssignIndividuals(ds, ds, std::move(match), params, table, quality) == TRunResult::Completed;
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  const double loci = ds.LociCount();
  m.Work =
      static_cast<double>(ds.AllIndividuals.Count()) * ds.SamplesCount() * loci + simulated * loci;
  double listBytes = 0;
  m.ValuesKept = KeptValues(ds, listBytes);

  // The mean probability of the home population and the individuals it excludes at 1 %: the
  // same for every way of computing.
  double homeSum = 0;
  int homes = 0, excluded = 0;
  for (int k = 0, unit = 0; k < ds.SamplesCount(); ++k)
    for (int i = 0; i < ds.SampleAt(k)->NbIndividuals(); ++i, ++unit) {
      const Extended p = table->Item(unit).Row(k).Value;
      if (IsUndefined(p)) continue;
      homeSum += static_cast<double>(p);
      ++homes;
      if (p < params.Threshold) ++excluded;
    }
  char note[256];
  if (run.SimulationOn)
    std::snprintf(note, sizeof note,
                  "%s simulated; home p mean %.4f, %d excluded at 1 %%; kept lists %.1f B per "
                  "value%s",
                  Count(simulated).c_str(), homes > 0 ? homeSum / homes : 0.0, excluded,
                  m.ValuesKept > 0 ? listBytes / m.ValuesKept : 0.0,
                  completed ? "" : "; RUN NOT COMPLETED");
  else
    std::snprintf(note, sizeof note, "same data and run without simulation%s",
                  completed ? "" : "; RUN NOT COMPLETED");
  m.Note = note;
  return m;
}

} // namespace

void AddSimulationScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const TGeneratorParams data = SimulationData();
  const TGeneratorParams small = ReducedSimulationData(options);
  const int full = Sized(options, 10000, 1000);
  // The smaller data set simulates 100 per list, the fewest a run can ask for.
  const int reduced = Sized(options, 100, 10);
  const int threads = ComparisonThreads(options);
  const char* const names[] = {"Cornuet et al. 1999", "Rannala & Mountain 1997",
                               "Paetkau et al. 2004"};
  for (TSimulationAlgorithm algorithm :
       {TSimulationAlgorithm::Paetkau2004, TSimulationAlgorithm::Cornuet1999,
        TSimulationAlgorithm::Rannala1997}) {
    const int code = SimulationAlgorithmCode(algorithm);
    TScenario s;
    s.Name = "simulate-a" + std::to_string(code);
    s.Title = "self-assignment with probabilities, algorithm " + std::to_string(code) + " (" +
              names[code] + "), criterion 2, " + data.Shape() + " (and " + small.Shape() + ")" +
              ": match + pre-simulation + run (file loaded before)";
    s.Unit = "loc-eval";
    s.Data = {small, data};
    const std::string fullSize = Count(data.Individuals()) + " ind " + Count(full) + " sim";
    const std::string smallSize = Count(small.Individuals()) + " ind " + Count(reduced) + " sim";
    // The variant names are those of earlier builds, for --baseline.
    s.Variants = {
        {"baseline", "no simulation", Count(data.Individuals()) + " ind", "", "", ""},
        {"fast-same", "1 thread", smallSize, "", "", ""},
        {"fast-1", "1 thread", fullSize, "", "", "baseline"},
        {"fast-n", ThreadsText(threads), fullSize, "fast-1", "vs 1 thread", "baseline"},
        // Without missing genotypes no individual needs lists of its own beyond its home's.
        {"fast-same-complete", "no missing, 1 thread", smallSize, "", "", ""},
        {"fast-n-complete", "no missing, " + ThreadsText(threads), fullSize, "", "", ""}};
    s.Run = [=](const std::string& variant, const TBenchOptions& o) {
      const bool complete = variant.ends_with("-complete");
      const bool reducedRun = variant.starts_with("fast-same");
      TSimulatedAssignment run;
      run.Data = reducedRun ? small : data;
      if (complete) run.Data.MissingShare = 0;
      run.Algorithm = algorithm;
      run.SimulationOn = variant != "baseline";
      run.SimulatedCount = reducedRun ? reduced : full;
      run.Threads = variant.starts_with("fast-n") ? threads : 1;
      return MeasureSimulatedAssignment(run, o);
    };
    scenarios.push_back(std::move(s));
  }
}
