// The named entity: every locus, allele, individual, sample and group has a short name (its
// lookup key), a long name and free comments.
#pragma once

#include <string>

#include "model/Persistent.h"

class TBioAbstract : public TPersistent {
public:
  std::string Name;
  std::string FullName;
  std::string Comments;

  // Sets the name (through SetName) and the long name to `name`.
  explicit TBioAbstract(const std::string& name = std::string());
  ~TBioAbstract() override;

  const char* ClassName() const override { return "TBioAbstract"; }
  void AssignTo(TPersistent& dest) const override;
  // Sets Name and FullName.
  virtual void SetName(const std::string& value);
  // Empties Name, FullName and Comments.
  void Clear();
};
