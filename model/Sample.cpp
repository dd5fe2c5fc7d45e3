#include "model/Sample.h"

#include "base/Logger.h"
#include "model/Convert.h"
#include "base/Errors.h"
#include "model/Individual.h"
#include "model/ModelTexts.h"
#include "xml/XMLNode.h"

TSample::TSample(const std::string& name, int nbLoci, int individualsCapacity)
    : TGroupAbstract(name, nbLoci, individualsCapacity) {}

TSample::~TSample() {
  Sampler.clear();
  SamplingDate.clear();
}

void TSample::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TSample*>(&dest);
  if (!d) {
    TGroupAbstract::AssignTo(dest);
    return;
  }
  d->TGroupAbstract::Clear(true);
  TGroupAbstract::AssignTo(dest);
  d->Sampler = Sampler;
  d->SamplingDate = SamplingDate;
  Individuals.AssignTo(d->Individuals);
}

void TSample::CountAlleles(bool reset) {
  // The individuals' own tallies are derived from their genotypes when first read: an
  // individual not computed yet only drops the ones it may hold. The sample counts the
  // genotypes.
  for (int i = 0; i < Individuals.Count(); ++i) {
    TIndividual& individual = *Individuals.Items(i);
    if (individual.Computed) continue;
    individual.ForgetTallies();
    individual.Computed = true;
  }
  TGroupAbstract::CountAlleles(reset);
}

std::unique_ptr<TSample> TSample::CopyWithout(int index, bool countOnly) const {
  auto copy = std::make_unique<TSample>(Name, NbLoci(), NbIndividuals() - 1);
  for (int i = 0; i < NbIndividuals(); ++i)
    if (i != index) // shared as they are: their labels stay those of this sample
      copy->Individuals.TVectorBioAbstract::Add(Individuals.Items(i));
  if (countOnly) copy->CountAlleles(true);
  else copy->Compute(true);
  return copy;
}

void TSample::ReadXML(TLogger& dataset, TVectorLoci& loci, const TXMLNode& element, int) {
  for (int i = 0; i < element.ChildCount(); ++i) {
    if (dataset.DoEvent()) throw EFileFormatWarning(kUserStoppedParsing());
    const TXMLNode& child = *element.GetChild(i);
    const std::string& n = child.Name;
    if (n == "sampleName") SetName(child.Value);
    else if (n == "sampleFullName") FullName = child.Value;
    else if (n == "sampleSampler") Sampler = child.Value;
    else if (n == "sampleSamplingDate") SamplingDate = child.Value;
    else if (n == "sampleComments") Comments = child.Value;
    else if (n == "color") Color = StrToInt(child.Value);
    else if (n == "sampleLocalization") {
      for (int k = 0; k < child.ChildCount(); ++k) {
        const TXMLNode& c = *child.GetChild(k);
        if (c.Name == "sampleX") X = StrToFloat(c.Value);
        else if (c.Name == "sampleY") Y = StrToFloat(c.Value);
        else if (c.Name == "sampleZ") Z = StrToFloat(c.Value);
      }
    } else if (n == "individual") {
      auto individual = std::make_unique<TIndividual>("", loci.Count(), 0);
      individual->ReadXML(loci, child);
      Individuals.Adopt(std::move(individual));
    }
  }
}
