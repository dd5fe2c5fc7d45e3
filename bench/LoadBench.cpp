// Loading and statistics of a large Genepop file.
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "bench/DataGenerator.h"
#include "dataset/PGDSStructure.h"

void BenchLoadGenepop(bool small) {
  TGeneratorParams params;
  params.Populations = 100;
  params.IndividualsPerPopulation = small ? 100 : 1000; // 100,000 individuals
  params.Loci = 20;
  const std::string path =
      (std::filesystem::temp_directory_path() / "tarvik2-bench-load.gen").string();
  const std::uint64_t bytes = WriteGenepopFile(path, params);
  const double before = PeakMemoryMiB();
  TStopwatch watch;
  TPGDSStructure ds;
  ds.LoadFromFile(path, 7);
  const double wall = watch.WallSeconds(), cpu = watch.CpuSeconds();
  const double individuals = static_cast<double>(ds.AllIndividuals.Count());
  char note[160];
  std::snprintf(note, sizeof note, "%.0f individuals x %d loci, file %.1f MiB, memory %+.1f MiB",
                individuals, ds.LociCount(), bytes / 1048576.0, PeakMemoryMiB() - before);
  Report("load Genepop (detection, tallies)", wall, cpu, individuals / wall, "ind/s", note);
  std::filesystem::remove(path);
}
