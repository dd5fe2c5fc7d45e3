#include <cstring>
#include <sstream>
#include <string>

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

const char kSmall[] = "My data\nLoc1;Loc2\nPOP\na , 0101 0203\nb , 0000 0303\n";

bool ReadDiploid(TPGDSStructure& ds, const std::string& text) {
  return support::ReadText(ReadGenepopDiploid, ds, text);
}

bool ReadHaploid(TPGDSStructure& ds, const std::string& text) {
  return support::ReadText(ReadGenepopHaploid, ds, text);
}

// The same text with every LF replaced by `lineEnd`.
std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
  std::string out;
  for (char c : text) {
    if (c == '\n')
      out += lineEnd;
    else
      out += c;
  }
  return out;
}

// Everything a reader builds, as one text: title, loci, then each sample with, for each
// individual, its declared ploidy and per locus the ploidy and the allele names.
std::string Describe(const TPGDSStructure& ds) {
  std::string text = "[" + ds.Title + "] format " + std::to_string(ReadFormatCode(ds.FileFormat)) +
                     " loci" + support::LociText(ds);
  for (int s = 0; s < ds.SamplesCount(); ++s) {
    const TSample& sample = *ds.SampleAt(s);
    text += " | pop <" + sample.Name + ">";
    for (int i = 0; i < sample.Individuals.Count(); ++i) {
      const TIndividual& ind = *sample.Individuals.Items(i);
      text += " " + ind.Name + "/" + std::to_string(ind.DeclaredPloidy) + ":" +
              support::GenotypesText(ds, ind);
    }
  }
  return text;
}

std::string LastMessage(const TPGDSStructure& ds) {
  return ds.Messages.empty() ? std::string("<none>") : ds.Messages.back();
}

std::string ReadError(const std::string& message, int line, int column) {
  return support::ReadError(message, line, column, "GenePop");
}

std::string Written(const TPGDSStructure& ds, TGenepopVariant variant, std::uint8_t coding) {
  return support::WrittenText(WriteGenepop, ds, variant, coding);
}

// The message of the EFileWritingError raised by writing, or "<none>".
std::string WriteError(const TPGDSStructure& ds, TGenepopVariant variant, std::uint8_t coding) {
  try {
    Written(ds, variant, coding);
  } catch (const EFileWritingError& e) {
    return e.what();
  }
  return "<none>";
}

} // namespace

TEST(GenepopReader, DiploidFilesWithEveryLineEndGiveTheSameData) {
  const std::string two = "[My data] format 1 loci <Loc1> <Loc2> | pop <b> a/2:2.01.01,2.02.03"
                          " b/2:2,2.03.03";
  for (const char* lineEnd : {"\n", "\r", "\r\n", "\n\r"}) {
    SCOPED_TRACE(testing::PrintToString(lineEnd));
    TPGDSStructure ds;
    ASSERT_TRUE(ReadDiploid(ds, WithLineEnds(kSmall, lineEnd)));
    EXPECT_EQ(Describe(ds), two);
    EXPECT_EQ(ds.LocusAt(0)->NbAlleles(), 1);
    // The unnamed sample is found under the name of its last individual.
    EXPECT_EQ(ds.SamplesGroup.Members.IndexOf("b"), 0);

    TPGDSStructure ds3;
    ASSERT_TRUE(ReadDiploid(ds3, WithLineEnds("My data\nLoc1;Loc2\nPOP\na , 001001 002003\n"
                                              "b , 000000 003003\n\n  \n",
                                              lineEnd)));
    EXPECT_EQ(Describe(ds3), "[My data] format 0 loci <Loc1> <Loc2> | pop <b> a/2:2.001.001,"
                             "2.002.003 b/2:2,2.003.003");
    const TAllele& allele = *ds3.LocusAt(1)->GetAllele(0);
    EXPECT_EQ(allele.Name, "002");
    EXPECT_EQ(allele.Length, 2);
    EXPECT_EQ(allele.NbRepeats, 2);
  }
}

TEST(GenepopReader, TitleSamplesAndLocusLines) {
  TPGDSStructure ds;
  ASSERT_TRUE(ReadDiploid(ds, "  Title  \nA1, A2 ,A3\nB;C\npOp  Marseille \n"
                              " x y ,0100 0707 0000 1203 0000\npop\nz,0000 0000 0000 0000 0000"));
  EXPECT_EQ(Describe(ds), "[  Title  ] format 1 loci <A1> <A2> <A3> <B> <C> | pop <Marseille> "
                          "x y/2:2.01,2.07.07,2,2.12.03,2 | pop <z> z/2:2,2,2,2,2");

  // A blank title line gives an empty title; the comma rule holds for the haploid reader too.
  TPGDSStructure hap;
  ASSERT_TRUE(ReadHaploid(hap, " \t \nL1,L2\nPOP\ni, 12 0\nj, 012 007 \n"));
  EXPECT_EQ(Describe(hap), "[] format 2 loci <L1> <L2> | pop <j> i/1:1.12,1 j/1:1.012,1.007");
  ASSERT_EQ(hap.LocusAt(0)->NbAlleles(), 2);
  EXPECT_EQ(hap.LocusAt(0)->GetAllele(1)->Length, 12);

  // A longer digit run is a genotype of the wrong width, not two genotypes.
  TPGDSStructure split;
  EXPECT_FALSE(ReadHaploid(split, "T\nL1\nL2\nPOP\ni, 1234\n"));
  EXPECT_EQ(LastMessage(split),
            ReadError(Format(kGenotypeWidth(), "1234", 4, kOneToThreeDigits().c_str()), 5, 8));
}

TEST(GenepopReader, StrayCharactersAreDropped) {
  TPGDSStructure ds;
  ASSERT_TRUE(ReadDiploid(ds, "T\nL1\nL2\nL3\nPOP\na, 0101 x 0202 0303!\n"));
  EXPECT_EQ(Describe(ds), "[T] format 1 loci <L1> <L2> <L3> | pop <a> a/2:2.01.01,2.02.02,2.03.03");
  // Digits are never dropped: a genotype wider than the file's is refused, not cut to fit.
  const struct {
    const char* text;
    const char* digits;
    int line, column;
    std::string expected;
  } wide[] = {
      {"T\nL1\nPOP\na, 03030\n", "03030", 4, 9, kFourOrSixDigits()},
      {"T\nL1\nPOP\na, 0030030\n", "0030030", 4, 11, kFourOrSixDigits()},
      {"T\nL1\nPOP\na, 0101\nb, 03030\n", "03030", 5, 9, "4"},
      {"T\nL1\nPOP\na, 003003\nb, 0030030\n", "0030030", 5, 11, "6"},
      {"T\nL1\nL2\nPOP\na, 0101 001001\n", "001001", 5, 15, "4"},
  };
  for (const auto& c : wide) {
    SCOPED_TRACE(c.text);
    TPGDSStructure ds;
    EXPECT_FALSE(ReadDiploid(ds, c.text));
    EXPECT_EQ(LastMessage(ds),
              ReadError(Format(kGenotypeWidth(), c.digits, static_cast<int>(std::strlen(c.digits)),
                               c.expected.c_str()),
                        c.line, c.column));
  }
}

TEST(GenepopReader, ErrorReportsNameLineAndColumnWhateverTheLineEnds) {
  struct TCase {
    std::string text;
    std::string message;
  };
  const TCase cases[] = {
      {"T\nL1\nPOP\na, 0101\nPOP\nPOP\nb, 0101\n", ReadError(kPopWithoutIndividual(), 6, 4)},
      {"T\nL1\nPOP\na, 0101\n\nb, 0101\n", ReadError(Format(kBlankLineInside(), 5), 6, 3)},
      {"T\nL1\n\nPOP\na, 0101\n", ReadError(Format(kBlankLineInside(), 3), 3, 2)},
      {"T\nL1\nPOP\n0101\n", ReadError(kLineWithoutComma(), 4, 5)},
      {"T\nL1\nPOP\na 0101\n", ReadError(kLineWithoutComma(), 4, 7)},
      {"T\nL1;\nPOP\na, 0101\n", ReadError("syntax error", 2, 5)},
      {"T\nL1\nL2\nind1, 0101 0202\n", ReadError(kNoPopLine(), 4, 17)},
      {"T\nL1\nL2\nPOP\na, 0101 0202\nb, 0101\nc, 0101 0101\n",
       ReadError(support::CountMessage(kMissingGenotype(), 1, 2), 6, 9)},
      // All loci on one line without commas make one locus.
      {"T\nL1 L2\nPOP\na, 0101 0202\n",
       ReadError(support::CountMessage(kTooManyGenotypes(), 2, 1), 4, 14)},
      {"T\nL1\nPOP\n", ReadError(kPopWithoutIndividual(), 3, 5)},
      {"T\nL1\nPOP\na, 0101\nPop\n", ReadError(kPopWithoutIndividual(), 5, 5)},
      {"", ReadError("syntax error", 0, 0)},
  };
  for (const TCase& c : cases) {
    for (const char* lineEnd : {"\n", "\r", "\r\n", "\n\r"}) {
      SCOPED_TRACE(testing::PrintToString(c.text) + testing::PrintToString(lineEnd));
      TPGDSStructure ds;
      EXPECT_FALSE(ReadDiploid(ds, WithLineEnds(c.text, lineEnd)));
      EXPECT_EQ(ds.Messages.size(), 1u);
      EXPECT_EQ(LastMessage(ds), c.message);
    }
  }

  // The texts follow the language; the parser's own text does not.
  SetCurrentLanguage(lang::English);
  TPGDSStructure ds;
  EXPECT_FALSE(ReadHaploid(ds, "T\nL1\nPOP\na, 1 2\n"));
  EXPECT_EQ(LastMessage(ds), "Error \"Too many genotypes: 2 genotype(s) for 1 declared "
                             "locus(loci)\" line 4 column 8 while parsing GenePop file");
  EXPECT_FALSE(ReadHaploid(ds, "T\nL1\nPOP\nPOP\n"));
  EXPECT_EQ(LastMessage(ds),
            "Error \"\"Pop\" line with no individual\" line 4 column 4 while parsing GenePop file");
  TPGDSStructure blank;
  EXPECT_FALSE(ReadDiploid(blank, "T\nL1\nPOP\na, 0101\n\nb, 0101\n"));
  EXPECT_EQ(LastMessage(blank),
            "Error \"Blank line (line 5): blank lines are allowed only after the "
            "last individual\" line 6 column 3 while parsing GenePop file");
  SetCurrentLanguage(lang::French);
}

TEST(GenepopReader, LoadsThroughTheDataSetAndStopsOnRequest) {
  support::TScratchFolder folder;
  std::string text = "Stop test\nL1\nL2\nPOP\n";
  for (int i = 0; i < 200; ++i)
    text += "ind" + std::to_string(i) + ", 0101 0203\n";
  const std::string path = folder.File("big.txt");
  support::WriteFile(path, WithLineEnds(text, "\r\n"));

  TPGDSStructure ds;
  ds.LoadFromFile(path, TReadFormat::GenePop2);
  EXPECT_EQ(ds.FileFormat, TReadFormat::GenePop2);
  EXPECT_EQ(ds.AllIndividuals.Count(), 200);
  EXPECT_EQ(ds.RootGroup.Members.Count(), 1);

  // Stop once the reader is past a quarter of the file.
  std::vector<int> seen;
  ds.onDataStructureEvent = [&](TLogger&, int progression, bool& stop) {
    seen.push_back(progression);
    stop = progression >= 25;
  };
  try {
    ds.LoadFromFile(path, TReadFormat::GenePop2);
    FAIL() << "the load was not stopped";
  } catch (const EFileFormatError& e) {
    EXPECT_EQ(std::string(e.what()), kOperationInterrupted());
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 25);
  EXPECT_EQ(ds.Messages.size(), 1u);
  EXPECT_NE(LastMessage(ds).find(kOperationInterrupted()), std::string::npos);
  EXPECT_EQ(ds.LociCount(), 0);
  EXPECT_EQ(ds.AllIndividuals.Count(), 0);

  // The next read starts clean and the progression reaches 100.
  seen.clear();
  ds.onDataStructureEvent = [&](TLogger&, int progression, bool&) { seen.push_back(progression); };
  ds.LoadFromFile(path, TReadFormat::GenePop3);
  EXPECT_EQ(ds.AllIndividuals.Count(), 200);
  EXPECT_EQ(seen.size(), 204u);
  EXPECT_EQ(seen.back(), 100);

  // A haploid file is found by detection.
  support::WriteFile(path, "H\nL1\nPOP\na, 12\n");
  ds.LoadFromFile(path, TReadFormat::Unknown);
  EXPECT_EQ(ds.FileFormat, TReadFormat::GenePopHaploid);
}

namespace {

// Locus A: alleles 98, 120, 130 (lengths 98, 120, 1000; repeats 49, 60, 65); locus B: "x1".
void MakeWriterDataSet(TPGDSStructure& ds) {
  ds.Title = "Written";
  TLocus* a = support::AddLocus(ds, "A");
  a->FindOrAddAllele("98", 98, 49, "");
  a->FindOrAddAllele("120", 120, 60, "");
  a->FindOrAddAllele("130", 1000, 65, "");
  support::AddLocus(ds, "B")->FindOrAddAllele("x1", 5, 5, "");
  TSample* p = support::AddSample(ds, "P");
  support::AddIndividual(ds, *p, "i1", {{0, 1}, {0, -1}});
  support::AddIndividual(ds, *p, "i2", {{2, 2}, {-1, -1}});
}

} // namespace

TEST(GenepopWriter, VariantsAndAlleleCodings) {
  TPGDSStructure ds;
  MakeWriterDataSet(ds);
  EXPECT_EQ(Written(ds, TGenepopVariant::TwoDigits, 3),
            "Written\nA\nB\nPOP\nP_i1,0301 0100\nP_i2,0202 0000\n");
  EXPECT_EQ(Written(ds, TGenepopVariant::ThreeDigits, 2),
            "Written\nA\nB\nPOP\nP_i1,049060 005000\nP_i2,065065 000000\n");

  const std::string where = Latin1("(locus A, individu i2)");
  EXPECT_EQ(WriteError(ds, TGenepopVariant::ThreeDigits, 1),
            Latin1("Taille d'allèle incorrecte ") + where);
  EXPECT_EQ(WriteError(ds, TGenepopVariant::TwoDigits, 1),
            Latin1("Taille d'allèle incorrecte (locus A, individu i1)"));
  EXPECT_EQ(WriteError(ds, TGenepopVariant::ThreeDigits, 0),
            Latin1("Conversion de données impossible (locus B, individu i1)"));
  EXPECT_EQ(WriteError(ds, TGenepopVariant::Haploid, 3),
            Latin1("Ploïdie incorrecte (locus A, individu i1)"));

  // The lines before the failure stay written.
  std::ostringstream partial;
  EXPECT_THROW(WriteGenepop(ds, partial, TGenepopVariant::ThreeDigits, 1), EFileWritingError);
  EXPECT_EQ(partial.str(), "Written\nA\nB\nPOP\nP_i1,098120 005000\n");

  // Haploid genotypes, and a triploid one that no variant can write.
  TPGDSStructure hap;
  support::AddLocus(hap, "H")->FindOrAddAllele("7", 7, 7, "");
  TSample* p = support::AddSample(hap, "");
  auto* one = support::AddIndividual(hap, *p, "a", {{0}});
  one->DeclaredPloidy = 1;
  support::AddIndividual(hap, *p, "b", {{-1}});
  support::AddIndividual(hap, *p, "c", {});
  EXPECT_EQ(Written(hap, TGenepopVariant::Haploid, 1), "\nH\nPOP\n_a,7\n_b,0\n_c,0\n");
  support::AddIndividual(hap, *p, "d", {{0, 0, 0}});
  EXPECT_EQ(WriteError(hap, TGenepopVariant::TwoDigits, 3),
            Latin1("Ploïdie incorrecte (locus H, individu d)"));
}

TEST(GenepopWriter, WrittenFilesReadBack) {
  TPGDSStructure ds;
  MakeWriterDataSet(ds);
  TPGDSStructure two;
  ASSERT_TRUE(ReadDiploid(two, Written(ds, TGenepopVariant::TwoDigits, 3)));
  EXPECT_EQ(Describe(two), "[Written] format 1 loci <A> <B> | pop <P_i2> P_i1/2:2.03.01,2.01 "
                           "P_i2/2:2.02.02,2");

  TPGDSStructure three;
  ASSERT_TRUE(ReadDiploid(three, Written(ds, TGenepopVariant::ThreeDigits, 2)));
  EXPECT_EQ(Describe(three), "[Written] format 0 loci <A> <B> | pop <P_i2> P_i1/2:2.049.060,"
                             "2.005 P_i2/2:2.065.065,2");

  TPGDSStructure hap;
  ASSERT_TRUE(ReadHaploid(hap, "H\nL\nPOP\na, 012\nb, 0\n"));
  TPGDSStructure back;
  ASSERT_TRUE(ReadHaploid(back, Written(hap, TGenepopVariant::Haploid, 1)));
  EXPECT_EQ(Describe(back), "[H] format 2 loci <L> | pop <b_b> b_a/1:1.12 b_b/1:1");
}

TEST(GenepopReader, HalfMissingGenotypeStaysDiploid) {
  std::istringstream in("t\nL1\nPOP\na , 000120\nb , 120000\n");
  TPGDSStructure ds;
  ASSERT_TRUE(ReadGenepopDiploid(ds, in));
  for (int i = 0; i < 2; ++i) {
    TIndividual* ind = ds.AllIndividuals.Items(i);
    EXPECT_EQ(ind->GetPloidy(0), 2);
    EXPECT_EQ(ind->NbAllelesTyped(0), 1);
  }
}
