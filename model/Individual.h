// An individual: one genotype per locus of the data set, and descriptive fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/BioCalculable.h"
#include "model/Typage.h"

class TXMLNode;
class TVectorLoci;

class TIndividual : public TBioCalculable {
public:
  std::vector<TTypage> Genotypes;
  std::uint8_t DeclaredPloidy = 0;
  double X = 0, Y = 0, Z = 0;
  std::int32_t Generation = 0;
  std::string Sex;
  std::string Sampler;
  std::string SamplingDate;

  TIndividual(const std::string& name = std::string(), int nbLoci = 0,
              std::uint8_t declaredPloidy = 0);
  ~TIndividual() override;

  const char* ClassName() const override { return "TIndividual"; }
  void AssignTo(TPersistent& dest) const override;

  int NbTypages() const { return static_cast<int>(Genotypes.size()); }
  // Appends n empty genotypes.
  void SetNbTypages(int n);
  TTypage& GetTypage(int locus);
  const TTypage& GetTypage(int locus) const;
  int NbAllelesTyped(int locus) const { return GetTypage(locus).Count(); }
  // Code of copy j at `locus`, or -1 when that copy is not stored.
  std::int16_t GetAllele(int locus, int j) const;
  void AddGene(int locus, std::int16_t code) { GetTypage(locus).Add(code); }
  std::uint8_t GetPloidy(int locus) const { return GetTypage(locus).Ploidy; }
  void SetPloidy(int locus, int p) { GetTypage(locus).Ploidy = static_cast<std::uint8_t>(p); }
  // Adds a missing gene copy at `locus`.
  void AddMissingGene(int locus) { SetPloidy(locus, GetPloidy(locus) + 1); }
  // 0 homozygote, 1 heterozygote, 2 anything but a complete diploid genotype.
  int Zygosity(int locus) const;

  int NbHomozygotes(int locus) const override { return Zygosity(locus) == 0 ? 1 : 0; }
  int NbHeterozygotes(int locus) const override { return Zygosity(locus) == 1 ? 1 : 0; }
  void CountAlleles(bool reset) override;
  void ComputeFrequencies() override;

  // Genotypes and numeric fields emptied (the strings and the tallies stay).
  void Clear();

  // Reads an `individual` element of the genotype XML file.
  void ReadXML(TVectorLoci& loci, const TXMLNode& element);
};
