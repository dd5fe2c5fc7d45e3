// An individual: one genotype per locus of the data set, and descriptive fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/BioCalculable.h"
#include "model/Genotypes.h"

class TXMLNode;
class TVectorLoci;
class TIndividual;

// The genotype of an individual at one locus, read in place: the codes of the present copies,
// and the ploidy, which counts missing copies too.
class TTypageView {
public:
  TTypageView(const TGenotypes& genotypes, int locus) : genotypes_(&genotypes), locus_(locus) {}
  std::span<const std::int16_t> Alleles() const { return genotypes_->Alleles(locus_); }
  int Count() const { return static_cast<int>(Alleles().size()); }
  // Raises EListError outside 0 .. Count-1.
  std::int16_t Items(int i) const;
  std::uint8_t Ploidy() const { return genotypes_->Ploidy(locus_); }
  const std::string& Date() const { return genotypes_->Date(locus_); }
  const std::vector<std::string>& Log() const { return genotypes_->Log(locus_); }

protected:
  const TGenotypes* genotypes_;
  int locus_;
};

// The same, through which the genotype can be changed.
class TTypageRef : public TTypageView {
public:
  TTypageRef(TGenotypes& genotypes, int locus) : TTypageView(genotypes, locus) {}
  // Appends a present copy; the ploidy grows to the number of copies when it was below.
  void Add(std::int16_t code) const { Own().Add(locus_, code); }
  // Codes and log emptied, ploidy 0; the date stays.
  void Clear() const { Own().ClearLocus(locus_); }
  void SetPloidy(std::uint8_t p) const { Own().SetPloidy(locus_, p); }
  void SetDate(const std::string& date) const { Own().SetDate(locus_, date); }
  void AddLog(const std::string& line) const { Own().AddLog(locus_, line); }

private:
  TGenotypes& Own() const { return const_cast<TGenotypes&>(*genotypes_); }
};

class TIndividual : public TBioCalculable {
public:
  // One genotype per locus of the data set.
  TGenotypes Genotypes;
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

  int NbTypages() const { return Genotypes.Loci(); }
  // Appends n empty genotypes.
  void SetNbTypages(int n) { Genotypes.AddLoci(n); }
  // Raise EListError outside 0 .. NbTypages-1.
  TTypageRef GetTypage(int locus);
  TTypageView GetTypage(int locus) const;
  int NbAllelesTyped(int locus) const { return GetTypage(locus).Count(); }
  // Code of copy j at `locus`, or -1 when that copy is not stored.
  std::int16_t GetAllele(int locus, int j) const;
  void AddGene(int locus, std::int16_t code) { GetTypage(locus).Add(code); }
  std::uint8_t GetPloidy(int locus) const { return GetTypage(locus).Ploidy(); }
  void SetPloidy(int locus, int p) { GetTypage(locus).SetPloidy(static_cast<std::uint8_t>(p)); }
  // Adds a missing gene copy at `locus`.
  void AddMissingGene(int locus) { SetPloidy(locus, GetPloidy(locus) + 1); }
  // 0 homozygote, 1 heterozygote, 2 anything but a complete diploid genotype.
  int Zygosity(int locus) const;

  int NbHomozygotes(int locus) const override { return Zygosity(locus) == 0 ? 1 : 0; }
  int NbHeterozygotes(int locus) const override { return Zygosity(locus) == 1 ? 1 : 0; }
  void CountAlleles(bool reset) override;
  void ComputeFrequencies() override;
  // An individual's tallies are not stored with it: they are counted from its genotypes when
  // first read, as its genotypes are what the runs and the groups count.
  bool TalliesDerived() const override { return true; }

  // Genotypes and numeric fields emptied (the strings and the tallies stay).
  void Clear();

  // Reads an `individual` element of the genotype XML file.
  void ReadXML(TVectorLoci& loci, const TXMLNode& element);
};
