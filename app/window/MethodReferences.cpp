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

std::string CriterionReference(int code) {
  switch (code) {
  case 0:
    return Reference("Baudouin &amp; Lebrun", "Baudouin &amp; Lebrun (2001)",
                     "An Operational Bayesian Approach for the Identification of Sexually "
                     "Reproduced Cross-Fertilized Populations using Molecular Markers",
                     "Acta Hort. 546: 81-94");
  case 1:
    return Latin1("<b>Baudouin2</b><br>TEST");
  case 2:
    return RannalaMountain();
  case 3:
    return Reference("Paetkau et al.", "Paetkau et al. (1995)",
                     "Microsatellite analysis of population structure in Canadian polar bears",
                     "Mol. Ecol. 4:347-354");
  case 4:
    return Reference("Nei Standard", "Nei (1972)", "Genetic distance between populations",
                     "Amer. Nat. 106:283-291");
  case 5:
    return Reference("Nei Minimum", "Nei (1973)", "The theory and estimation of genetic distance",
                     "pp. 45-54 in Genetic Structure of Populations");
  case 6:
    return Reference("Nei DA", "Nei et al. (1983)",
                     "Accuracy of estimated phylogenetic trees from molecular data",
                     "J. Mol. Evol. 19:153-170");
  case 7:
    return Reference("Cavalli-Sforza &amp; Edwards", "Cavalli-Sforza &amp; Edwards (1967)",
                     "Phylogenetic analysis: Models and estimation procedures",
                     "Am. J. Hum. Genet. 19:233-257");
  case 8:
    return Reference("Goldstein et al.", "Goldstein et al. (1995)",
                     "Genetic absolute dating based on microsatellites and origin of modern humans",
                     "Proc. Natl. Acad. Sci. USA 92: 6723-6727");
  case 9:
    return Latin1("<b>Cornuet</b><br>Uniquement pour microsatellites<br>"
                  "<i>Méthode non encore publiée.</i>");
  case 10:
    return Reference("Rogers", "Rogers (1972)", "Measure of similarities and genetic distances",
                     "Studies in Genetics VII, Univ. Texas Publ. 7213:145-153");
  default:
    return {};
  }
}

std::string AlgorithmReference(int code) {
  switch (code) {
  case 0:
    return Reference("Cornuet et al.", "Cornuet et al. (1999)",
                     "New methods employing multilocus genotypes to select or exclude "
                     "populations as origins of individuals",
                     "Genetics 153(4): 1989-2000");
  case 1:
    return RannalaMountain();
  case 2:
    return Paetkau2004();
  default:
    return {};
  }
}

std::string MigrantDetectionReference() {
  return Paetkau2004();
}
