// Self-assignment of SNP-like data (two alleles per locus, thousands of loci), criterion 2
// without simulation, parsing and export included: the panels users now genotype.
#include <string>

#include "bench/AssignBench.h"
#include "engine/common/ThreadPool.h"

void AddAssignSnpScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const TGeneratorParams small = SnpData(100, options); // 1,000 individuals
  const TGeneratorParams large = SnpData(500, options); // 5,000 individuals
  const int threads = ThreadCount(options.Threads);
  auto size = [](const TGeneratorParams& p) {
    return Count(p.Individuals()) + " ind x " + std::to_string(p.Loci);
  };
  TScenario s;
  s.Name = "assign-snp";
  s.Title = "self-assignment of SNP-like data (2 alleles per locus), criterion 2 (Rannala & "
            "Mountain), no simulation, " +
            small.Shape() + " and " + large.Shape() +
            " (populations x individuals x loci): load + match + run + export";
  s.Unit = "loc-eval";
  s.Data = {small, large};
  s.Variants = {{"small", ThreadsText(threads), size(small), "", "", ""},
                {"large", ThreadsText(threads), size(large), "", "", ""}};
  s.Run = [=](const std::string& variant, const TBenchOptions& o) {
    TSelfAssignment run;
    run.Criterion = TCriterion::RannalaMountain;
    run.Data = variant == "small" ? small : large;
    run.Threads = threads;
    return MeasureSelfAssignment(run, o);
  };
  scenarios.push_back(std::move(s));
}
