// A locus: a named genetic marker with its known alleles. An allele is referred to by its
// allele code, its position in the locus's allele vector (alleles are only ever appended).
#pragma once

#include <cstdint>
#include <string>

#include "model/Allele.h"
#include "model/VectorBioAbstract.h"

class TXMLNode;

enum class TLocusType : std::uint8_t {
  Microsatellite = 0,
  LinkedMicrosatellite = 1,
  Cytoplasmic = 2,
  Unknown = 3,
};

// "Microsatellite", "Linked Microsatellite", "Cytoplasmic"; "Unknown" for any other value.
const char* TypeName(int value);
// "MS" 0, "MSL" 1, "CYTO" 2 (case-sensitive), anything else 3.
TLocusType TypeFromCode(const std::string& text);

class TLocus : public TBioAbstract {
public:
  TLocusType LocusType = TLocusType::Microsatellite;
  std::string Pattern;
  std::string Expression;
  bool Linked = false;
  std::string LinkedChromosome;
  std::string LinkedLinkageGroup;
  double LinkedPosition = 0.0;
  std::string ForwardPrimer;
  std::string ReversePrimer;
  // The alleles, owned; position = allele code.
  TVectorBioAbstract Alleles;

  explicit TLocus(const std::string& name = std::string(), int allelesCapacity = 5);
  ~TLocus() override;

  const char* ClassName() const override { return "TLocus"; }
  void AssignTo(TPersistent& dest) const override;
  void Clear();

  // The code of the allele named `name`; a new allele is appended when there is none (the other
  // arguments are then its attributes; an existing allele is left unchanged).
  std::int16_t FindOrAddAllele(const std::string& name, std::int32_t length,
                               std::int32_t nbRepeats, const std::string& sequence);
  std::int16_t IndexOfAllele(const std::string& name) const;
  // Raises ERangeError for a code outside 0 .. NbAlleles-1.
  TAllele* GetAllele(int code) const;
  TAllele* GetSortedAllele(int i) const;
  int SortedAlleleIndex(int i) const { return Alleles.SortedPosition(i); }
  int NbAlleles() const { return Alleles.Count(); }

  // Reads a `locus` element of the genotype XML file (its name is set by the caller).
  void ReadXML(const TXMLNode& element);
};
