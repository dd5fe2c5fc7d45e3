// Data sets for the engine tests, described plainly (locus and allele names, genotypes as lists
// of allele names) so that a test can both build the data model from them and compute the
// expected values straight from the description.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dataset/PGDSStructure.h"

namespace matchtest {

struct TRawGenotype {
  std::vector<std::string> Alleles; // the copies present
  int Ploidy = 0;                   // copies, missing ones included
};

struct TRawIndividual {
  std::string Name;
  std::vector<TRawGenotype> Loci; // by locus of the raw set
};

struct TRawSample {
  std::string Name;
  std::vector<TRawIndividual> Individuals;
};

struct TRawLocus {
  std::string Name;
  // Allele names in code order; alleles met in genotypes only are appended when built.
  std::vector<std::string> Declared;
  // Length and number of repeats by allele name (an allele not listed: its name as length, no
  // repeats).
  std::map<std::string, std::pair<int, int>> Sizes;
};

struct TRawSet {
  std::string FileName;
  std::vector<TRawLocus> Loci;
  std::vector<TRawSample> Samples;

  int LocusIndex(const std::string& name) const {
    for (size_t i = 0; i < Loci.size(); ++i)
      if (Loci[i].Name == name) return static_cast<int>(i);
    return -1;
  }
};

// "a/b" a diploid, "a" a haploid, "a/" a diploid with one copy missing, "" an untyped diploid.
inline TRawGenotype Genotype(const std::string& text) {
  TRawGenotype g;
  if (text.empty()) {
    g.Ploidy = 2;
    return g;
  }
  std::istringstream in(text);
  std::string allele;
  while (std::getline(in, allele, '/')) {
    ++g.Ploidy;
    if (!allele.empty()) g.Alleles.push_back(allele);
  }
  if (text.back() == '/') ++g.Ploidy;
  return g;
}

// A raw set from loci names and, per sample, individuals given as one genotype text per locus.
inline TRawSet
Raw(const std::vector<std::string>& loci,
    const std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>>& samples,
    const std::string& fileName = "data.xml") {
  TRawSet raw;
  raw.FileName = fileName;
  for (const std::string& name : loci)
    raw.Loci.push_back({name, {}, {}});
  for (const auto& [name, individuals] : samples) {
    TRawSample& s = raw.Samples.emplace_back();
    s.Name = name;
    for (size_t k = 0; k < individuals.size(); ++k) {
      TRawIndividual& ind = s.Individuals.emplace_back();
      ind.Name = name + "_" + std::to_string(k);
      for (const std::string& text : individuals[k])
        ind.Loci.push_back(Genotype(text));
    }
  }
  return raw;
}

// The data set described by `raw`, adopted and tallied as a reader leaves it.
inline std::unique_ptr<TPGDSStructure> Build(const TRawSet& raw) {
  auto ds = std::make_unique<TPGDSStructure>();
  ds->FileName = raw.FileName;
  auto addAllele = [](TLocus& locus, const TRawLocus& r, const std::string& name) {
    const auto size = r.Sizes.find(name);
    const int length = size == r.Sizes.end() ? std::atoi(name.c_str()) : size->second.first;
    const int repeats = size == r.Sizes.end() ? 0 : size->second.second;
    return locus.FindOrAddAllele(name, length, repeats, "");
  };
  for (const TRawLocus& r : raw.Loci) {
    TLocus* locus = ds->Loci.Adopt(std::make_unique<TLocus>(r.Name));
    for (const std::string& a : r.Declared)
      addAllele(*locus, r, a);
  }
  const int nbLoci = ds->LociCount();
  for (const TRawSample& rs : raw.Samples) {
    auto* sample = static_cast<TSample*>(
        ds->SamplesGroup.Members.Adopt(std::make_unique<TSample>(rs.Name, nbLoci, 10)));
    for (const TRawIndividual& ri : rs.Individuals) {
      auto ind = std::make_unique<TIndividual>(ri.Name, nbLoci, 2);
      for (int l = 0; l < nbLoci; ++l) {
        const TRawGenotype& g = ri.Loci[static_cast<size_t>(l)];
        for (const std::string& a : g.Alleles)
          ind->AddGene(l, addAllele(*ds->LocusAt(l), raw.Loci[static_cast<size_t>(l)], a));
        for (int c = static_cast<int>(g.Alleles.size()); c < g.Ploidy; ++c)
          ind->AddMissingGene(l);
      }
      sample->Individuals.Add(ds->AllIndividuals.Adopt(std::move(ind)));
    }
  }
  ds->DataLoaded();
  return ds;
}

} // namespace matchtest
