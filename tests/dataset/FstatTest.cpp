#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/Errors.h"
#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/ReaderTexts.h"

namespace {

bool Read(TPGDSStructure& ds, const std::string& text) {
  return support::ReadText(ReadFstat, ds, text);
}

// Loci, then each sample with, per individual and locus, the ploidy and the allele names.
std::string Describe(const TPGDSStructure& ds) {
  return "loci" + support::LociText(ds) +
         support::SamplesText(ds, [](const TIndividual&) { return std::string(" "); });
}

std::string Error(const std::string& message, int line, int column) {
  return support::ReadError(message, line, column, "FStat");
}

std::string Written(const TPGDSStructure& ds) {
  return support::WrittenText(WriteFstat, ds);
}

} // namespace

TEST(FstatReader, SplitsGenotypesByTheDigitsPerAllele) {
  TPGDSStructure ds;
  ASSERT_TRUE(Read(ds, "2 3 150 3\nL1\n  Loc A  \nL3\n1 120130 0 045045\n"));
  EXPECT_EQ(Describe(ds), "loci <L1> <  Loc A  > <L3> | 1: 2.120.130,2,2.45.45");
  EXPECT_EQ(ds.FileFormat, TReadFormat::Fstat);
  EXPECT_EQ(ds.LocusAt(2)->GetAllele(0)->NbRepeats, 45);

  // One missing copy, whichever comes first, keeps a diploid genotype.
  TPGDSStructure two;
  ASSERT_TRUE(Read(two, "1 2 20 2\nA\nB\n1 1203 12\n1 0312 1200\n"));
  EXPECT_EQ(Describe(two), "loci <A> <B> | 1: 2.12.3,2.12 2.3.12,2.12");
  TPGDSStructure one;
  ASSERT_TRUE(Read(one, "1 1 9 1\nA\n1 12\n1 5\n"));
  EXPECT_EQ(Describe(one), "loci <A> | 1: 2.1.2 2.5");
}

TEST(FstatReader, PopulationNumbersAndFileShapes) {
  // A population number that comes back starts a new sample; blank padding, tabs, leading
  // zeros, Windows line ends and blank lines after the last individual are accepted.
  TPGDSStructure ds;
  ASSERT_TRUE(
      Read(ds, "3 1 130 3\r\nL\r\n1   120120\r\n  01\t130130\r\n2 0\r\n1    0\r\n\r\n \r\n"));
  EXPECT_EQ(Describe(ds), "loci <L> | 1: 2.120.120 2.130.130 | 2: 2 | 1: 2");

  // The line after the header is a locus name and the line after the last locus an individual,
  // whatever they look like.
  TPGDSStructure shapes;
  ASSERT_TRUE(Read(shapes, "1 2 9 1\n1 2 3 4\n7\n7 11 22\n"));
  EXPECT_EQ(Describe(shapes), "loci <1 2 3 4> <7> | 7: 2.1.1,2.2.2");
}

TEST(FstatReader, ReportsFaults) {
  const struct {
    std::string text, message;
  } cases[] = {
      {"1 1 9 4\nL\n1 11\n", Error(kIncorrectAlleleLength(), 1, 9)},
      // A count that would wrap around to 2 on 32 bits.
      {"1 1 9 4294967298\nL\n1 11\n", Error(kIncorrectAlleleLength(), 1, 18)},
      // More digits than two alleles of the declared length, or beyond 32 bits.
      {"1 1 99 2\nL\n1 120130\n", Error(kIncorrectAlleleLength(), 3, 9)},
      {"1 1 999 3\nL\n1 99999999999999999999\n", Error(kIncorrectAlleleLength(), 3, 23)},
      {"1 2 9 1\nL1\nL2\n1 11\n", Error(support::CountMessage(kMissingGenotype(), 1, 2), 4, 6)},
      {"1 1 9 1\nL\n1 11 22\n", Error(support::CountMessage(kTooManyGenotypes(), 2, 1), 3, 9)},
      // A header whose number of loci is not the number of names that follow.
      {"1 3 9 1\nL1\nL2\n1 11 22 12\n", Error(Format(kFstatTooFewLocusNames(), 3, 4), 4, 12)},
      // The first individual taken for the third locus: the next one lacks a genotype.
      {"1 3 9 1\nL1\nL2\n1 11 22\n1 12 21\n", Error(Format(kFstatTooFewLocusNames(), 3, 4), 5, 9)},
      {"1 1 9 1\nL1\nL2\n1 11\n", Error(Format(kFstatTooManyLocusNames(), 1, 3), 3, 2)},
      {"1 1 9 1\nL1\n  L2\n1 11\n", Error(Format(kFstatTooManyLocusNames(), 1, 3), 3, 4)},
      {"1 1 9 1\nL\n1 11\n\n1 22\n", Error("syntax error", 5, 2)},
      // 4294967297 loci are not one locus, and more than such a small file can hold.
      {"1 4294967297 9 1\nL\n1 11\n", Error(kTooManyDeclaredLoci(), 1, 18)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TPGDSStructure ds;
    EXPECT_FALSE(Read(ds, c.text));
    ASSERT_EQ(ds.Messages.size(), 1u);
    EXPECT_EQ(ds.Messages[0], c.message);
  }
}

TEST(FstatWriter, WritesSampleNumbersAndSixDigitGenotypes) {
  TPGDSStructure ds;
  TLocus* a = support::AddLocus(ds, "A");
  a->FindOrAddAllele("120", 120, 60, "");
  a->FindOrAddAllele("x", 7, 7, "");
  support::AddLocus(ds, "B b")->FindOrAddAllele("130", 130, 65, "");
  TSample* p1 = support::AddSample(ds, "P1");
  support::AddIndividual(ds, *p1, "i1", {{0, 1}, {0, -1}});
  support::AddIndividual(ds, *support::AddSample(ds, "P2"), "i2", {{-1, -1}, {0, 0}});
  EXPECT_EQ(Written(ds), "2 2 130 3\nA\nB b\n1    120007      0\n2         0 130130\n");

  const auto error = [](const TPGDSStructure& d) {
    try {
      Written(d);
    } catch (const EFileWritingError& e) {
      return std::string(e.what());
    }
    return std::string("<none>");
  };
  support::AddIndividual(ds, *p1, "hap", {{0}, {0, 0}});
  EXPECT_EQ(error(ds), Latin1("Ploïdie incorrecte (locus A, individu hap)"));
  TPGDSStructure big;
  support::AddLocus(big, "L")->FindOrAddAllele("1000", 1000, 1000, "");
  support::AddIndividual(big, *support::AddSample(big, "P"), "b", {{0, 0}});
  EXPECT_EQ(error(big), Latin1("Taille d'allèle incorrecte (locus L, individu b)"));
}
