#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "model/ModelTexts.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/ScratchFolder.h"

namespace {

template <class F> std::string Output(F write) {
  std::ostringstream out;
  write(out);
  return out.str();
}

} // namespace

// The small data set: locus A with alleles 120 (60 repeats) and 124 (62), locus B with 8;
// P1 = i1 (120/124, 8/8) and i2 (120/120, missing), P2 = i3 (124/124, 8 and a missing copy).
TEST(ExportsArlequin, OneSampleOfSizeOnePerIndividual) {
  TPGDSStructure ds;
  support::MakeSmallDataSet(ds);
  support::AddLocus(ds, "C")->FindOrAddAllele("long", 1000, 0, "");
  for (int i = 0; i < ds.AllIndividuals.Count(); ++i)
    ds.AllIndividuals.Items(i)->SetNbTypages(1);
  ds.AllIndividuals.Items(0)->AddGene(2, 0);
  const std::string sample = "    SampleName=\"%s\"\n    SampleSize=1\n    SampleData= {\n"
                             "        Genot    1   %s\n                     %s\n    }\n";
  EXPECT_EQ(Output([&](std::ostream& out) { WriteArlequin(ds, out); }),
            "[Profile]\n  Title=\"Small\"\n  NbSamples=3\n  GenotypicData=1\n  GameticPhase=0\n"
            "  DataType=MICROSAT\n  LocusSeparator=WHITESPACE\n[Data]\n  [[Samples]]\n" +
                Format(sample, "i1", " 120 008 1000", " 124 008   ?") +
                Format(sample, "i2", " 120   ?   ?", " 120   ?   ?") +
                Format(sample, "i3", " 124 008   ?", " 124   ?   ?") +
                "[[Structure]]\n    StructureName=\"Populations\"\n    NbGroups=2\n"
                "    IndividualLevel=1\n    Group={\n         \"i1\"\n         \"i2\"\n    }\n"
                "    Group={\n         \"i3\"\n    }\n");
}

TEST(ExportsMne, AlleleCountsInFiveColumns) {
  TPGDSStructure ds;
  support::MakeSmallDataSet(ds);
  EXPECT_EQ(Output([&](std::ostream& out) { WriteMNE(ds, out, 1, 2, 9000); }),
            "1\n2\n9000\n2\n2,1\n2\n0,2\n\n    3     1\n    2\n\n    0     2\n    1\n1\n");
  TPGDSStructure empty;
  EXPECT_EQ(Output([&](std::ostream& out) { WriteMNE(empty, out, 1, 2, 9000); }),
            "1\n2\n9000\n0\n2\n0,2\n1\n");
}

TEST(ExportsQuav, RepeatClassesSeparatedByTabs) {
  TPGDSStructure ds;
  support::MakeSmallDataSet(ds);
  EXPECT_EQ(Output([&](std::ostream& out) { WriteQUAV(ds, out); }),
            "Small\n2\n2\n3\t60\t61\t62\n\t3\t0\t1\n\t0\t0\t2\n1\t8\n\t2\n\t1\n");

  // Copies of an allele of 0 repeats fall in no class.
  TPGDSStructure quav;
  TLocus* locus = support::AddLocus(quav, "L");
  for (const auto& [name, repeats] : {std::pair{"a", 12}, {"b", 14}, {"c", 15}, {"z", 0}})
    locus->FindOrAddAllele(name, repeats, repeats, "");
  TSample* p = support::AddSample(quav, "P");
  support::AddIndividual(quav, *p, "i", {{1, 1}});
  support::AddIndividual(quav, *p, "j", {{0, 3}});
  quav.DataLoaded();
  EXPECT_EQ(Output([&](std::ostream& out) { WriteQUAV(quav, out); }),
            "#<no title>\n1\n1\n4\t12\t13\t14\t15\n\t1\t0\t2\t0\n");

  // A locus without alleles fails the save with the range error; no file is left.
  support::AddLocus(quav, "Empty");
  quav.DataLoaded();
  support::TScratchFolder folder;
  try {
    quav.SaveToFile(folder.File("out"), TWriteFormat::QUAV, true, 1);
    FAIL() << "saved";
  } catch (const ERangeError& e) {
    EXPECT_EQ(std::string(e.what()),
              Format(kIndexOutOfLimits(), 0, "TVectorBioAbstract", "TVectorBioAbstract"));
  }
  EXPECT_EQ(folder.Listing(), "");
}
