#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "dataset/DataSetTexts.h"
#include "dataset/Formats.h"
#include "dataset/PGDSStructure.h"
#include "tests/support/DataSetBuilders.h"
#include "tests/support/ReaderTexts.h"

namespace {

bool Read(TPGDSStructure& ds, const std::string& text) {
  return support::ReadText(ReadMolvaPRN, ds, text);
}

// Loci, then each sample with its individuals: name, then per locus the ploidy and the allele
// names.
std::string Describe(const TPGDSStructure& ds) {
  return "loci" + support::LociText(ds) +
         support::SamplesText(ds, [](const TIndividual& ind) { return " " + ind.Name + "="; });
}

std::string Error(const std::string& message, int line, int column) {
  return support::ReadError(message, line, column, "Molva PRN");
}

std::string Written(const TPGDSStructure& ds) {
  return support::WrittenText(WriteMolvaPRN, ds);
}

} // namespace

TEST(PrnReader, WordsCommentsAndEntries) {
  TPGDSStructure ds;
  ASSERT_TRUE(Read(ds, "* comment {x}\nLocus1 * L9\n  DATA\n* between\n"
                       "{Pop1     Ind1      120    124    NIL    NIL\r\n"
                       "          Ind2      120 * the copies go on\n"
                       "   120    nul    * and on\n  Nil\n"
                       "  * inside\n}\n{ P 2 }\nI3 NIL 120 NIL NIL\n}\n"));
  EXPECT_EQ(Describe(ds), "loci <Locu> <s1> | Pop1: Ind1=2.120.124,2 Ind2=2.120.120,2 "
                          "| P 2: I3=2.120,2");
  EXPECT_EQ(ds.FileFormat, TReadFormat::MolvaPRN);
}

TEST(PrnReader, ReportsFaults) {
  const std::string head = "A B\nDATA\n{P\n";
  const struct {
    std::string text, message;
  } cases[] = {
      {head + "i 120 124 130\n}\n", Error(kPrnMissingGenotype(), 4, 15)},
      {head + "i 120 124\n}\n", Error(support::CountMessage(kMissingGenotype(), 1, 2), 4, 11)},
      // A NIL after the last locus is one copy too many.
      {head + "i 120 124 130 132 NIL\n}\n",
       Error(support::CountMessage(kTooManyGenotypes(), 3, 2), 4, 23)},
      {head + "i 120 124 130 132\n", Error("syntax error", 4, 19)},
      {"A B\n{P\ni 120 124 130 132\n}\n", Error("syntax error", 4, 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TPGDSStructure ds;
    EXPECT_FALSE(Read(ds, c.text));
    ASSERT_EQ(ds.Messages.size(), 1u);
    EXPECT_EQ(ds.Messages[0], c.message);
  }
  std::string loci;
  for (int l = 0; l <= 10001; ++l)
    loci += "L" + std::to_string(l % 100) + "\n";
  TPGDSStructure ds;
  EXPECT_FALSE(Read(ds, loci + "DATA\n"));
  EXPECT_EQ(ds.Messages.back(), Error(kTooManyLoci(), 10002, 3));
}

TEST(PrnWriter, ColumnsAndReadBack) {
  TPGDSStructure ds;
  TLocus* a = support::AddLocus(ds, "A");
  a->FindOrAddAllele("120", 120, 60, "");
  a->FindOrAddAllele("124", 124, 62, "");
  support::AddLocus(ds, "Bb");
  TSample* p = support::AddSample(ds, "Pop1");
  support::AddIndividual(ds, *p, "i1", {{0, 1}, {-1, -1}});
  support::AddIndividual(ds, *p, "i2", {{0}, {}});
  support::AddSample(ds, "Empty");
  EXPECT_EQ(Written(ds), "* MOLVA PRN\n* Liste des Locus\n" + std::string(20, ' ') +
                             "A             Bb            \nDATA\n"
                             "{Pop1     i1        120    124    NIL    NIL    \n"
                             "          i2        120    NIL    NIL    NIL    \n"
                             "}\n{Empty    \n}\n");
  ds.SamplesGroup.Members.Clear(false);
  ds.SamplesGroup.Members.Add(p);
  TPGDSStructure back;
  ASSERT_TRUE(Read(back, Written(ds)));
  EXPECT_EQ(Describe(back), "loci <A> <Bb> | Pop1: i1=2.120.124,2 i2=2.120,2");
}

TEST(PrnReader, AllelesMetAgainKeepTheirCodeAtTheirOwnLocus) {
  // The same names at two loci are alleles of each locus; a name met again is the same allele,
  // a name differing by a leading zero another one.
  TPGDSStructure ds;
  ASSERT_TRUE(Read(ds, "LoA1LoA2\nDATA\n"
                       "{Pop1     Ind1      120    012    130    120\n"
                       "          Ind2      012    120    120    NIL\n"
                       "          Ind3      120    120    012    130\n}\n"))
      << (ds.Messages.empty() ? std::string() : ds.Messages.back());
  EXPECT_EQ(Describe(ds), "loci <LoA1> <LoA2> | Pop1: Ind1=2.120.012,2.130.120 "
                          "Ind2=2.012.120,2.120 Ind3=2.120.120,2.012.130");
  EXPECT_EQ(ds.LocusAt(0)->NbAlleles(), 2);
  EXPECT_EQ(ds.LocusAt(1)->NbAlleles(), 3);
  EXPECT_EQ(ds.LocusAt(0)->GetAllele(0)->Name, "120");
  EXPECT_EQ(ds.LocusAt(1)->GetAllele(0)->Name, "130");
  const TIndividual& third = *ds.AllIndividuals.Items(2);
  EXPECT_EQ(third.GetAllele(0, 0), third.GetAllele(0, 1));
  EXPECT_EQ(third.GetAllele(1, 0), 2); // the third allele named at the second locus
}
