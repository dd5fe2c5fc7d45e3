// The genotype XML file: the system's own file of a whole data set (loci with their alleles,
// samples with their individuals and genotypes, the group tree), root element QUAV.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "model/Convert.h"
#include "model/ModelTexts.h"
#include "xml/XMLNode.h"
#include "xml/XMLReader.h"

namespace {

// The document type written at the top of every file; readers ignore it.
const char* const kHeader[] = {
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\" ?>",
    "<!DOCTYPE QUAV [",
    "<!ELEMENT QUAV (fileType, fileTitle?, coordSysName?, coordSys?, fileComments?, lociList,"
    " samplesList, groupsList?) >",
    "<!ELEMENT fileType (#PCDATA) >",
    "<!ELEMENT fileTitle (#PCDATA) >",
    "<!ELEMENT coordSysName (#PCDATA) >",
    "<!ELEMENT coordSys (#PCDATA) >",
    "<!ELEMENT fileComments (#PCDATA) >",
    "<!ELEMENT lociList (locus*) >",
    "<!ELEMENT locus (locusName,locusFullName?,locusType?,locusPattern?,locusExpression?,"
    "locusLinked?,locusForwardPrimer?,locusReversePrimer?,locusComments?,allelesList) >",
    "<!ELEMENT locusName (#PCDATA) >",
    "<!ELEMENT locusFullName (#PCDATA) >",
    "<!ELEMENT locusType (#PCDATA) >",
    "<!ELEMENT locusPattern (#PCDATA) >",
    "<!ELEMENT locusExpression (#PCDATA) >",
    "<!ELEMENT locusLinked (locusLinkedChromosome,locusLinkedLinkageGroup,locusLinkedPosition) >",
    "<!ELEMENT locusLinkedChromosome (#PCDATA) >",
    "<!ELEMENT locusLinkedLinkageGroup (#PCDATA) >",
    "<!ELEMENT locusLinkedPosition (#PCDATA) >",
    "<!ELEMENT locusForwardPrimer (#PCDATA) >",
    "<!ELEMENT locusReversePrimer (#PCDATA) >",
    "<!ELEMENT locusComments (#PCDATA) >",
    "<!ELEMENT allelesList (allele*) >",
    "<!ELEMENT allele (alleleName,alleleLength?,alleleNbRepeats?,alleleSequence?) >",
    "<!ELEMENT alleleName (#PCDATA) >",
    "<!ELEMENT alleleLength (#PCDATA) >",
    "<!ELEMENT alleleNbRepeats (#PCDATA) >",
    "<!ELEMENT alleleSequence (#PCDATA) >",
    "<!ELEMENT samplesList (sample*) >",
    "<!ELEMENT sample (sampleName,sampleFullName?,sampleSampler?,sampleSamplingDate?,"
    "sampleLocalization?,sampleComments?,individual*) >",
    "<!ELEMENT sampleName (#PCDATA) >",
    "<!ELEMENT sampleFullName (#PCDATA) >",
    "<!ELEMENT sampleSampler (#PCDATA) >",
    "<!ELEMENT sampleSamplingDate (#PCDATA) >",
    "<!ELEMENT sampleLocalization (sampleX,sampleY,sampleZ?) >",
    "<!ELEMENT sampleX (#PCDATA) >",
    "<!ELEMENT sampleY (#PCDATA) >",
    "<!ELEMENT sampleZ (#PCDATA) >",
    "<!ELEMENT sampleComments (#PCDATA) >",
    "<!ELEMENT individual (individualName?,individualLongName?,individualSex?,"
    "individualSampler?,individualSampligDate?,individualGeneration?,individualLocalization?,"
    "individualComments?,genotype*) >",
    "<!ELEMENT individualName (#PCDATA) >",
    "<!ELEMENT individualLongName (#PCDATA) >",
    "<!ELEMENT individualSex (#PCDATA) >",
    "<!ELEMENT individualSampler (#PCDATA) >",
    "<!ELEMENT individualSampligDate (#PCDATA) >",
    "<!ELEMENT individualGeneration (#PCDATA) >",
    "<!ELEMENT individualLocalization (individualX,individualY,individualZ?) >",
    "<!ELEMENT individualX (#PCDATA) >",
    "<!ELEMENT individualY (#PCDATA) >",
    "<!ELEMENT individualZ (#PCDATA) >",
    "<!ELEMENT individualComments (#PCDATA) >",
    "<!ELEMENT genotype (genotypeDate?,genotypeLog?,gene*) >",
    "<!ATTLIST genotype locName CDATA #REQUIRED  >",
    "<!ELEMENT genotypeDate (#PCDATA) >",
    "<!ELEMENT genotypeLog (#PCDATA) >",
    "<!ELEMENT gene EMPTY >",
    "<!ATTLIST gene alName CDATA #REQUIRED >",
    "<!ELEMENT groupsList (group*,includedSample*,includedGroup*) >",
    "<!ELEMENT group (groupName,groupFullName?,groupComments?,includedSample*,includedGroup*) >",
    "<!ELEMENT groupName (#PCDATA) >",
    "<!ELEMENT groupFullName (#PCDATA) >",
    "<!ELEMENT groupComments (#PCDATA) >",
    "<!ELEMENT includedSample (#PCDATA) >",
    "<!ELEMENT includedGroup (#PCDATA) \t>",
    "]>",
};

// ---- writing

std::string Element(const std::string& name, const std::string& value) {
  return "<" + name + ">" + XMLEscape(value) + "</" + name + ">";
}

// The element, only when it has a value.
void WriteTextIfAny(std::ostream& out, const std::string& name, const std::string& value) {
  if (!value.empty()) WriteText(out, Element(name, value));
}

void WriteAllele(std::ostream& out, const TAllele& allele) {
  WriteLine(out, "<allele>");
  WriteTextIfAny(out, "alleleName", allele.Name);
  WriteText(out, Element("alleleLength", std::to_string(allele.Length)));
  WriteText(out, Element("alleleNbRepeats", std::to_string(allele.NbRepeats)));
  WriteTextIfAny(out, "alleleSequence", allele.Sequence);
  WriteLine(out, "</allele>");
}

void WriteLocus(std::ostream& out, const TLocus& locus) {
  WriteLine(out, "<locus>");
  WriteTextIfAny(out, "locusName", locus.Name);
  WriteTextIfAny(out, "locusFullName", locus.FullName);
  WriteText(out, Element("locusType", TypeName(static_cast<int>(locus.LocusType))));
  WriteTextIfAny(out, "locusPattern", locus.Pattern);
  WriteTextIfAny(out, "locusExpression", locus.Expression);
  if (locus.Linked) {
    WriteLine(out, "<locusLinked>");
    WriteText(out, Element("locusLinkedP", "-1"));
    WriteTextIfAny(out, "locusLinkedChromosome", locus.LinkedChromosome);
    WriteTextIfAny(out, "locusLinkedLinkageGroup", locus.LinkedLinkageGroup);
    WriteText(out, Element("locusLinkedPosition", FloatToStr(locus.LinkedPosition)));
    WriteLine(out, "</locusLinked>");
  }
  if (!locus.ForwardPrimer.empty())
    WriteLine(out, Element("locusForwardPrimer", locus.ForwardPrimer));
  WriteTextIfAny(out, "locusReversePrimer", locus.ReversePrimer);
  WriteTextIfAny(out, "locusComments", locus.Comments);
  // By name, so that a file read back numbers its alleles in name order.
  WriteLine(out, "<allelesList>");
  for (int i = 0; i < locus.NbAlleles(); ++i)
    WriteAllele(out, *locus.GetSortedAllele(i));
  WriteLine(out, "</allelesList>");
  WriteLine(out, "</locus>");
}

void WriteIndividual(std::ostream& out, const TVectorLoci& loci, const TIndividual& individual) {
  WriteLine(out, "<individual>");
  WriteTextIfAny(out, "individualName", individual.Name);
  WriteTextIfAny(out, "individualSex", individual.Sex);
  WriteTextIfAny(out, "individualSampler", individual.Sampler);
  WriteTextIfAny(out, "individualSamplingDate", individual.SamplingDate);
  WriteText(out, Element("individualGeneration", std::to_string(individual.Generation)));
  WriteLine(out, "<individualLocalization>");
  WriteText(out, Element("individualX", FloatToStr(individual.X)));
  WriteText(out, Element("individualY", FloatToStr(individual.Y)));
  WriteText(out, Element("individualZ", FloatToStr(individual.Z)));
  WriteLine(out, "</individualLocalization>");
  WriteTextIfAny(out, "individualComments", individual.Comments);
  for (int i = 0; i < loci.Count(); ++i) {
    const TLocus& locus = *loci.Items(i);
    // Names as the reader sees them in the elements that declare them (trimmed), so that the
    // genotypes find their locus and their alleles again.
    if (!locus.Name.empty())
      WriteText(out, "<genotype locName=\"" + XMLEscape(Trim(locus.Name)) + "\">");
    // Every copy of the ploidy: the missing ones as NIL.
    for (int j = 0; j < individual.GetPloidy(i); ++j) {
      const std::int16_t code = individual.GetAllele(i, j);
      const std::string name = code == -1 ? std::string("NIL") : Trim(locus.GetAllele(code)->Name);
      WriteText(out, "<gene alName=\"" + XMLEscape(name) + "\"/>");
    }
    WriteLine(out, "</genotype>");
  }
  WriteLine(out, "</individual>");
}

void WriteSample(std::ostream& out, const TVectorLoci& loci, const TSample& sample) {
  WriteLine(out, "<sample>");
  if (!sample.Name.empty()) WriteLine(out, Element("sampleName", sample.Name));
  WriteTextIfAny(out, "sampleFullName", sample.FullName);
  WriteTextIfAny(out, "sampleSampler", sample.Sampler);
  WriteTextIfAny(out, "sampleSamplingDate", sample.SamplingDate);
  WriteTextIfAny(out, "sampleComments", sample.Comments);
  WriteText(out, Element("color", std::to_string(sample.Color)));
  WriteLine(out, "<sampleLocalization>");
  WriteText(out, Element("sampleX", FloatToStr(sample.X)));
  WriteText(out, Element("sampleY", FloatToStr(sample.Y)));
  WriteText(out, Element("sampleZ", FloatToStr(sample.Z)));
  WriteLine(out, "</sampleLocalization>");
  for (int i = 0; i < sample.Individuals.Count(); ++i)
    WriteIndividual(out, loci, *sample.Individuals.Items(i));
  WriteLine(out, "</sample>");
}

// The members of a group of the tree: samples by name, sub-groups in full.
void WriteGroupMembers(std::ostream& out, const TGroup& group) {
  for (int i = 0; i < group.Members.Count(); ++i) {
    const TGroupAbstract& member = *group.Members.Items(i);
    if (member.IsSample()) {
      WriteLine(out, Element("includedSample", member.Name));
      continue;
    }
    const auto* sub = dynamic_cast<const TGroup*>(&member);
    if (!sub) continue;
    const TGroup& subGroup = *sub;
    WriteLine(out, "<group>");
    WriteTextIfAny(out, "groupName", subGroup.Name);
    WriteTextIfAny(out, "groupFullName", subGroup.FullName);
    WriteTextIfAny(out, "groupComments", subGroup.Comments);
    WriteLine(out);
    WriteGroupMembers(out, subGroup);
    WriteLine(out, "</group>");
  }
}

// The genotypes of the file name their locus; the reader trims the names of the elements. A
// locus whose name is empty once trimmed, or the same as another's, could not be told apart on
// reading: its genotypes would be lost or go to the other locus. Such a data set is refused
// before anything is written.
void CheckLocusNames(const TVectorLoci& loci) {
  std::unordered_set<std::string> names;
  for (int i = 0; i < loci.Count(); ++i) {
    const std::string name = Trim(loci.Items(i)->Name);
    if (name.empty()) throw EFileWritingError(kUnnamedLocusNotWritten());
    if (!names.insert(name).second)
      throw EFileWritingError(Format(kLocusNameTwiceNotWritten(), name.c_str()));
  }
}

// ---- reading

// Largest file the XML reader can address with its 32-bit positions.
constexpr std::int64_t kMostXMLBytes = std::numeric_limits<std::int32_t>::max() - 1;
// Allele codes are 16-bit, -1 standing for no allele.
constexpr int kMostAllelesPerLocus = std::numeric_limits<std::int16_t>::max();
// Ploidies are 8-bit.
constexpr int kMostCopiesPerGenotype = std::numeric_limits<std::uint8_t>::max();

[[noreturn]] void TooLarge() {
  throw EFileFormatWarning(Format(kXMLFileTooLarge(), std::to_string(kMostXMLBytes).c_str()));
}

bool IsXMLWhitespace(char c) {
  return c == 9 || c == 10 || c == 13 || c == 32;
}

// The bytes of the stream, from its beginning. A document starts with "<" once white space is
// skipped: when the first other byte is not "<", only the bytes up to that one are taken, which
// the parser refuses exactly as it would the whole file, so that a large file of another format
// is never held in memory.
std::string ReadXMLText(std::istream& in) {
  in.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.clear();
  in.seekg(0);
  if (size > kMostXMLBytes) TooLarge();
  std::string text;
  bool started = false;
  std::array<char, 65536> buffer;
  for (;;) {
    const std::streamsize n = in.rdbuf()->sgetn(buffer.data(), buffer.size());
    if (n <= 0) break;
    const std::size_t before = text.size();
    text.append(buffer.data(), static_cast<std::size_t>(n));
    if (static_cast<std::int64_t>(text.size()) > kMostXMLBytes) TooLarge();
    if (started) continue;
    auto first = std::find_if_not(text.begin() + static_cast<std::ptrdiff_t>(before), text.end(),
                                  IsXMLWhitespace);
    if (first == text.end()) continue;
    if (*first != '<') {
      text.erase(first + 1, text.end());
      break;
    }
    started = true;
    if (size > 0) text.reserve(static_cast<std::size_t>(size));
  }
  return text;
}

// The alleles a locus of the document can end up with are those its allele list declares and
// those its genotypes name. A locus with more alleles than codes can number, or a genotype with
// more copies than a ploidy can count, is refused before anything is built from the tree.
void CheckCodeLimits(const TXMLNode& root) {
  std::unordered_map<std::string, std::unordered_set<std::string>> alleles;
  auto add = [&alleles](const std::string& locus, const std::string& allele) {
    auto& names = alleles[locus];
    names.insert(allele);
    if (static_cast<int>(names.size()) > kMostAllelesPerLocus)
      throw EFileFormatWarning(Format(kTooManyAlleles(), locus.c_str(), kMostAllelesPerLocus));
  };
  const TXMLNode* lociList = nullptr;
  const TXMLNode* samplesList = nullptr;
  for (const auto& child : root.Children) {
    if (child->Name == "lociList") lociList = child.get();
    if (child->Name == "samplesList") samplesList = child.get();
  }
  if (lociList)
    for (const auto& locus : lociList->Children)
      for (const auto& name : locus->Children) {
        if (name->Name != "locusName" || name->Value.empty()) continue;
        for (const auto& list : locus->Children) {
          if (list->Name != "allelesList") continue;
          for (const auto& allele : list->Children)
            for (const auto& alleleName : allele->Children)
              if (alleleName->Name == "alleleName" && !alleleName->Value.empty())
                add(name->Value, alleleName->Value);
        }
      }
  if (!samplesList) return;
  for (const auto& sample : samplesList->Children)
    for (const auto& individual : sample->Children) {
      if (individual->Name != "individual") continue;
      std::unordered_map<std::string, int> copies;
      std::string individualName;
      for (const auto& genotype : individual->Children) {
        if (genotype->Name == "individualName") individualName = genotype->Value;
        if (genotype->Name != "genotype" || genotype->Children.empty() ||
            genotype->Children[0]->Kind != TXMLNodeKind::Attribute ||
            genotype->Children[0]->Name != "locName")
          continue;
        const std::string& locus = genotype->Children[0]->Value;
        for (const auto& gene : genotype->Children) {
          if (gene->Name != "gene" || gene->Children.empty()) continue;
          if (++copies[locus] > kMostCopiesPerGenotype)
            throw EFileFormatWarning(
                Format(kIncorrectGenotype(), locus.c_str(), individualName.c_str()));
          const std::string& allele = gene->Children[0]->Value;
          if (!allele.empty() && allele != "NIL") add(locus, allele);
        }
      }
    }
}

// Adds to the root every sample that the tree does not reach: FindGroup finds the root by its
// own name and every member of the tree by its name, so the names reached are gathered once
// (instead of searching the tree again for every sample).
void CompleteRoot(TPGDSStructure& ds) {
  std::unordered_set<std::string> reached{ds.RootGroup.Name};
  std::vector<const TGroup*> pending{&ds.RootGroup};
  while (!pending.empty()) {
    const TGroup* group = pending.back();
    pending.pop_back();
    for (int i = 0; i < group->Members.Count(); ++i) {
      const TGroupAbstract* member = group->Members.Items(i);
      reached.insert(member->Name);
      if (const auto* sub = dynamic_cast<const TGroup*>(member)) pending.push_back(sub);
    }
  }
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    TSample* sample = ds.SampleAt(s);
    if (!reached.insert(sample->Name).second) continue;
    ds.RootGroup.Members.Add(sample);
    ds.Messages.push_back(Format(kSampleAddedToRoot(), sample->Name.c_str()));
  }
}

// Reads the document into the data set; false when the user stopped the load.
bool ReadDocument(TPGDSStructure& ds, std::istream& in) {
  std::string text = ReadXMLText(in);

  std::unique_ptr<TXMLNode> document;
  bool stopped = false;
  {
    TXMLStringReader reader(std::move(text));
    reader.OnProgress = [&ds, &stopped](TXMLReader& sender, int percent, bool& abort) {
      ds.XMLProgress(sender, percent, abort);
      stopped = stopped || abort;
    };
    document = reader.ParseDocument();
  }
  if (stopped) return false;

  // The first node is the XML declaration, the second the root element.
  if (document->ChildCount() < 2) throw EFileFormatWarning(kNotXMLFile());
  const TXMLNode& root = *document->GetChild(1);

  ds.Clear();
  ds.Progression = 75;
  if (ds.DoEvent()) return false;

  if (root.Kind != TXMLNodeKind::Element || root.Name != "QUAV")
    throw EFileFormatWarning(kQUAVNodeMissing());
  for (const auto& child : root.Children)
    if (child->Kind == TXMLNodeKind::Element && child->Name == "fileType" &&
        child->Value != "genotypes")
      throw EFileFormatWarning(kNoGenotypes());

  const TXMLNode* lociList = nullptr;
  const TXMLNode* samplesList = nullptr;
  const TXMLNode* groupsList = nullptr;
  for (const auto& child : root.Children) {
    if (child->Kind != TXMLNodeKind::Element) continue;
    const std::string& name = child->Name;
    if (name == "fileTitle")
      ds.Title = child->Value;
    else if (name == "coordSysName")
      ds.CoordSysName = child->Value;
    else if (name == "coordSys")
      ds.CoordSys = child->Value;
    // An empty element is how a data set without comments is written: it adds no line.
    else if (name == "fileComments") {
      if (!child->Value.empty()) ds.Comments.push_back(child->Value);
    } else if (name == "lociList")
      lociList = child.get();
    else if (name == "samplesList")
      samplesList = child.get();
    else if (name == "groupsList")
      groupsList = child.get();
  }

  CheckCodeLimits(root);
  if (lociList) ds.Loci.ReadXML(ds, *lociList);
  if (samplesList) {
    ds.SamplesGroup.SetNbLoci(ds.LociCount());
    ds.SamplesGroup.ReadSamplesList(ds, ds.Loci, *samplesList);
  }
  // The samples own the individuals read with them; AllIndividuals refers to them.
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TSample& sample = *ds.SampleAt(s);
    for (int i = 0; i < sample.Individuals.Count(); ++i)
      ds.AllIndividuals.Add(sample.Individuals.Items(i));
  }
  if (groupsList) {
    ds.RootGroup.SetNbLoci(ds.LociCount());
    ds.RootGroup.ReadXML(ds, ds.Loci, *groupsList, ds.SamplesGroup);
  }
  // Every sample must be reachable from the root.
  CompleteRoot(ds);

  ds.FileFormat = TReadFormat::XMLGenotypes;
  ds.DataLoaded();
  return true;
}

} // namespace

void SaveXML(const TPGDSStructure& ds, std::ostream& out) {
  CheckLocusNames(ds.Loci);
  for (const char* line : kHeader)
    WriteLine(out, line);
  WriteLine(out, "<QUAV>");
  WriteLine(out, Element("fileType", "genotypes"));
  if (!ds.Title.empty()) WriteLine(out, Element("fileTitle", ds.Title));
  if (!ds.CoordSysName.empty()) WriteLine(out, Element("coordSysName", ds.CoordSysName));
  if (!ds.CoordSys.empty()) WriteLine(out, Element("coordSys", ds.CoordSys));
  WriteText(out, "<fileComments>");
  for (const std::string& line : ds.Comments)
    WriteLine(out, XMLEscape(line));
  WriteLine(out, "</fileComments>");

  WriteLine(out, "<lociList>");
  for (int i = 0; i < ds.LociCount(); ++i)
    WriteLocus(out, *ds.LocusAt(i));
  WriteLine(out, "</lociList>");

  WriteLine(out, "<samplesList>");
  for (int i = 0; i < ds.SamplesCount(); ++i)
    WriteSample(out, ds.Loci, *ds.SampleAt(i));
  WriteLine(out, "</samplesList>");

  WriteLine(out, "<groupsList>");
  WriteGroupMembers(out, ds.RootGroup);
  WriteLine(out, "</groupsList>");
  WriteLine(out, "</QUAV>");
}

bool LoadXML(TPGDSStructure& ds, std::istream& in) {
  try {
    if (ReadDocument(ds, in)) return true;
  } catch (const std::exception& e) {
    ds.Messages.push_back(Format(kIncorrectXMLFile(), e.what()));
  }
  ds.Clear();
  return false;
}
