// First-generation migrant detection with the ratio L_home / L_max (criterion 2) and Monte-Carlo
// probabilities of algorithm 2: for every individual, whole home populations are simulated afresh
// from its home without it and each simulated individual is evaluated against every population.
#include <cstdio>
#include <memory>

#include "bench/SimulationBench.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Migrants.h"
#include "engine/simulation/Simulation.h"
#include "model/Sample.h"

namespace {

struct TMigrantRun {
  TGeneratorParams Data;
  bool SimulationOn = true;
  int SimulatedCount = 0;
  int Threads = 1;
};

// Locus evaluations of the simulated individuals: the stored simulated populations of every
// population are drawn once (as many batches as the smallest population needs to reach the
// count), then every typed individual gets that many batches of its home re-simulated, each
// offspring evaluated against all populations.
double SimulatedEvaluations(const TPGDSStructure& ds, const TMatchPGDS& match, int count,
                            double& simulated) {
  const int populations = ds.SamplesCount();
  int smallest = 0;
  for (int k = 0; k < populations; ++k) {
    const int n = ds.SampleAt(k)->NbIndividuals();
    if (n > 0 && (smallest == 0 || n < smallest)) smallest = n;
  }
  const double batches = smallest > 0 ? (count + smallest - 1) / smallest : 0;
  const double loci = match.LocusCount();
  double evaluations = 0;
  simulated = 0;
  for (int k = 0; k < populations; ++k) {
    const double size = ds.SampleAt(k)->NbIndividuals();
    simulated += batches * size;
    evaluations += batches * size * loci;
  }
  TIntegerList used, missing;
  for (int k = 0; k < populations; ++k) {
    const TSample& home = *ds.SampleAt(k);
    for (int i = 0; i < home.NbIndividuals(); ++i) {
      UsableLoci(match, *home.Individuals.Items(i), used, missing);
      if (used.Count() == 0) continue;
      simulated += batches * home.NbIndividuals();
      evaluations += batches * home.NbIndividuals() * populations * used.Count();
    }
  }
  return evaluations;
}

TMeasure MeasureMigrants(const TMigrantRun& run, const TBenchOptions& options) {
  TPGDSStructure ds;
  LoadGenerated(ds, run.Data, options);
  TMigrantParams params;
  params.LocusNames = AllLocusNames(ds);
  params.Threshold = 0.01L;
  params.Criterion = TCriterion::RannalaMountain;
  params.SimulationOn = run.SimulationOn;
  params.SimulationAlgorithm = TSimulationAlgorithm::Paetkau2004;
  params.SimulatedCount = run.SimulatedCount;
  params.ReferenceSampleCount = ds.SamplesCount();
  params.Threads = run.Threads;

  TMeasure m;
  double simulated = 0, evaluations = 0;
  if (run.SimulationOn) {
    const TMatchPGDS match(ds, ds, params.LocusNames);
    evaluations = SimulatedEvaluations(ds, match, run.SimulatedCount, simulated);
  }
  TStopwatch watch;
  std::unique_ptr<TTableResultats> table;
  std::int32_t flagged = 0;
  const bool completed =
      DetectMigrantsRatio(ds, params, false, table, flagged) == TRunResult::Completed;
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  m.Work = static_cast<double>(ds.AllIndividuals.Count()) * ds.SamplesCount() * ds.LociCount() +
           evaluations;
  char note[200];
  std::snprintf(note, sizeof note, "%s%s flagged %d%s",
                run.SimulationOn ? Count(simulated).c_str() : "",
                run.SimulationOn ? " simulated;" : "no simulation;", flagged,
                completed ? "" : "; RUN NOT COMPLETED");
  m.Note = note;
  return m;
}

} // namespace

void AddMigrantScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const TGeneratorParams data = SimulationData();
  const TGeneratorParams small = ReducedSimulationData(options);
  const int full = Sized(options, 1000, 100);
  const int reduced = Sized(options, 10, 5);
  const int threads = ComparisonThreads(options);
  TScenario s;
  s.Name = "migrants";
  s.Title = "migrant detection L_home / L_max with probabilities, algorithm 2 (Paetkau et al. "
            "2004), criterion 2, " +
            data.Shape() + " (and " + small.Shape() + ")" + " (file loaded before)";
  s.Unit = "loc-eval";
  s.Data = {small, data};
  const std::string fullSize = Count(data.Individuals()) + " ind " + Count(full) + " sim";
  const std::string smallSize = Count(small.Individuals()) + " ind " + Count(reduced) + " sim";
  // The variant names are those of earlier builds, for --baseline.
  s.Variants = {{"baseline", "no simulation", Count(data.Individuals()) + " ind", "", "", ""},
                {"fast-same", "1 thread", smallSize, "", "", ""},
                {"fast-1", "1 thread", fullSize, "", "", "baseline"},
                {"fast-n", ThreadsText(threads), fullSize, "fast-1", "vs 1 thread", "baseline"}};
  s.Run = [=](const std::string& variant, const TBenchOptions& o) {
    const bool reducedRun = variant == "fast-same";
    TMigrantRun run;
    run.Data = reducedRun ? small : data;
    run.SimulationOn = variant != "baseline";
    run.SimulatedCount = reducedRun ? reduced : full;
    run.Threads = variant == "fast-n" ? threads : 1;
    return MeasureMigrants(run, o);
  };
  scenarios.push_back(std::move(s));
}
