// Loading of a large Genepop file, and the population statistics of the loaded data set (the
// tallies of every sample recomputed and laid out as the statistics window shows them, then
// exported as the window saves them); loading of SNP-like files (two alleles per locus,
// thousands of loci).
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "dataset/PGDSStructure.h"
#include "stats/StatisticsExport.h"
#include "stats/StatisticsGrid.h"

namespace {

TGeneratorParams LoadData(const TBenchOptions& options) {
  TGeneratorParams params;
  params.Populations = 100;
  params.IndividualsPerPopulation = Sized(options, 1000, 100); // 100,000 individuals
  params.Loci = 20;
  return params;
}

TMeasure MeasureLoad(const TGeneratorParams& params, const TBenchOptions& options) {
  const std::string path = DataFile(params, options);
  TStopwatch watch;
  TPGDSStructure ds;
  ds.LoadFromFile(path, GeneratedFormat(params));
  TMeasure m;
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  const double genotypes = static_cast<double>(ds.AllIndividuals.Count()) * ds.LociCount();
  m.Work = genotypes;
  const double mib = static_cast<double>(std::filesystem::file_size(path)) / 1048576.0;
  char note[160];
  std::snprintf(note, sizeof note, "%d individuals in %d samples, file %.1f MiB (%.1f MiB/s)",
                ds.AllIndividuals.Count(), ds.SamplesCount(), mib, mib / m.Wall);
  m.Note = note;
  return m;
}

TMeasure MeasureStatistics(const TGeneratorParams& params, const TBenchOptions& options) {
  TPGDSStructure ds;
  LoadGenerated(ds, params, options);
  const std::string exportPath =
      (std::filesystem::path(options.DataDir) / "statistics.csv").string();
  TStopwatch watch;
  const TStatisticsGrid grid = BuildStatisticsGrid(ds, 2057);
  SaveStatistics(grid, exportPath);
  TMeasure m;
  m.Wall = watch.WallSeconds();
  m.Cpu = watch.CpuSeconds();
  m.Work = static_cast<double>(ds.AllIndividuals.Count()) * ds.LociCount();
  char note[160];
  std::snprintf(note, sizeof note, "grid %d x %d cells, export %.1f MiB", grid.RowCount(),
                grid.ColumnCount(),
                static_cast<double>(std::filesystem::file_size(exportPath)) / 1048576.0);
  m.Note = note;
  std::filesystem::remove(exportPath);
  return m;
}

} // namespace

TGeneratorParams SnpData(int individualsPerPopulation, const TBenchOptions& options) {
  TGeneratorParams params;
  params.Populations = 10;
  params.IndividualsPerPopulation = individualsPerPopulation;
  params.Loci = Sized(options, 2000, 200);
  params.AllelesPerLocus = 2;
  return params;
}

void AddLoadScenarios(std::vector<TScenario>& scenarios, const TBenchOptions& options) {
  const TGeneratorParams data = LoadData(options);
  const std::string size = Count(data.Individuals()) + " ind x " + std::to_string(data.Loci);
  TScenario load;
  load.Name = "load";
  load.Title = "Genepop file of " + Count(data.Individuals()) + " individuals x " +
               std::to_string(data.Loci) +
               " loci: loading (format, tallies), then the statistics grid and its export "
               "(file loaded outside the timing)";
  load.Unit = "genotype";
  load.Data = {data};
  load.Variants = {{"load", "load", size, "", "", ""},
                   {"statistics", "statistics", size, "", "", ""}};
  load.Run = [data](const std::string& variant, const TBenchOptions& o) {
    return variant == "load" ? MeasureLoad(data, o) : MeasureStatistics(data, o);
  };
  scenarios.push_back(std::move(load));

  const TGeneratorParams snpSmall = SnpData(100, options);  // 1,000 individuals
  const TGeneratorParams snpLarge = SnpData(500, options);  // 5,000 individuals
  auto snpSize = [](const TGeneratorParams& p) {
    return Count(p.Individuals()) + " ind x " + std::to_string(p.Loci);
  };
  TScenario snp;
  snp.Name = "load-snp";
  snp.Title = "SNP-like Genepop files (2 alleles per locus) of " +
              Count(snpSmall.Individuals()) + " and " + Count(snpLarge.Individuals()) +
              " individuals x " + std::to_string(snpSmall.Loci) + " loci: loading (format, tallies)";
  snp.Unit = "genotype";
  snp.Data = {snpSmall, snpLarge};
  snp.Variants = {{"small", "load", snpSize(snpSmall), "", "", ""},
                  {"large", "load", snpSize(snpLarge), "", "", ""}};
  snp.Run = [snpSmall, snpLarge](const std::string& variant, const TBenchOptions& o) {
    return MeasureLoad(variant == "small" ? snpSmall : snpLarge, o);
  };
  scenarios.push_back(std::move(snp));
}
