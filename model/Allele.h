// An allele of a locus: identified by its name within the locus.
#pragma once

#include <cstdint>
#include <string>

#include "model/BioAbstract.h"

class TAllele : public TBioAbstract {
public:
  std::int32_t Length = 0;
  std::int32_t NbRepeats = 0;
  std::string Sequence;

  TAllele() = default;
  TAllele(const std::string& name, std::int32_t length, std::int32_t nbRepeats,
          const std::string& sequence);

  const char* ClassName() const override { return "TAllele"; }
  void AssignTo(TPersistent& dest) const override;
  void Clear();
};
