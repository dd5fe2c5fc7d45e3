#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Texts.h"
#include "dataset/PGDSStructure.h"
#include "stats/StatisticsGrid.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/Files.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Three loci, two samples named as Fstat numbers them, names that fit every column format,
// alleles named by their length and first met in name order. The Fstat format has no half-missing
// genotype.
void MakeDataSet(TPGDSStructure& ds, bool halfMissing) {
  const char* loci[] = {"A", "Bc", "D12"};
  for (const char* name : loci) {
    TLocus* locus = support::AddLocus(ds, name);
    for (int length : {101, 120, 124, 250})
      locus->FindOrAddAllele(std::to_string(length), length, length, "");
  }
  TSample* p1 = support::AddSample(ds, "1");
  support::AddIndividual(ds, *p1, "a1", {{0, 1}, {0, 0}, {0, 1}});
  support::AddIndividual(ds, *p1, "a2", {{1, 0}, {-1, -1}, {1, 2}});
  support::AddIndividual(ds, *p1, "a3", {{2, 3}, {1, 2}, {3, 3}});
  TSample* p2 = support::AddSample(ds, "2");
  support::AddIndividual(ds, *p2, "b1", {{3, 3}, {3, halfMissing ? -1 : 1}, {2, 0}});
  support::AddIndividual(ds, *p2, "b2", {{-1, -1}, {2, 3}, {1, 1}});
  ds.DataLoaded();
}

// Loci, samples and genotypes (the copies of each genotype in name order), with the
// individuals' names when the format keeps them.
std::string Describe(const TPGDSStructure& ds, bool names) {
  std::string text;
  for (int l = 0; l < ds.LociCount(); ++l)
    text += "<" + ds.LocusAt(l)->Name + ">";
  return text + support::SamplesText(
                    ds,
                    [names](const TIndividual& ind) {
                      return " " + (names ? ind.Name : std::string()) + "=";
                    },
                    true);
}

} // namespace

TEST(FormatRoundTrip, SavedFilesLoadBackByTheirContent) {
  const struct {
    TWriteFormat write;
    TReadFormat read;
    bool names, halfMissing;
  } formats[] = {
      {TWriteFormat::Fstat, TReadFormat::Fstat, false, false},
      {TWriteFormat::Genetix, TReadFormat::Genetix, true, true},
      {TWriteFormat::MolvaPRN, TReadFormat::MolvaPRN, true, true},
  };
  support::TScratchFolder folder;
  for (const auto& f : formats) {
    SCOPED_TRACE(WriteFormatName(f.write));
    TPGDSStructure ds;
    MakeDataSet(ds, f.halfMissing);
    const std::string path = ds.SaveToFile(folder.File("data.txt"), f.write, true, 1);
    ASSERT_EQ(path, folder.File("data.txt"));

    // Nothing in the name tells the format.
    TPGDSStructure back;
    back.LoadFromFile(path, TReadFormat::Unknown);
    EXPECT_EQ(back.FileFormat, f.read);
    EXPECT_EQ(Describe(back, f.names), Describe(ds, f.names));
    ASSERT_EQ(back.LocusAt(0)->NbAlleles(), 4);
    EXPECT_EQ(back.LocusAt(0)->GetAllele(3)->Length, 250);

    ds.FileName = path;
    EXPECT_EQ(BuildStatisticsGrid(back, lang::French).Cells,
              BuildStatisticsGrid(ds, lang::French).Cells);

    // Written again, the file is the same (Genetix reads the title with its "Title:" prefix).
    back.Title = ds.Title;
    EXPECT_EQ(support::ReadFile(back.SaveToFile(folder.File("again.txt"), f.write, true, 1)),
              support::ReadFile(path));
  }
}
