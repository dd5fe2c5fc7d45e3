// Self-assignment with criterion 9 (Cornuet et al. 1999, stepwise mutation), whose likelihoods
// are themselves estimated by simulation: a small data set, load + match + run + export.
#include "bench/AssignBench.h"
#include "engine/common/ThreadPool.h"
#include "engine/criteria/Criteria.h"

void AddCornuetScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  TGeneratorParams data;
  data.Populations = 5;
  data.IndividualsPerPopulation = Sized(options, 30, 3);
  data.Loci = 8;
  TScenario s;
  s.Name = "cornuet-c9";
  s.Title = "self-assignment, criterion 9 (Cornuet et al. 1999), no simulation, " + data.Shape() +
            ": load + match + run + export";
  s.Unit = "loc-eval";
  s.Data = {data};
  // Its histories are drawn in streams that threads share.
  const int threads = ThreadCount(options.Threads);
  const std::string units = Count(data.Individuals()) + " ind";
  s.Variants = {{"one", "1 thread", units, "", "", ""},
                {"all", ThreadsText(threads), units, "one", "vs 1 thread", ""}};
  s.Run = [=](const std::string& variant, const TBenchOptions& o) {
    TSelfAssignment run;
    run.Data = data;
    run.Criterion = TCriterion::Cornuet;
    run.Threads = variant == "one" ? 1 : threads;
    return MeasureSelfAssignment(run, o);
  };
  scenarios.push_back(std::move(s));
}
