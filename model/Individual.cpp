#include "model/Individual.h"

#include "model/Convert.h"
#include "base/Errors.h"
#include "model/ModelTexts.h"
#include "model/Locus.h"
#include "model/TypedVectors.h"
#include "xml/XMLNode.h"

TIndividual::TIndividual(const std::string& name, int nbLoci, std::uint8_t declaredPloidy)
    : TBioCalculable(name, nbLoci), DeclaredPloidy(declaredPloidy) {
  SetNbTypages(nbLoci);
}

TIndividual::~TIndividual() { Clear(); }

std::int16_t TTypageView::Items(int i) const {
  if (i < 0 || i >= Count()) ThrowListError(i);
  return Alleles()[static_cast<size_t>(i)];
}

TTypageRef TIndividual::GetTypage(int locus) {
  if (locus < 0 || locus >= NbTypages()) ThrowListError(locus);
  return TTypageRef(Genotypes, locus);
}

TTypageView TIndividual::GetTypage(int locus) const {
  if (locus < 0 || locus >= NbTypages()) ThrowListError(locus);
  return TTypageView(Genotypes, locus);
}

std::int16_t TIndividual::GetAllele(int locus, int j) const {
  const auto alleles = GetTypage(locus).Alleles();
  return j < 0 || j >= static_cast<int>(alleles.size()) ? std::int16_t{-1}
                                                        : alleles[static_cast<size_t>(j)];
}

int TIndividual::Zygosity(int locus) const {
  if (locus < 0 || locus >= NbTypages()) ThrowListError(locus);
  const auto alleles = Genotypes.Alleles(locus);
  if (Genotypes.Ploidy(locus) != 2 || alleles.size() != 2) return 2;
  return alleles[0] == alleles[1] ? 0 : 1;
}

void TIndividual::CountAlleles(bool reset) {
  for (int i = 0; i < NbTypages(); ++i)
    for (std::int16_t code : Genotypes.Alleles(i)) AddAllele(i, code, 1);
  TBioCalculable::CountAlleles(reset);
}

void TIndividual::ComputeFrequencies() {
  for (int i = 0; i < NbLoci() && i < NbTypages(); ++i) {
    const Extended n = NbAllelesTyped(i);
    for (TAlleleFeatures& f : SampledLoci[static_cast<size_t>(i)].Features)
      f.Frequency = f.Count / n;
  }
  TBioCalculable::ComputeFrequencies();
}

void TIndividual::Clear() {
  DeclaredPloidy = 0;
  X = Y = Z = 0;
  Generation = 0;
  Genotypes.Clear();
}

void TIndividual::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TIndividual*>(&dest);
  if (!d) {
    TBioCalculable::AssignTo(dest);
    return;
  }
  d->Clear();
  TBioCalculable::AssignTo(dest);
  d->DeclaredPloidy = DeclaredPloidy;
  d->X = X;
  d->Y = Y;
  d->Z = Z;
  d->Generation = Generation;
  // The genotypes (shared until either changes): codes, ploidy and log lines, not the dates.
  d->Genotypes = Genotypes;
  d->Genotypes.ClearDates();
}

void TIndividual::ReadXML(TVectorLoci& loci, const TXMLNode& element) {
  for (int i = 0; i < element.ChildCount(); ++i) {
    const TXMLNode& child = *element.GetChild(i);
    const std::string& n = child.Name;
    if (n == "individualName") SetName(child.Value);
    else if (n == "individualLongName") FullName = child.Value;
    else if (n == "individualSex") Sex = child.Value;
    else if (n == "individualSampler") Sampler = child.Value;
    else if (n == "individualSamplingDate") SamplingDate = child.Value;
    else if (n == "individualGeneration") Generation = StrToInt(child.Value);
    else if (n == "individualComments") Comments = child.Value;
    else if (n == "individualLocalization") {
      for (int k = 0; k < child.ChildCount(); ++k) {
        const TXMLNode& c = *child.GetChild(k);
        if (c.Name == "individualX") X = StrToFloat(c.Value);
        else if (c.Name == "individualY") Y = StrToFloat(c.Value);
        else if (c.Name == "individualZ") Z = StrToFloat(c.Value);
      }
    } else if (n == "genotype") {
      if (child.ChildCount() == 0 || child.GetChild(0)->Kind != TXMLNodeKind::Attribute ||
          child.GetChild(0)->Name != "locName")
        continue;
      const std::string& locusName = child.GetChild(0)->Value;
      const int locus = loci.IndexOf(locusName);
      if (locus < 0) throw EFileFormatWarning(Format(kUndeclaredLocus(), locusName.c_str()));
      try {
        TLocus* l = loci.Items(locus);
        for (int k = 1; k < child.ChildCount(); ++k) {
          const TXMLNode& g = *child.GetChild(k);
          if (g.Name == "gene") {
            std::string allele = g.GetChild(0)->Value;
            if (allele.empty()) allele = "NIL";
            if (allele == "NIL") {
              AddMissingGene(locus);
            } else {
              const std::int32_t v = StrToIntDef(allele, 0);
              AddGene(locus, l->FindOrAddAllele(allele, v, v, ""));
            }
          } else if (g.Name == "genotypeDate") {
            GetTypage(locus).SetDate(g.Value);
          } else if (g.Name == "genotypeLog") {
            GetTypage(locus).AddLog(g.Value);
          }
        }
      } catch (const std::exception&) {
        throw EFileFormatWarning(
            Format(kIncorrectGenotype(), locusName.c_str(), Name.c_str()));
      }
    }
  }
}
