// Data sets built by hand for the application tests, and the removal of time stamps from
// journal lines.
#pragma once

#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "dataset/PGDSStructure.h"

namespace apptest {

// Loci, samples, and individuals given as one genotype text per locus ("1/2" a diploid, "1" a
// haploid, "" an untyped diploid).
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

// Date and time stamps replaced by "<t>", processor times by "<d>".
inline std::string Normalised(const std::string& text) {
  static const std::regex stamp(R"(\d\d/\d\d/\d\d\d\d \d\d:\d\d:\d\d)");
  static const std::regex duration(R"(\d+\.\d\d\d s)");
  return std::regex_replace(std::regex_replace(text, stamp, "<t>"), duration, "<d> s");
}

} // namespace apptest
