// Self-assignment without simulation with criteria 2 (Rannala & Mountain), 3 (Paetkau et al.)
// and 4 (Nei standard distance), parsing and export included.
#include "bench/AssignBench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

#include "app/ResultsGrid.h"
#include "dataset/PGDSStructure.h"
#include "engine/common/Match.h"
#include "engine/common/ThreadPool.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"

std::string FileFingerprint(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint64_t h = 1469598103934665603ULL;
  for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
    h ^= static_cast<unsigned char>(*it);
    h *= 1099511628211ULL;
  }
  char text[24];
  std::snprintf(text, sizeof text, "%08llx", static_cast<unsigned long long>(h >> 32));
  return text;
}

TMeasure MeasureSelfAssignment(const TSelfAssignment& run, const TBenchOptions& options) {
  const std::string path = DataFile(run.Data, options);
  const std::string exportPath = (std::filesystem::path(options.DataDir) /
                                  ("assign-" + std::to_string(CriterionCode(run.Criterion)) + "-" +
                                   std::to_string(getpid()) + ".csv"))
                                     .string();
  TMeasure m;
  TStopwatch watch;
  TPGDSStructure ds;
  ds.LoadFromFile(path, GeneratedFormat(run.Data));
  const double loaded = watch.WallSeconds();

  TAssignmentParams params;
  params.Threshold = 0.05L;
  params.LocusNames = AllLocusNames(ds);
  params.Criterion = run.Criterion;
  params.DefaultFrequency = 0.01L;
  params.SelfAssignment = true;
  params.ReferenceSampleCount = ds.SamplesCount();
  params.Threads = run.Threads;
  if (!AssignmentAvailable(params)) {
    m.Available = false;
    return m;
  }
  auto match = std::make_unique<TMatchPGDS>(ds, ds, params.LocusNames);
  std::unique_ptr<TTableResultats> table;
  TAssignmentQuality quality;
  const bool completed =
      AssignIndividuals(ds, ds, std::move(match), params, table, quality) == TRunResult::Completed;
  const double assigned = watch.WallSeconds();

  TGridSettings settings;
  settings.Populations = PopulationNames(ds);
  settings.Scores = std::min(5, ds.SamplesCount());
  settings.Threshold = params.Threshold;
  const TResultsGrid grid = FillAssignmentGrid(*table, run.Criterion, false, settings);
  ExportResults(table.get(), grid, exportPath);
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  m.Work = static_cast<double>(ds.AllIndividuals.Count()) * ds.SamplesCount() * ds.LociCount();

  char note[256];
  std::snprintf(note, sizeof note,
                "load %.2f s, run %.2f s, export %.2f s; quality %.2f, %.1f %% correct, "
                "export #%s%s",
                loaded, assigned - loaded, m.Wall - assigned,
                static_cast<double>(quality.QualityIndex),
                static_cast<double>(quality.CorrectlyAssignedPercentage),
                FileFingerprint(exportPath).c_str(), completed ? "" : "; RUN NOT COMPLETED");
  m.Note = note;
  if (!std::getenv("TARVIK_BENCH_KEEP_EXPORTS")) std::filesystem::remove(exportPath);
  return m;
}

namespace {

// 50 populations x 50 loci; the full size has 10,000 individuals.
TGeneratorParams AssignData(int individualsPerPopulation) {
  TGeneratorParams data;
  data.Populations = 50;
  data.IndividualsPerPopulation = individualsPerPopulation;
  data.Loci = 50;
  return data;
}

} // namespace

void AddAssignScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const TGeneratorParams full = AssignData(Sized(options, 200, 20));
  // A twentieth of the individuals, on one thread.
  const TGeneratorParams reduced = AssignData(Sized(options, 10, 2));
  const int threads = ThreadCount(options.Threads);
  const char* const names[] = {"Rannala & Mountain", "Paetkau et al.", "Nei standard distance"};
  for (TCriterion criterion :
       {TCriterion::RannalaMountain, TCriterion::Paetkau, TCriterion::NeiStandard}) {
    const int code = CriterionCode(criterion);
    TScenario s;
    s.Name = "assign-c" + std::to_string(code);
    s.Title = "self-assignment, criterion " + std::to_string(code) + " (" + names[code - 2] +
              "), no simulation, " + full.Shape() +
              " (populations x individuals x loci): load + match + run + export";
    s.Unit = "loc-eval";
    s.Data = {reduced, full};
    // The variant names are those of earlier builds, for --baseline.
    s.Variants = {{"fast-same", "1 thread", Count(reduced.Individuals()) + " ind", "", "", ""},
                  {"fast", ThreadsText(threads), Count(full.Individuals()) + " ind", "", "", ""}};
    s.Run = [=](const std::string& variant, const TBenchOptions& o) {
      TSelfAssignment run;
      run.Criterion = criterion;
      run.Data = variant == "fast" ? full : reduced;
      run.Threads = variant == "fast" ? threads : 1;
      return MeasureSelfAssignment(run, o);
    };
    scenarios.push_back(std::move(s));
  }
}
