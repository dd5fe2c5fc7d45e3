// Deterministic genotype data for benchmarks: populations drawn from ancestral allele
// frequencies with a chosen differentiation (Fst), written as Genepop text.
#pragma once

#include <cstdint>
#include <string>

#include "dataset/FileFormats.h"

struct TGeneratorParams {
  int Populations = 20;
  int IndividualsPerPopulation = 50;
  int Loci = 15;
  int AllelesPerLocus = 10;
  double Fst = 0.05;
  // Share of genotypes left untyped (every copy of the locus missing).
  double MissingShare = 0.02;
  // 2: three-digit diploid Genepop; 1: haploid Genepop.
  int Ploidy = 2;
  std::uint64_t Seed = 1;

  int Individuals() const { return Populations * IndividualsPerPopulation; }
  // "20x50x15" style text: populations x individuals per population x loci.
  std::string Shape() const;
  // A file name that differs whenever one of the parameters does.
  std::string FileName() const;
};

// The read format of the files written for `params`.
TReadFormat GeneratedFormat(const TGeneratorParams& params);

// Writes a three-digit diploid (or haploid) Genepop file; answers the number of bytes written.
// The same parameters always give the same bytes.
std::uint64_t WriteGenepopFile(const std::string& path, const TGeneratorParams& params);
