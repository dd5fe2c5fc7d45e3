// A sample: a population as read from a file, with its individuals in file order.
#pragma once

#include <memory>
#include <string>

#include "model/GroupAbstract.h"

class TLogger;

class TSample : public TGroupAbstract {
public:
  std::string Sampler;
  std::string SamplingDate;
  double X = 0, Y = 0, Z = 0;
  std::int32_t Color = 0;

  TSample(const std::string& name = std::string(), int nbLoci = 0, int individualsCapacity = 10);
  ~TSample() override;

  const char* ClassName() const override { return "TSample"; }
  void AssignTo(TPersistent& dest) const override;
  bool IsSample() const override { return true; }
  // Tallies the genotypes of the individuals, and marks the individuals computed (their own
  // tallies are derived when read).
  void CountAlleles(bool reset) override;

  // The leave-one-out copy: a new sample sharing every individual but the one at `index`,
  // tallied only (`countOnly`) or fully computed. The caller owns it.
  std::unique_ptr<TSample> CopyWithout(int index, bool countOnly) const;

  // Reads a `sample` element of the genotype XML file; the individuals read are owned by the
  // sample.
  void ReadXML(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element, int index);
};
