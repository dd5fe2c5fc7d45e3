#include "model/Individual.h"

#include "model/Convert.h"
#include "model/Errors.h"
#include "model/ModelTexts.h"
#include "model/Locus.h"
#include "model/TypedVectors.h"
#include "xml/XMLNode.h"

TIndividual::TIndividual(const std::string& name, int nbLoci, std::uint8_t declaredPloidy)
    : TBioCalculable(name, nbLoci), DeclaredPloidy(declaredPloidy) {
  Genotypes.reserve(static_cast<size_t>(nbLoci > 0 ? nbLoci : 0));
  SetNbTypages(nbLoci);
}

TIndividual::~TIndividual() { Clear(); }

void TIndividual::SetNbTypages(int n) {
  if (n <= 0) return;
  Genotypes.reserve(Genotypes.size() + static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) Genotypes.emplace_back();
}

TTypage& TIndividual::GetTypage(int locus) {
  if (locus < 0 || locus >= NbTypages()) ThrowListError(locus);
  return Genotypes[static_cast<size_t>(locus)];
}

const TTypage& TIndividual::GetTypage(int locus) const {
  if (locus < 0 || locus >= NbTypages()) ThrowListError(locus);
  return Genotypes[static_cast<size_t>(locus)];
}

std::int16_t TIndividual::GetAllele(int locus, int j) const {
  const TTypage& t = GetTypage(locus);
  return j < 0 || j >= t.Count() ? std::int16_t{-1} : t.Alleles[static_cast<size_t>(j)];
}

int TIndividual::Zygosity(int locus) const {
  const TTypage& t = GetTypage(locus);
  if (t.Ploidy != 2 || t.Count() != 2) return 2;
  return t.Alleles[0] == t.Alleles[1] ? 0 : 1;
}

void TIndividual::CountAlleles(bool reset) {
  for (int i = 0; i < NbTypages(); ++i) {
    const TTypage& t = Genotypes[static_cast<size_t>(i)];
    for (int j = 0; j < t.Count(); ++j) AddAllele(i, t.Alleles[static_cast<size_t>(j)], 1);
  }
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
  Genotypes.clear();
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
  // Fresh genotypes filled by TTypage::AssignTo: codes, ploidy and log lines, not the date.
  d->Genotypes = Genotypes;
  for (TTypage& t : d->Genotypes)
    t.SetDate(std::string());
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
