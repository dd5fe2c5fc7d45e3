// The genotype XML file: the system's own file of a whole data set (loci with their alleles,
// samples with their individuals and genotypes, the group tree), root element QUAV.
#include <iterator>
#include <memory>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "dataset/TextWriter.h"
#include "model/Convert.h"
#include "model/Errors.h"
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
    if (!locus.Name.empty()) WriteText(out, "<genotype locName=\"" + XMLEscape(locus.Name) + "\">");
    // Every copy of the ploidy: the missing ones as NIL.
    for (int j = 0; j < individual.GetPloidy(i); ++j) {
      const std::int16_t code = individual.GetAllele(i, j);
      const std::string name = code == -1 ? std::string("NIL") : locus.GetAllele(code)->Name;
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

// ---- reading

// Reads the document into the data set; false when the user stopped the load.
bool ReadDocument(TPGDSStructure& ds, std::istream& in) {
  in.clear();
  in.seekg(0);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

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
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    TSample* sample = ds.SampleAt(s);
    if (ds.RootGroup.FindGroup(sample->Name)) continue;
    ds.RootGroup.Members.Add(sample);
    ds.Messages.push_back(Format(kSampleAddedToRoot(), sample->Name.c_str()));
  }

  ds.FileFormat = readfmt::XMLGenotypes;
  ds.DataLoaded();
  return true;
}

} // namespace

void SaveXML(const TPGDSStructure& ds, std::ostream& out) {
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
