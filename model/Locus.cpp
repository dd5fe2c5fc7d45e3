#include "model/Locus.h"

#include "model/Convert.h"
#include "base/Errors.h"
#include "model/ModelTexts.h"
#include "xml/XMLNode.h"

const char* TypeName(int value) {
  switch (value) {
  case 0: return "Microsatellite";
  case 1: return "Linked Microsatellite";
  case 2: return "Cytoplasmic";
  default: return "Unknown";
  }
}

TLocusType TypeFromCode(const std::string& text) {
  if (text == "MS") return TLocusType::Microsatellite;
  if (text == "MSL") return TLocusType::LinkedMicrosatellite;
  if (text == "CYTO") return TLocusType::Cytoplasmic;
  return TLocusType::Unknown;
}

TLocus::TLocus(const std::string& name, int allelesCapacity)
    : TBioAbstract(name), Alleles(nullptr, allelesCapacity) {}

TLocus::~TLocus() { Clear(); }

void TLocus::Clear() {
  Pattern.clear();
  Expression.clear();
  LinkedChromosome.clear();
  LinkedLinkageGroup.clear();
  ForwardPrimer.clear();
  ReversePrimer.clear();
  Alleles.Clear(true);
  TBioAbstract::Clear();
}

void TLocus::AssignTo(TPersistent& dest) const {
  auto* d = dynamic_cast<TLocus*>(&dest);
  if (!d) {
    TBioAbstract::AssignTo(dest);
    return;
  }
  d->Clear();
  TBioAbstract::AssignTo(dest);
  d->LocusType = LocusType;
  d->Pattern = Pattern;
  d->Expression = Expression;
  d->Linked = Linked;
  d->LinkedChromosome = LinkedChromosome;
  d->LinkedLinkageGroup = LinkedLinkageGroup;
  d->LinkedPosition = LinkedPosition;
  d->ForwardPrimer = ForwardPrimer;
  d->ReversePrimer = ReversePrimer;
  d->Alleles.SetCapacity(NbAlleles());
  for (int c = 0; c < NbAlleles(); ++c) {
    auto copy = std::make_unique<TAllele>();
    GetAllele(c)->AssignTo(*copy);
    d->Alleles.Adopt(std::move(copy));
  }
}

std::int16_t TLocus::IndexOfAllele(const std::string& name) const {
  return static_cast<std::int16_t>(Alleles.IndexOf(name));
}

std::int16_t TLocus::FindOrAddAllele(const std::string& name, std::int32_t length,
                                     std::int32_t nbRepeats, const std::string& sequence) {
  std::int16_t code = IndexOfAllele(name);
  if (code >= 0) return code;
  Alleles.Adopt(std::make_unique<TAllele>(name, length, nbRepeats, sequence));
  return static_cast<std::int16_t>(NbAlleles() - 1);
}

TAllele* TLocus::GetAllele(int code) const { return static_cast<TAllele*>(Alleles.Items(code)); }

TAllele* TLocus::GetSortedAllele(int i) const {
  return static_cast<TAllele*>(Alleles.SortedItems(i));
}

void TLocus::ReadXML(const TXMLNode& element) {
  Linked = false;
  for (int i = 0; i < element.ChildCount(); ++i) {
    const TXMLNode& child = *element.GetChild(i);
    const std::string& n = child.Name;
    if (n == "locusFullName") FullName = child.Value;
    else if (n == "locusPattern") Pattern = child.Value;
    else if (n == "locusExpression") Expression = child.Value;
    else if (n == "locusForwardPrimer") ForwardPrimer = child.Value;
    else if (n == "locusReversePrimer") ReversePrimer = child.Value;
    else if (n == "locusComments") Comments = child.Value;
    else if (n == "locusType") {
      // Codes, and also the long names this system writes, so that a saved type reads back.
      LocusType = TypeFromCode(child.Value);
      for (int t = 0; t < 3 && LocusType == TLocusType::Unknown; ++t)
        if (child.Value == TypeName(t)) LocusType = static_cast<TLocusType>(t);
    } else if (n == "locusLinked") {
      for (int k = 0; k < child.ChildCount(); ++k) {
        const TXMLNode& l = *child.GetChild(k);
        if (l.Name == "locusLinkedP") Linked = StrToBool(l.Value);
        else if (l.Name == "locusLinkedChromosome") LinkedChromosome = l.Value;
        else if (l.Name == "locusLinkedLinkageGroup") LinkedLinkageGroup = l.Value;
        else if (l.Name == "locusLinkedPosition") LinkedPosition = StrToFloat(l.Value);
      }
    } else if (n == "allelesList") {
      for (int a = 0; a < child.ChildCount(); ++a) {
        const TXMLNode& allele = *child.GetChild(a);
        if (allele.Name != "allele") continue;
        for (int k = 0; k < allele.ChildCount(); ++k) {
          if (allele.GetChild(k)->Name != "alleleName") continue;
          const std::string& name = allele.GetChild(k)->Value;
          if (name.empty()) throw EFileFormatWarning(kUnnamedAllele());
          std::int32_t length = 0, repeats = 0;
          std::string sequence;
          for (int m = 0; m < allele.ChildCount(); ++m) {
            const TXMLNode& f = *allele.GetChild(m);
            if (f.Name == "alleleLength") length = StrToInt(f.Value);
            else if (f.Name == "alleleNbRepeats") repeats = StrToInt(f.Value);
            else if (f.Name == "alleleSequence") sequence = f.Value;
          }
          FindOrAddAllele(name, length, repeats, sequence);
        }
      }
    }
  }
}
