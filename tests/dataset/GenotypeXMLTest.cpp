#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dataset/DataSetTexts.h"
#include "dataset/TextWriter.h"
#include "model/ModelTexts.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/ReaderTexts.h"

using namespace support;

namespace {

const std::string kDeclaration =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\" ?>";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The file without its 65 header lines.
std::string Body(const std::string& text) {
  size_t pos = 0;
  for (int i = 0; i < 65; ++i)
    pos = text.find('\n', pos) + 1;
  return text.substr(pos);
}

// A document with the declaration and a QUAV root holding `content`.
std::string Document(const std::string& content) {
  return kDeclaration + "\n<QUAV><fileType>genotypes</fileType>" + content + "</QUAV>\n";
}

const std::string kOneLocus = "<lociList><locus><locusName>L1</locusName><allelesList><allele>"
                              "<alleleName>120</alleleName></allele></allelesList></locus>"
                              "</lociList>";

void ExpectEmpty(const TPGDSStructure& ds) {
  EXPECT_EQ(ds.LociCount(), 0);
  EXPECT_EQ(ds.SamplesCount(), 0);
  EXPECT_EQ(ds.AllIndividuals.Count(), 0);
  EXPECT_EQ(ds.RootGroup.Members.Count(), 0);
  EXPECT_EQ(ds.FileFormat, TReadFormat::Unknown);
  EXPECT_TRUE(ds.Title.empty());
}

} // namespace

TEST(GenotypeXml, HeaderAndEmptyDataSet) {
  TPGDSStructure ds;
  const std::string text = SaveXMLText(ds);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 75u);
  EXPECT_EQ(lines[0], kDeclaration);
  EXPECT_EQ(lines[1], "<!DOCTYPE QUAV [");
  EXPECT_EQ(lines[39], "<!ELEMENT individual (individualName?,individualLongName?,individualSex?,"
                       "individualSampler?,individualSampligDate?,individualGeneration?,"
                       "individualLocalization?,individualComments?,genotype*) >");
  EXPECT_EQ(lines[52], "<!ATTLIST genotype locName CDATA #REQUIRED  >");
  EXPECT_EQ(lines[63], "<!ELEMENT includedGroup (#PCDATA) \t>");
  EXPECT_EQ(lines[64], "]>");
  EXPECT_EQ(Body(text), "<QUAV>\n<fileType>genotypes</fileType>\n<fileComments></fileComments>\n"
                        "<lociList>\n</lociList>\n<samplesList>\n</samplesList>\n"
                        "<groupsList>\n</groupsList>\n</QUAV>\n");
}

// Every element in its place, alleles in name order, missing copies as NIL; the file read back
// gives the same bytes again.
TEST(GenotypeXml, WritesEveryElementAndReadsItBack) {
  TPGDSStructure ds;
  ds.Title = "Trial";
  ds.CoordSys = "UTM";
  ds.Comments = {"first", "second"};
  TLocus* locus = AddLocus(ds, "L1");
  locus->FullName = "Locus one";
  locus->LocusType = TLocusType::LinkedMicrosatellite;
  locus->Pattern = "(CA)n";
  locus->Linked = true;
  locus->LinkedChromosome = "3";
  locus->LinkedPosition = 12.5;
  locus->ForwardPrimer = "ACGT";
  locus->ReversePrimer = "TGCA";
  locus->FindOrAddAllele("9", 150, 9, "");
  locus->FindOrAddAllele("10", 152, 10, "CA");
  TSample* pop1 = AddSample(ds, "Pop1");
  pop1->FullName = "Population one";
  pop1->SamplingDate = "2001";
  pop1->Color = 255;
  pop1->X = 1.5;
  pop1->Y = -0.25;
  pop1->Z = 1e-5;
  TIndividual* i1 = AddIndividual(ds, *pop1, "i1", {{0, 1}});
  i1->Sex = "F";
  i1->Generation = 2;
  i1->X = 0.1;
  i1->Comments = "note";
  AddIndividual(ds, *pop1, "i2", {{1, -1}});
  TSample* pop2 = AddSample(ds, "Pop2");
  auto group = std::make_unique<TGroup>("G", 1, 5);
  group->Members.Add(pop1);
  ds.RootGroup.Members.Adopt(std::move(group));
  ds.RootGroup.Members.Add(pop2);

  const std::string expected =
      "<QUAV>\n<fileType>genotypes</fileType>\n<fileTitle>Trial</fileTitle>\n"
      "<coordSys>UTM</coordSys>\n<fileComments>first\nsecond\n</fileComments>\n"
      "<lociList>\n<locus>\n<locusName>L1</locusName><locusFullName>Locus one</locusFullName>"
      "<locusType>Linked Microsatellite</locusType><locusPattern>(CA)n</locusPattern>"
      "<locusLinked>\n<locusLinkedP>-1</locusLinkedP>"
      "<locusLinkedChromosome>3</locusLinkedChromosome>"
      "<locusLinkedPosition>12.5</locusLinkedPosition></locusLinked>\n"
      "<locusForwardPrimer>ACGT</locusForwardPrimer>\n"
      "<locusReversePrimer>TGCA</locusReversePrimer><allelesList>\n"
      "<allele>\n<alleleName>10</alleleName><alleleLength>152</alleleLength>"
      "<alleleNbRepeats>10</alleleNbRepeats><alleleSequence>CA</alleleSequence></allele>\n"
      "<allele>\n<alleleName>9</alleleName><alleleLength>150</alleleLength>"
      "<alleleNbRepeats>9</alleleNbRepeats></allele>\n"
      "</allelesList>\n</locus>\n</lociList>\n"
      "<samplesList>\n<sample>\n<sampleName>Pop1</sampleName>\n"
      "<sampleFullName>Population one</sampleFullName>"
      "<sampleSamplingDate>2001</sampleSamplingDate><color>255</color><sampleLocalization>\n"
      "<sampleX>1.5</sampleX><sampleY>-0.25</sampleY><sampleZ>1E-05</sampleZ>"
      "</sampleLocalization>\n"
      "<individual>\n<individualName>i1</individualName><individualSex>F</individualSex>"
      "<individualGeneration>2</individualGeneration><individualLocalization>\n"
      "<individualX>0.1</individualX><individualY>0</individualY><individualZ>0</individualZ>"
      "</individualLocalization>\n<individualComments>note</individualComments>"
      "<genotype locName=\"L1\"><gene alName=\"9\"/><gene alName=\"10\"/></genotype>\n"
      "</individual>\n"
      "<individual>\n<individualName>i2</individualName>"
      "<individualGeneration>0</individualGeneration><individualLocalization>\n"
      "<individualX>0</individualX><individualY>0</individualY><individualZ>0</individualZ>"
      "</individualLocalization>\n"
      "<genotype locName=\"L1\"><gene alName=\"10\"/><gene alName=\"NIL\"/></genotype>\n"
      "</individual>\n</sample>\n"
      "<sample>\n<sampleName>Pop2</sampleName>\n<sampleFullName>Pop2</sampleFullName>"
      "<color>0</color><sampleLocalization>\n"
      "<sampleX>0</sampleX><sampleY>0</sampleY><sampleZ>0</sampleZ></sampleLocalization>\n"
      "</sample>\n</samplesList>\n"
      "<groupsList>\n<group>\n<groupName>G</groupName><groupFullName>G</groupFullName>\n"
      "<includedSample>Pop1</includedSample>\n</group>\n"
      "<includedSample>Pop2</includedSample>\n</groupsList>\n</QUAV>\n";
  const std::string first = SaveXMLText(ds);
  EXPECT_EQ(Body(first), expected);

  TPGDSStructure back;
  ASSERT_TRUE(LoadXMLText(back, first)) << (back.Messages.empty() ? "" : back.Messages[0]);
  EXPECT_TRUE(back.Messages.empty());
  EXPECT_EQ(back.FileFormat, TReadFormat::XMLGenotypes);
  EXPECT_EQ(back.Comments, std::vector<std::string>{"first\nsecond"});
  ASSERT_EQ(back.LociCount(), 1);
  const TLocus& l = *back.LocusAt(0);
  EXPECT_EQ(l.LocusType, TLocusType::LinkedMicrosatellite);
  EXPECT_TRUE(l.Linked);
  EXPECT_EQ(l.LinkedPosition, 12.5);
  // Codes follow the order of the file, which is name order.
  EXPECT_EQ(l.GetAllele(0)->Name, "10");
  EXPECT_EQ(l.GetAllele(1)->Sequence, "");
  ASSERT_EQ(back.SamplesCount(), 2);
  EXPECT_EQ(back.SampleAt(0)->Z, 1e-5);
  ASSERT_EQ(back.AllIndividuals.Count(), 2);
  const TIndividual& r1 = *back.AllIndividuals.Items(0);
  EXPECT_EQ(&r1, back.SampleAt(0)->Individuals.Items(0));
  EXPECT_EQ(r1.Label, "Pop1/i1");
  EXPECT_EQ(r1.GetAllele(0, 0), 1);
  EXPECT_EQ(r1.GetAllele(0, 1), 0);
  EXPECT_EQ(back.AllIndividuals.Items(1)->GetPloidy(0), 2);
  ASSERT_EQ(back.RootGroup.Members.Count(), 2);
  EXPECT_EQ(back.RootGroup.Members.Items(1), back.SampleAt(1));
  EXPECT_EQ(SaveXMLText(back), first);
}

// Markup characters in names and texts are written as references and read back unchanged.
TEST(GenotypeXml, EscapesMarkupCharacters) {
  TPGDSStructure ds;
  ds.Title = "R&D <2004>";
  TLocus* locus = AddLocus(ds, "L\"1\"");
  locus->FindOrAddAllele("a&b", 0, 0, "");
  TSample* sample = AddSample(ds, "Tom & \"Jerry\" <cat>");
  AddIndividual(ds, *sample, "x>y", {{0, 0}});
  ds.DataLoaded();
  const std::string text = SaveXMLText(ds);
  EXPECT_NE(text.find("<sampleName>Tom &amp; &quot;Jerry&quot; &lt;cat&gt;</sampleName>"),
            std::string::npos);
  EXPECT_NE(text.find("<genotype locName=\"L&quot;1&quot;\"><gene alName=\"a&amp;b\"/>"),
            std::string::npos);

  TPGDSStructure back;
  ASSERT_TRUE(LoadXMLText(back, text)) << (back.Messages.empty() ? "" : back.Messages[0]);
  EXPECT_EQ(back.Title, "R&D <2004>");
  EXPECT_EQ(back.LocusAt(0)->Name, "L\"1\"");
  EXPECT_EQ(back.SampleAt(0)->Name, "Tom & \"Jerry\" <cat>");
  EXPECT_EQ(back.AllIndividuals.Items(0)->Name, "x>y");
  EXPECT_EQ(back.LocusAt(0)->GetAllele(back.AllIndividuals.Items(0)->GetAllele(0, 0))->Name, "a&b");
  EXPECT_EQ(SaveXMLText(back), text);
  EXPECT_EQ(XMLEscape("'plain'"), "'plain'");
}

TEST(GenotypeXml, ReadsGenotypeVariants) {
  TPGDSStructure ds;
  ASSERT_TRUE(LoadXMLText(
      ds, Document(kOneLocus +
                   "<samplesList><sample><sampleName>S</sampleName><individual>"
                   "<individualName>a</individualName><individualLongName>Long a"
                   "</individualLongName><genotype locName=\"L1\"><gene alName=\"NIL\"/>"
                   "<gene alName=\"152\"/><genotypeDate>2004</genotypeDate></genotype>"
                   "</individual><individual><individualName>b</individualName>"
                   "<genotype><gene alName=\"120\"/></genotype>"
                   "<genotype locName=\"L1\"><gene alName=\"\"/><gene alName=\"x1\"/></genotype>"
                   "</individual></sample></samplesList>")));
  const TLocus& locus = *ds.LocusAt(0);
  ASSERT_EQ(locus.NbAlleles(), 3);
  // An allele met only in a genotype is declared with its name's value, 0 when not a number.
  EXPECT_EQ(locus.GetAllele(1)->Name, "152");
  EXPECT_EQ(locus.GetAllele(1)->Length, 152);
  EXPECT_EQ(locus.GetAllele(1)->NbRepeats, 152);
  EXPECT_EQ(locus.GetAllele(2)->Length, 0);
  const TIndividual& a = *ds.AllIndividuals.Items(0);
  EXPECT_EQ(a.FullName, "Long a");
  EXPECT_EQ(a.GetTypage(0).Date(), "2004");
  // The missing copy first, then one allele: one copy in all.
  EXPECT_EQ(a.GetPloidy(0), 1);
  EXPECT_EQ(a.NbAllelesTyped(0), 1);
  // A genotype without its locus attribute is skipped; an empty allele name is a missing copy.
  const TIndividual& b = *ds.AllIndividuals.Items(1);
  EXPECT_EQ(b.GetPloidy(0), 1);
  EXPECT_EQ(b.NbAllelesTyped(0), 1);
  // Without a group tree every sample joins the root, with a journal line.
  EXPECT_EQ(ds.Messages,
            std::vector<std::string>{Latin1("L'échantillon \"S\" a été ajouté au groupe racine.")});
  EXPECT_EQ(ds.RootGroup.Members.Items(0), ds.SampleAt(0));
  const std::string text = SaveXMLText(ds);
  EXPECT_NE(text.find("<genotype locName=\"L1\"><gene alName=\"152\"/></genotype>"),
            std::string::npos);
}

TEST(GenotypeXml, GroupsAndRootCompletion) {
  std::string samples = "<samplesList>";
  for (const char* name : {"P1", "P2", "P3"})
    samples += std::string("<sample><sampleName>") + name +
               "</sampleName><individual>"
               "<individualName>i</individualName><genotype locName=\"L1\"><gene alName=\"120\"/>"
               "<gene alName=\"120\"/></genotype></individual></sample>";
  samples += "</samplesList>";
  TPGDSStructure ds;
  ASSERT_TRUE(LoadXMLText(
      ds, Document(kOneLocus + samples +
                   "<groupsList><groupName>Top</groupName><group><groupName>G1</groupName>"
                   "<includedSample>P1</includedSample><includedSample>Nope</includedSample>"
                   "<group><groupName>G2</groupName><includedSample>P2</includedSample></group>"
                   "</group></groupsList>")));
  EXPECT_EQ(ds.Messages,
            (std::vector<std::string>{
                Latin1("Le sample \"Nope\" est inconnu et n'est pas ajouté aux groupes."),
                Latin1("L'échantillon \"P3\" a été ajouté au groupe racine.")}));
  EXPECT_EQ(ds.RootGroup.Name, "Top");
  ASSERT_EQ(ds.RootGroup.Members.Count(), 2);
  auto* g1 = dynamic_cast<TGroup*>(ds.RootGroup.Members.Items(0));
  ASSERT_NE(g1, nullptr);
  EXPECT_EQ(ds.RootGroup.Members.Items(1), ds.SampleAt(2));
  ASSERT_EQ(g1->Members.Count(), 2);
  EXPECT_EQ(g1->Members.Items(0), ds.SampleAt(0));
  EXPECT_EQ(ds.RootGroup.FindGroup("P2"), ds.SampleAt(1));
  // Groups are tallied over the individuals of their members.
  EXPECT_EQ(g1->NbIndividuals(), 2);
  EXPECT_EQ(g1->NbGenes(0), 4);
  EXPECT_EQ(ds.RootGroup.NbIndividuals(), 3);
}

TEST(GenotypeXml, LoadFailures) {
  const std::string individual = "<samplesList><sample><sampleName>S</sampleName><individual>"
                                 "<individualName>i1</individualName>";
  const struct {
    std::string text;
    std::string message; // UTF-8
  } cases[] = {
      {"<QUAV><fileType>genotypes</fileType></QUAV>", "Fichier non XML."},
      {kDeclaration + "<quav/>", "Noeud <QUAV> manquant."},
      {kDeclaration + "<QUAV><fileType>haplotypes</fileType></QUAV>",
       "Ce fichier ne contient pas de génotypes."},
      {Document("<lociList><locus><locusName></locusName></locus></lociList>"), "Locus non nommé."},
      {Document("<lociList><locus><locusName>L1</locusName><allelesList><allele><alleleName/>"
                "</allele></allelesList></locus></lociList>"),
       "Allèle non nommé."},
      {Document(kOneLocus + individual + "<genotype locName=\"L9\"/></individual></sample>" +
                "</samplesList>"),
       "Locus \"L9\" typé mais non déclaré."},
      {Document(kOneLocus + individual + "<genotype locName=\"L1\"><gene/></genotype>" +
                "</individual></sample></samplesList>"),
       "Le génotype \"L1\" est incorrect et est supprimé de l'individu \"i1\""},
      {Document(kOneLocus + "<samplesList><sample><color>red</color></sample></samplesList>"),
       Utf8(Format(kNotAnInteger(), "red"))},
      {Document("<fileTitle>R&D;</fileTitle>"), "Référence non reconnue"},
      {Document(kOneLocus).substr(0, 120), "Fin prématurée des données"},
  };
  for (const auto& c : cases) {
    TPGDSStructure ds;
    ds.Title = "previous content";
    EXPECT_FALSE(LoadXMLText(ds, c.text)) << c.text;
    ASSERT_EQ(ds.Messages.size(), 1u) << c.text;
    EXPECT_EQ(ds.Messages[0], Latin1("Fichier XML incorrect : " + c.message));
    ExpectEmpty(ds);
  }
  SetDataSetLanguage(lang::English);
  TPGDSStructure ds;
  EXPECT_FALSE(LoadXMLText(ds, cases[0].text));
  SetDataSetLanguage(lang::French);
  EXPECT_EQ(ds.Messages, std::vector<std::string>{"Incorrect XML file : Not a XML file."});
}

TEST(GenotypeXml, ProgressAndStop) {
  TPGDSStructure source;
  MakeSmallDataSet(source);
  const std::string text = SaveXMLText(source);

  // Parsing reports 0 to 75, then the loci 75 to 81, the samples 81 to 90, the groups 90 to 100.
  TPGDSStructure ds;
  std::vector<int> seen;
  ds.onDataStructureEvent = [&seen](TLogger&, int progression, bool&) {
    seen.push_back(progression);
  };
  ASSERT_TRUE(LoadXMLText(ds, text));
  const auto groups = std::find_if(seen.begin(), seen.end(), [](int p) { return p > 90; });
  EXPECT_TRUE(std::is_sorted(seen.begin(), groups));
  for (int value : {74, 75, 78, 81, 86, 90, 95, 100})
    EXPECT_NE(std::find(seen.begin(), seen.end(), value), seen.end()) << value;
  EXPECT_EQ(seen.back(), 100);

  // A stop while the tree is read fails the load with the stop message.
  for (int from : {76, 82, 91}) {
    TPGDSStructure stopped;
    stopped.onDataStructureEvent = [from](TLogger&, int progression, bool& stop) {
      stop = progression >= from;
    };
    EXPECT_FALSE(LoadXMLText(stopped, text));
    EXPECT_EQ(stopped.Messages,
              std::vector<std::string>{Latin1("Fichier XML incorrect : Lecture du fichier arrêtée "
                                              "à la demande de l'utilisateur ")});
    ExpectEmpty(stopped);
  }
  // A stop answered once the text is parsed ends the load quietly.
  TPGDSStructure quiet;
  int calls75 = 0;
  quiet.onDataStructureEvent = [&calls75](TLogger&, int progression, bool& stop) {
    stop = progression == 75 && ++calls75 == 2;
  };
  EXPECT_FALSE(LoadXMLText(quiet, text));
  EXPECT_TRUE(quiet.Messages.empty());
  ExpectEmpty(quiet);
}
