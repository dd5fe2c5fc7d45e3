// Files as other programs and their users write them: individuals whose names begin with "Pop",
// unnamed samples, names that repeat, UTF-8 text, and the messages a file that does not load
// gives.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/Files.h"
#include "tests/support/ReaderTexts.h"
#include "tests/support/ScratchFolder.h"

namespace {

using support::TScratchFolder;
using support::WriteFile;

// Loads `text` from a file named `name`; the error message, empty when the file loads.
std::string Load(TPGDSStructure& ds, const TScratchFolder& folder, const std::string& name,
                 const std::string& text, TReadFormat format = TReadFormat::Unknown) {
  WriteFile(folder.File(name), text);
  try {
    ds.LoadFromFile(folder.File(name), format);
    return std::string();
  } catch (const std::exception& e) {
    return e.what();
  }
}

// Sample names and, per sample, the labels of its individuals: "A: A/x A/y | B: ...".
std::string Labels(const TPGDSStructure& ds) {
  std::string text;
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TSample& sample = *ds.SampleAt(s);
    text += (s ? " | " : "") + sample.Name + ":";
    for (int i = 0; i < sample.Individuals.Count(); ++i)
      text += " " + sample.Individuals.Items(i)->Label;
  }
  return text;
}

std::string ReadError(const std::string& message, int line, int column) {
  return Format(kReadError(), message.c_str(), line, column, "GenePop");
}

} // namespace

TEST(FilesFromOtherPrograms, IndividualsNamedPopAreIndividuals) {
  TScratchFolder folder;
  // Genepop's own examples name the last individual of a sample after its "Pop" line.
  TPGDSStructure ds;
  EXPECT_EQ(Load(ds, folder, "example.gen",
                 "Example\nL1\nL2\nL3\nPop\nA1, 0102 0000 0202\nPopI,        0102 0000 0202\n"
                 "Pop\nPopII, 0101 0101 0101\n"),
            "");
  EXPECT_EQ(Labels(ds), "PopI: PopI/A1 PopI/PopI | PopII: PopII/PopII");

  // Labels such as "Population-1.1" and an individual "Pop1_ind2" inside a sample.
  EXPECT_EQ(Load(ds, folder, "labels.gen",
                 "T\nL1\nL2\nL3\nPop\nPopulation-1.1 ,  178182 224224 100100\n"
                 "Pop1_ind2,  030303 030304 020202\nPOP B\nb1, 001001 002002 003003\n"),
            "");
  EXPECT_EQ(ds.FileFormat, TReadFormat::GenePop3);
  EXPECT_EQ(Labels(ds), "Pop1_ind2: Pop1_ind2/Population-1.1 Pop1_ind2/Pop1_ind2 | B: B/b1");

  // The haploid reader follows the same rule.
  EXPECT_EQ(
      Load(ds, folder, "hap.txt", "T\nL1\nPop\nPop1_i, 12\nPopX, 7\n", TReadFormat::GenePopHaploid),
      "");
  EXPECT_EQ(ds.FileFormat, TReadFormat::GenePopHaploid);
  EXPECT_EQ(Labels(ds), "PopX: PopX/Pop1_i PopX/PopX");

  // A name with "Pop" at the start of a line without a comma still starts a sample, also in the
  // locus lines.
  EXPECT_EQ(Load(ds, folder, "plain.gen", "T\nL1\npop Marseille\na, 0101\nPOP\nb, 0202\n"), "");
  EXPECT_EQ(Labels(ds), "Marseille: Marseille/a | b: b/b");
}

TEST(FilesFromOtherPrograms, NamesBeginningWithPopSurviveEveryGenepopWriter) {
  // The writers label individuals "sample_name,"; with samples named "Pop..." each label begins
  // with "Pop" and must read back as an individual. One copy per locus suits every variant.
  TPGDSStructure ds;
  TLocus* locus = support::AddLocus(ds, "L1");
  locus->FindOrAddAllele("12", 12, 12, "");
  locus->FindOrAddAllele("15", 15, 15, "");
  for (const char* name : {"Pop1", "Population"}) {
    TSample* sample = support::AddSample(ds, name);
    support::AddIndividual(ds, *sample, "ind1", {{0}});
    support::AddIndividual(ds, *sample, "Pop2", {{1}});
  }
  ds.DataLoaded();

  TScratchFolder folder;
  const std::string path = folder.File("out.gen");
  for (TWriteFormat format :
       {TWriteFormat::GenePop3, TWriteFormat::GenePop2, TWriteFormat::GenePopHaploid}) {
    SCOPED_TRACE(WriteFormatCode(format));
    ds.SaveToFile(path, format, false, 1);
    TPGDSStructure copy;
    copy.LoadFromFile(path, format == TWriteFormat::GenePopHaploid ? TReadFormat::GenePopHaploid
                                                                   : TReadFormat::Unknown);
    ASSERT_EQ(copy.SamplesCount(), 2);
    EXPECT_EQ(copy.AllIndividuals.Count(), 4);
    EXPECT_EQ(copy.LocusAt(0)->NbAlleles(), 2);
    EXPECT_EQ(Labels(copy), "Pop1_Pop2: Pop1_Pop2/Pop1_ind1 Pop1_Pop2/Pop1_Pop2 | "
                            "Population_Pop2: Population_Pop2/Population_ind1 "
                            "Population_Pop2/Population_Pop2");
  }
}

TEST(FilesFromOtherPrograms, RepeatedSampleNamesAreKeptAndToldApart) {
  TScratchFolder folder;
  TPGDSStructure ds;
  EXPECT_EQ(Load(ds, folder, "repeat.gen",
                 "T\nL1\nPop\nInd31, 0101\nPop\nx, 0202\nPop\nInd31, 0101\nPop\nInd31, 0303\n"),
            "");
  ASSERT_EQ(ds.SamplesCount(), 4);
  EXPECT_EQ(ds.SampleAt(0)->Name, "Ind31");
  EXPECT_EQ(ds.SampleAt(3)->Name, "Ind31");
  EXPECT_EQ(ds.SampleName(0), "Ind31 (1)");
  EXPECT_EQ(ds.SampleName(1), "x");
  EXPECT_EQ(ds.SampleName(2), "Ind31 (2)");
  EXPECT_EQ(ds.SampleName(3), "Ind31 (3)");
  // The individuals' labels, which head the result rows, tell the samples apart as well.
  EXPECT_EQ(Labels(ds), "Ind31: Ind31 (1)/Ind31 | x: x/x | Ind31: Ind31 (2)/Ind31 | "
                        "Ind31: Ind31 (3)/Ind31");
  EXPECT_EQ(ds.Messages,
            std::vector<std::string>{Format(kRepeatedPopulationName(), "1, 3 et 4", "\"Ind31\"")});

  // A copy keeps them apart; a new load of distinct names forgets them.
  TPGDSStructure copy;
  ds.AssignTo(copy);
  EXPECT_EQ(copy.SampleName(2), "Ind31 (2)");
  EXPECT_EQ(Load(ds, folder, "distinct.gen", "T\nL1\nPop A\na, 0101\nPop B\nb, 0101\n"), "");
  EXPECT_EQ(ds.SampleName(1), "B");
  EXPECT_TRUE(ds.Messages.empty());
}

TEST(FilesFromOtherPrograms, Utf8FilesReadAsTheLatin1TextTheyStandFor) {
  TScratchFolder folder;
  const std::string latin1Name = "For\xEAt de Berc\xE9";
  TPGDSStructure ds;
  EXPECT_EQ(Load(ds, folder, "utf8.gen",
                 "\xEF\xBB\xBFTitre \xC3\xA9t\xC3\xA9\nL\xC3\xB6"
                 "cus\nPop For\xC3\xAAt de "
                 "Berc\xC3\xA9\n\xC3\xA9lan, 0101\n"),
            "");
  EXPECT_EQ(ds.Title, "Titre \xE9t\xE9");
  EXPECT_EQ(ds.LocusAt(0)->Name, "L\xF6"
                                 "cus");
  EXPECT_EQ(Labels(ds), latin1Name + ": " + latin1Name + "/\xE9lan");
  EXPECT_EQ(ds.Messages, std::vector<std::string>{kUtf8Converted()});

  // A character split by the end of the reader's block of 4096 bytes.
  std::string longTitle(4095, 'x');
  EXPECT_EQ(Load(ds, folder, "split.gen", longTitle + "\xC3\xA9\nL1\nPop\na, 0101\n"), "");
  EXPECT_EQ(ds.Title, longTitle + "\xE9");

  // Characters that ISO-8859-1 does not have: the bytes stay as they are.
  EXPECT_EQ(Load(ds, folder, "greek.gen", "T\nL1\nPop \xCE\xB1\xCE\xB2\na, 0101\n"), "");
  EXPECT_EQ(ds.SampleAt(0)->Name, "\xCE\xB1\xCE\xB2");
  EXPECT_EQ(ds.Messages, std::vector<std::string>{kUtf8NotConverted()});

  // An ISO-8859-1 file (not valid UTF-8) and a plain ASCII file are read byte for byte, silently.
  EXPECT_EQ(Load(ds, folder, "latin1.gen", "T\nL1\nPop " + latin1Name + "\na, 0101\n"), "");
  EXPECT_EQ(ds.SampleAt(0)->Name, latin1Name);
  EXPECT_TRUE(ds.Messages.empty());
  EXPECT_EQ(Load(ds, folder, "ascii.dat", "1 1 9 1\nL\n1 11\n"), "");
  EXPECT_TRUE(ds.Messages.empty());
}

TEST(FilesFromOtherPrograms, LoadMessagesLeadWithTheirCause) {
  TScratchFolder folder;
  TPGDSStructure ds;
  // An empty or blank file.
  for (const char* text : {"", " \r\n\t\n"}) {
    EXPECT_EQ(Load(ds, folder, "empty.gen", text),
              Format(kInvalidFile(), folder.File("empty.gen").c_str()));
    EXPECT_EQ(ds.Messages, std::vector<std::string>{kEmptyFile()});
  }

  // A Genepop file with a mistake: its extension puts the Genepop error first, once.
  EXPECT_NE(Load(ds, folder, "bad.gen", "T\nL1\nL2\nPop\na, 0101 0202\nb, 0101\n"), "");
  ASSERT_FALSE(ds.Messages.empty());
  const std::string genepopError = ReadError(support::CountMessage(kMissingGenotype(), 1, 2), 6, 9);
  EXPECT_EQ(ds.Messages[0], genepopError);
  EXPECT_EQ(std::count(ds.Messages.begin(), ds.Messages.end(), genepopError), 1);
  // Without an extension, the reader that got furthest into the file comes first.
  EXPECT_NE(Load(ds, folder, "bad", "T\nL1\nL2\nPop\na, 0101 0202\nb, 0101\n"), "");
  ASSERT_FALSE(ds.Messages.empty());
  EXPECT_EQ(ds.Messages[0], genepopError);

  // A format the program writes but does not read says so first.
  TPGDSStructure small;
  support::MakeSmallDataSet(small);
  const std::string arlequin =
      small.SaveToFile(folder.File("small"), TWriteFormat::Arlequin, true, 1);
  EXPECT_THROW(ds.LoadFromFile(arlequin, TReadFormat::Unknown), EFileFormatError);
  ASSERT_FALSE(ds.Messages.empty());
  EXPECT_EQ(ds.Messages[0], Format(kWriteOnlyFormat(), "Arlequin (microsat)"));

  // A file that loads keeps no line of the readers tried before the right one.
  EXPECT_EQ(Load(ds, folder, "good", "T\nL1\nPop\na, 0101\n"), "");
  EXPECT_EQ(ds.FileFormat, TReadFormat::GenePop2);
  EXPECT_TRUE(ds.Messages.empty());
}
