#include <gtest/gtest.h>

#include "base/Logger.h"
#include "base/Errors.h"
#include "model/Group.h"
#include "model/Individual.h"
#include "model/Locus.h"
#include "model/Sample.h"
#include "base/Texts.h"
#include "xml/XMLReader.h"

namespace {

std::unique_ptr<TXMLNode> Parse(const std::string& text) {
  TXMLStringReader reader(text);
  return reader.ParseDocument();
}

const TXMLNode& Root(const TXMLNode& doc) { return *doc.GetChild(doc.ChildCount() - 1); }

struct Recorder : TLogger {
  std::vector<int> progress;
  int stopAfter = -1;
  bool DoEvent() override {
    progress.push_back(Progression);
    if (stopAfter >= 0 && static_cast<int>(progress.size()) > stopAfter) Stop = true;
    return Stop;
  }
};

const char* kSamples = "<samplesList>"
                       "<sample><sampleName>A</sampleName><color>3</color>"
                       "<sampleLocalization><sampleX>1.5</sampleX></sampleLocalization>"
                       "<individual><individualName>a1</individualName>"
                       "<genotype locName=\"L1\"><gene alName=\"NIL\"/><gene alName=\"152\"/>"
                       "</genotype></individual></sample>"
                       "<sample><sampleName>B</sampleName></sample>"
                       "<sample><sampleName>C</sampleName></sample>"
                       "<sample><sampleFullName>long</sampleFullName><sampleName>D</sampleName>"
                       "</sample></samplesList>";

TEST(GroupXml, ReadsSamplesWithProgress) {
  TVectorLoci loci;
  loci.Adopt(std::make_unique<TLocus>("L1", 5));
  auto doc = Parse(kSamples);
  Recorder log;
  TGroup samples("samples", 0, 20);
  samples.ReadSamplesList(log, loci, Root(*doc));
  ASSERT_EQ(samples.Members.Count(), 4);
  auto* a = dynamic_cast<TSample*>(samples.Members.Items(0));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Color, 3);
  EXPECT_EQ(a->X, 1.5);
  ASSERT_EQ(a->NbIndividuals(), 1);
  TIndividual* a1 = a->Individuals.Items(0);
  EXPECT_EQ(a1->Label, "A/a1");
  EXPECT_EQ(a1->GetPloidy(0), 1); // NIL first, then an allele
  EXPECT_EQ(a1->NbAllelesTyped(0), 1);
  EXPECT_EQ(loci.Items(0)->GetAllele(0)->Length, 152); // undeclared allele created
  EXPECT_EQ(samples.Members.Items(3)->FullName, "D"); // the last of the two written wins
  // The progress of each sample read: 81 + round((i + 1) * 9.5) div 4.
  std::vector<int> perSample;
  for (int p : log.progress)
    if (perSample.empty() || perSample.back() != p) perSample.push_back(p);
  EXPECT_EQ(perSample, (std::vector<int>{83, 85, 88, 90}));
}

TEST(GroupXml, StopWhileReadingSamples) {
  TVectorLoci loci;
  loci.Adopt(std::make_unique<TLocus>("L1", 5));
  auto doc = Parse(kSamples);
  Recorder log;
  log.stopAfter = 2;
  TGroup samples("samples", 0, 20);
  try {
    samples.ReadSamplesList(log, loci, Root(*doc));
    FAIL();
  } catch (const EFileFormatWarning& e) {
    EXPECT_EQ(e.what(), Latin1("Lecture du fichier arrêtée à la demande de l'utilisateur "));
  }
  samples.Clear(true);
}

TEST(GroupXml, GroupsReferenceSamplesAndLogUnknownOnes) {
  TVectorLoci loci;
  loci.Adopt(std::make_unique<TLocus>("L1", 5));
  auto doc = Parse(kSamples);
  Recorder log;
  TGroup samples("samples", 0, 20);
  samples.ReadSamplesList(log, loci, Root(*doc));
  auto groups = Parse("<groupsList><group><groupName>G1</groupName>"
                      "<includedSample>A</includedSample><includedSample>Z</includedSample>"
                      "<group><groupName>G2</groupName><includedSample>B</includedSample>"
                      "</group><includedGroup>G9</includedGroup></group>"
                      "<includedSample>C</includedSample></groupsList>");
  TGroup root("Root", 0, 20);
  log.progress.clear();
  root.ReadXML(log, loci, Root(*groups), samples);
  ASSERT_EQ(root.Members.Count(), 2);
  auto* g1 = dynamic_cast<TGroup*>(root.Members.Items(0));
  ASSERT_NE(g1, nullptr);
  EXPECT_EQ(g1->Name, "G1");
  ASSERT_EQ(g1->Members.Count(), 2);
  EXPECT_EQ(g1->Members.Items(0), samples.Members.Items(0)); // a reference, not a copy
  EXPECT_EQ(root.FindGroup("G2"), g1->Members.Items(1));
  EXPECT_EQ(root.FindGroup("B"), samples.Members.Items(1));
  EXPECT_EQ(root.Members.Items(1), samples.Members.Items(2));
  ASSERT_EQ(log.Messages.size(), 1u);
  EXPECT_EQ(log.Messages[0], "Le sample \"Z\" est inconnu et n'est pas ajout\xE9 aux groupes.");
  for (int p : log.progress) {
    EXPECT_GE(p, 90);
    EXPECT_LE(p, 100);
  }
  EXPECT_EQ(log.progress.back(), 100);

  // A stop while reading groups is an error of the load.
  Recorder stopping;
  stopping.stopAfter = 0;
  TGroup other("Root", 0, 20);
  EXPECT_THROW(other.ReadXML(stopping, loci, Root(*groups), samples), EFileFormatError);
}

TEST(GroupXml, BadGenotypesAndNumbers) {
  TVectorLoci loci;
  loci.Adopt(std::make_unique<TLocus>("L1", 5));
  Recorder log;
  auto undeclared = Parse("<sample><individual><individualName>i</individualName>"
                          "<genotype locName=\"L9\"><gene alName=\"1\"/></genotype>"
                          "</individual></sample>");
  TSample s;
  try {
    s.ReadXML(log, loci, Root(*undeclared), 0);
    FAIL();
  } catch (const EFileFormatWarning& e) {
    EXPECT_EQ(e.what(), Latin1("Locus \"L9\" typé mais non déclaré."));
  }
  auto broken = Parse("<sample><individual><individualName>i</individualName>"
                      "<genotype locName=\"L1\"><gene/></genotype></individual></sample>");
  TSample s2;
  try {
    s2.ReadXML(log, loci, Root(*broken), 0);
    FAIL();
  } catch (const EFileFormatWarning& e) {
    EXPECT_EQ(e.what(),
              Latin1("Le génotype \"L1\" est incorrect et est supprimé de l'individu \"i\""));
  }
  auto badColor = Parse("<sample><color>red</color></sample>");
  TSample s3;
  EXPECT_THROW(s3.ReadXML(log, loci, Root(*badColor), 0), EConvertError);
  // A genotype whose first child is not the locus attribute is skipped.
  auto skipped = Parse("<sample><individual><genotype><gene alName=\"1\"/></genotype>"
                       "</individual></sample>");
  TSample s4;
  s4.ReadXML(log, loci, Root(*skipped), 0);
  EXPECT_EQ(s4.Individuals.Items(0)->NbAllelesTyped(0), 0);
  s.Clear(true);
  s2.Clear(true);
}

} // namespace
