// Small data sets built in memory for the tests: from genotype texts, as a reader builds them,
// or from allele codes, as the XML reader leaves them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dataset/PGDSStructure.h"

namespace support {

// Loci, samples, and individuals given as one genotype text per locus ("1/2" a diploid, "1" a
// haploid, "" an untyped diploid). Alleles are named by the text, in the order met.
class TDataBuilder {
public:
  explicit TDataBuilder(const std::vector<std::string>& loci,
                        const std::string& fileName = "ref.gen")
      : ds_(std::make_unique<TPGDSStructure>()) {
    ds_->FileName = fileName;
    for (const std::string& name : loci)
      ds_->Loci.Adopt(std::make_unique<TLocus>(name));
  }

  TDataBuilder& Title(const std::string& title) {
    ds_->Title = title;
    return *this;
  }

  TDataBuilder& Sample(const std::string& name) {
    current_ = static_cast<TSample*>(
        ds_->SamplesGroup.Members.Adopt(std::make_unique<TSample>(name, ds_->LociCount(), 10)));
    return *this;
  }

  TDataBuilder& Individual(const std::string& name, const std::vector<std::string>& genotypes) {
    auto individual = std::make_unique<TIndividual>(name, ds_->LociCount(), 2);
    for (int l = 0; l < ds_->LociCount(); ++l) {
      const std::string& text = genotypes[static_cast<size_t>(l)];
      if (text.empty()) {
        individual->AddMissingGene(l);
        individual->AddMissingGene(l);
        continue;
      }
      std::istringstream alleles(text);
      std::string allele;
      while (std::getline(alleles, allele, '/'))
        individual->AddGene(l, ds_->LocusAt(l)->FindOrAddAllele(allele, 0, 0, ""));
    }
    current_->Individuals.Add(ds_->AllIndividuals.Adopt(std::move(individual)));
    return *this;
  }

  // The data set, tallied as a reader leaves it.
  std::unique_ptr<TPGDSStructure> Loaded() {
    ds_->DataLoaded();
    return std::move(ds_);
  }

private:
  std::unique_ptr<TPGDSStructure> ds_;
  TSample* current_ = nullptr;
};

// Two populations of three individuals at loci L1 and L2: A mostly allele 1, B mostly allele 2.
inline std::unique_ptr<TPGDSStructure> TwoPopulations() {
  return TDataBuilder({"L1", "L2"})
      .Title("Two populations")
      .Sample("A")
      .Individual("a1", {"1/1", "1/1"})
      .Individual("a2", {"1/2", "1/1"})
      .Individual("a3", {"1/1", "1/2"})
      .Sample("B")
      .Individual("b1", {"2/2", "2/2"})
      .Individual("b2", {"1/2", "2/2"})
      .Individual("b3", {"2/2", "2/1"})
      .Loaded();
}

inline TLocus* AddLocus(TPGDSStructure& ds, const std::string& name) {
  return ds.Loci.Adopt(std::make_unique<TLocus>(name, 5));
}

inline TSample* AddSample(TPGDSStructure& ds, const std::string& name) {
  return static_cast<TSample*>(
      ds.SamplesGroup.Members.Adopt(std::make_unique<TSample>(name, ds.LociCount(), 10)));
}

// An individual owned by its sample (as read from XML) with, for each locus, the allele codes
// of its copies; -1 stands for a missing copy.
inline TIndividual* AddIndividual(TPGDSStructure& ds, TSample& sample, const std::string& name,
                                  std::initializer_list<std::initializer_list<int>> genotypes) {
  auto individual = std::make_unique<TIndividual>(name, ds.LociCount(), 2);
  int locus = 0;
  for (const auto& codes : genotypes) {
    int missing = 0;
    for (int code : codes) {
      if (code < 0)
        ++missing;
      else
        individual->AddGene(locus, static_cast<std::int16_t>(code));
    }
    for (int m = 0; m < missing; ++m)
      individual->AddMissingGene(locus);
    ++locus;
  }
  TIndividual* raw = sample.Individuals.Adopt(std::move(individual));
  ds.AllIndividuals.Add(raw);
  return raw;
}

// Two loci, two samples (three individuals), a group holding the first sample.
inline void MakeSmallDataSet(TPGDSStructure& ds) {
  ds.Title = "Small";
  TLocus* a = AddLocus(ds, "A");
  a->FindOrAddAllele("120", 120, 60, "");
  a->FindOrAddAllele("124", 124, 62, "");
  TLocus* b = AddLocus(ds, "B");
  b->FindOrAddAllele("8", 8, 8, "");
  TSample* p1 = AddSample(ds, "P1");
  AddIndividual(ds, *p1, "i1", {{0, 1}, {0, 0}});
  AddIndividual(ds, *p1, "i2", {{0, 0}, {-1, -1}});
  TSample* p2 = AddSample(ds, "P2");
  AddIndividual(ds, *p2, "i3", {{1, 1}, {0, -1}});
  auto group = std::make_unique<TGroup>("G", ds.LociCount(), 5);
  group->Members.Add(p1);
  ds.RootGroup.Members.Adopt(std::move(group));
  ds.RootGroup.Members.Add(p2);
  ds.DataLoaded();
}

} // namespace support
