// Deterministic genotype data for benchmarks: populations drawn from ancestral allele
// frequencies with a chosen differentiation (Fst), written as Genepop text.
#pragma once

#include <cstdint>
#include <string>

struct TGeneratorParams {
  int Populations = 20;
  int IndividualsPerPopulation = 50;
  int Loci = 15;
  int AllelesPerLocus = 10;
  double Fst = 0.05;
  double MissingShare = 0.02;
  std::uint64_t Seed = 1;
};

// Writes a three-digit diploid Genepop file; answers the number of bytes written.
std::uint64_t WriteGenepopFile(const std::string& path, const TGeneratorParams& params);
