#include "app/window/MethodReferences.h"

#include "base/Texts.h"

namespace {

// Bold name, line break, "authors (year), <u>title</u>, <i>journal</i>".
std::string Reference(const char* name, const char* authors, const char* title,
                      const char* journal) {
  return Latin1(std::string("<b>") + name + "</b><br>" + authors + ", <u>" + title + "</u>, <i>" +
                journal + "</i>");
}

std::string RannalaMountain() {
  return Reference("Rannala &amp; Mountain", "Rannala &amp; Mountain (1997)",
                   "Detecting immigration by using multilocus genotypes",
                   "Proc. Natl. Acad. Sci. USA 94: 9197-9221");
}

std::string Paetkau2004() {
  return Reference("Paetkau et al.", "Paetkau et al. (2004)",
                   "Direct, real-time estimation of migration rate using assignment methods: a "
                   "simulation-based exploration of accuracy and power",
                   "Mol. Ecol. 13:55-65");
}

} // namespace

std::string CriterionReference(TCriterion criterion) {
  switch (criterion) {
  case TCriterion::BaudouinLebrun:
    return Reference("Baudouin &amp; Lebrun", "Baudouin &amp; Lebrun (2001)",
                     "An Operational Bayesian Approach for the Identification of Sexually "
                     "Reproduced Cross-Fertilized Populations using Molecular Markers",
                     "Acta Hort. 546: 81-94");
  case TCriterion::Baudouin2:
    return Latin1("<b>Baudouin2</b><br>TEST");
  case TCriterion::RannalaMountain:
    return RannalaMountain();
  case TCriterion::Paetkau:
    return Reference("Paetkau et al.", "Paetkau et al. (1995)",
                     "Microsatellite analysis of population structure in Canadian polar bears",
                     "Mol. Ecol. 4:347-354");
  case TCriterion::NeiStandard:
    return Reference("Nei Standard", "Nei (1972)", "Genetic distance between populations",
                     "Amer. Nat. 106:283-291");
  case TCriterion::NeiMinimum:
    return Reference("Nei Minimum", "Nei (1973)", "The theory and estimation of genetic distance",
                     "pp. 45-54 in Genetic Structure of Populations");
  case TCriterion::NeiDA:
    return Reference("Nei DA", "Nei et al. (1983)",
                     "Accuracy of estimated phylogenetic trees from molecular data",
                     "J. Mol. Evol. 19:153-170");
  case TCriterion::CavalliSforza:
    return Reference("Cavalli-Sforza &amp; Edwards", "Cavalli-Sforza &amp; Edwards (1967)",
                     "Phylogenetic analysis: Models and estimation procedures",
                     "Am. J. Hum. Genet. 19:233-257");
  case TCriterion::Goldstein:
    return Reference("Goldstein et al.", "Goldstein et al. (1995)",
                     "Genetic absolute dating based on microsatellites and origin of modern humans",
                     "Proc. Natl. Acad. Sci. USA 92: 6723-6727");
  case TCriterion::Cornuet:
    return Latin1("<b>Cornuet</b><br>Uniquement pour microsatellites<br>"
                  "<i>Méthode non encore publiée.</i>");
  case TCriterion::Rogers:
    return Reference("Rogers", "Rogers (1972)", "Measure of similarities and genetic distances",
                     "Studies in Genetics VII, Univ. Texas Publ. 7213:145-153");
  }
  return {};
}

std::string AlgorithmReference(TSimulationAlgorithm algorithm) {
  switch (algorithm) {
  case TSimulationAlgorithm::Cornuet1999:
    return Reference("Cornuet et al.", "Cornuet et al. (1999)",
                     "New methods employing multilocus genotypes to select or exclude "
                     "populations as origins of individuals",
                     "Genetics 153(4): 1989-2000");
  case TSimulationAlgorithm::Rannala1997:
    return RannalaMountain();
  case TSimulationAlgorithm::Paetkau2004:
    return Paetkau2004();
  }
  return {};
}

std::string MigrantDetectionReference() {
  return Paetkau2004();
}
