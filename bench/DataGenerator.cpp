#include "bench/DataGenerator.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

#include "dataset/PGDSStructure.h"

namespace {

// Allele frequencies of one population: a Dirichlet draw centred on the ancestral frequencies
// whose spread gives the wanted Fst (the Balding–Nichols model).
std::vector<double> PopulationFrequencies(const std::vector<double>& ancestral, double fst,
                                          std::mt19937_64& rng) {
  const double scale = (1.0 - fst) / fst;
  std::vector<double> f(ancestral.size());
  double sum = 0;
  for (size_t a = 0; a < ancestral.size(); ++a) {
    std::gamma_distribution<double> gamma(ancestral[a] * scale, 1.0);
    f[a] = gamma(rng) + 1e-12;
    sum += f[a];
  }
  for (double& x : f)
    x /= sum;
  return f;
}

// Ancestral frequencies of one locus: a flat Dirichlet.
std::vector<double> AncestralFrequencies(int alleles, std::mt19937_64& rng) {
  std::vector<double> w(static_cast<size_t>(alleles));
  double sum = 0;
  for (double& x : w) {
    x = std::gamma_distribution<double>(1.0, 1.0)(rng) + 1e-9;
    sum += x;
  }
  for (double& x : w)
    x /= sum;
  return w;
}

} // namespace

std::string TGeneratorParams::Shape() const {
  return std::to_string(Populations) + "x" + std::to_string(IndividualsPerPopulation) + "x" +
         std::to_string(Loci);
}

std::string TGeneratorParams::FileName() const {
  char name[160];
  std::snprintf(name, sizeof name, "gen-%s-a%d-m%g-f%g-p%d-s%llu.gen", Shape().c_str(),
                AllelesPerLocus, MissingShare, Fst, Ploidy, static_cast<unsigned long long>(Seed));
  return name;
}

TReadFormat GeneratedFormat(const TGeneratorParams& params) {
  return params.Ploidy == 1 ? TReadFormat::GenePopHaploid : TReadFormat::GenePop3;
}

std::uint64_t WriteGenepopFile(const std::string& path, const TGeneratorParams& p) {
  std::mt19937_64 rng(p.Seed);
  std::ofstream out(path, std::ios::binary);
  out << "Generated data: " << p.Populations << " populations, Fst " << p.Fst << "\n";
  for (int l = 0; l < p.Loci; ++l)
    out << "Loc" << (l + 1) << "\n";

  std::vector<std::vector<double>> ancestral;
  for (int l = 0; l < p.Loci; ++l)
    ancestral.push_back(AncestralFrequencies(p.AllelesPerLocus, rng));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  const bool haploid = p.Ploidy == 1;
  char buffer[16];
  for (int pop = 0; pop < p.Populations; ++pop) {
    std::vector<std::discrete_distribution<int>> draw;
    for (const auto& f : ancestral) {
      auto freq = PopulationFrequencies(f, p.Fst, rng);
      draw.emplace_back(freq.begin(), freq.end());
    }
    out << "Pop\n";
    for (int i = 0; i < p.IndividualsPerPopulation; ++i) {
      out << "p" << (pop + 1) << "i" << (i + 1) << " ,";
      for (int l = 0; l < p.Loci; ++l) {
        // Even sizes from 100 up: a dinucleotide repeat, as the stepwise criteria expect.
        int a = 100 + 2 * draw[static_cast<size_t>(l)](rng);
        int b = haploid ? 0 : 100 + 2 * draw[static_cast<size_t>(l)](rng);
        if (uniform(rng) < p.MissingShare) a = b = 0;
        if (haploid)
          std::snprintf(buffer, sizeof buffer, " %03d", a);
        else
          std::snprintf(buffer, sizeof buffer, " %03d%03d", a, b);
        out << buffer;
      }
      out << "\n";
    }
  }
  return static_cast<std::uint64_t>(out.tellp());
}
