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
  return support::ReadText(ReadGenetix, ds, text);
}

// Title, loci with their declared alleles, then each sample with its individuals: name, then
// per locus the ploidy and the allele names.
std::string Describe(const TPGDSStructure& ds) {
  std::string text = "[" + ds.Title + "]";
  for (int l = 0; l < ds.LociCount(); ++l) {
    text += " <" + ds.LocusAt(l)->Name + ">";
    for (int a = 0; a < ds.LocusAt(l)->NbAlleles(); ++a)
      text += (a ? "," : "") + ds.LocusAt(l)->GetAllele(a)->Name;
  }
  return text +
         support::SamplesText(ds, [](const TIndividual& ind) { return " " + ind.Name + "="; });
}

std::string Error(const std::string& message, int line, int column) {
  return support::ReadError(message, line, column, "Genetix");
}

std::string Written(const TPGDSStructure& ds) {
  return support::WrittenText(WriteGenetix, ds);
}

const char kLoci[] = "L1\n2 120 124\n130\n1 130\n";

} // namespace

TEST(GenetixReader, TitlesLociAndPopulations) {
  TPGDSStructure ds;
  // The allele line ends the locus: the next line is a locus name even when it is a number.
  ASSERT_TRUE(Read(ds, std::string("2 My data\n1\n") + kLoci +
                           "Pop A\n2\n  ind 1   124120 000130\nind2      120124 130000\n"));
  EXPECT_EQ(Describe(ds), "[ My data] <L1>120,124 <130>130 | Pop A: ind 1=2.124.120,2.130 "
                          "ind2=2.120.124,2.130");
  EXPECT_EQ(ds.FileFormat, TReadFormat::Genetix);

  // Windows line ends, a population count that disagrees with the populations present, a
  // count of four digits, blank lines at the end. The line after the last individual of a
  // population is the next population's name, the one after another individual an individual.
  std::string text = std::string("2\r\n5  nombre de pops\r\n") + kLoci + "P\r\n1000\r\n";
  for (int i = 0; i < 1000; ++i)
    text += "P         000000 130130\r\n";
  text += "ind2      120120 000000\r\n1\r\nPop 2     120120 130130\r\n\r\n\r\n";
  TPGDSStructure many;
  ASSERT_TRUE(Read(many, text));
  EXPECT_EQ(many.Title, "");
  ASSERT_EQ(many.SamplesCount(), 2);
  EXPECT_EQ(many.SampleAt(0)->Individuals.Count(), 1000);
  EXPECT_EQ(many.SampleAt(1)->Name, "ind2      120120 000000");
  EXPECT_EQ(many.SampleAt(1)->Individuals.Items(0)->Name, "Pop 2");
}

TEST(GenetixReader, ReportsFaults) {
  const std::string head = "1\n1\nL\n";
  const struct {
    std::string text, message;
  } cases[] = {
      {head + "3 120 124\nP\n1\ni         120124\n", Error(kIncorrectAllelesNumber(), 4, 11)},
      {head + "2 120 120\nP\n1\ni         120120\n", Error(kIncorrectAllelesNumber(), 4, 11)},
      {head + "1 120\nP\n1\nshort 120120\n", Error("syntax error", 7, 14)},
      {"2\n1\nL1\n1 120\nL2\n1 120\nP\n1\ni         120120\n",
       Error(support::CountMessage(kMissingGenotype(), 1, 2), 9, 18)},
      {head + "1 120\nP\n1\ni         120120 120120\n",
       Error(support::CountMessage(kTooManyGenotypes(), 2, 1), 7, 25)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TPGDSStructure ds;
    EXPECT_FALSE(Read(ds, c.text));
    ASSERT_EQ(ds.Messages.size(), 1u);
    EXPECT_EQ(ds.Messages[0], c.message);
  }
}

TEST(GenetixWriter, AscendingGenotypesAndThreeDigitAlleles) {
  TPGDSStructure ds;
  ds.Title = "T";
  TLocus* a = support::AddLocus(ds, "A");
  a->FindOrAddAllele("124", 124, 62, "");
  a->FindOrAddAllele("98", 98, 49, "");
  a->FindOrAddAllele("big", 1000, 500, "");
  TSample* p = support::AddSample(ds, "");
  support::AddIndividual(ds, *p, "", {{0, 1}});
  support::AddIndividual(ds, *p, "longer name", {{2, 0}});
  support::AddIndividual(ds, *p, "hap", {{0}});
  support::AddIndividual(ds, *p, "tri", {{0, 0, 0}});
  // The allele line declares the alleles as the genotypes write them.
  EXPECT_EQ(Written(ds), "1 Title:T\n1  nombre de pops\nA\n2 098 124 \nPopulation 1\n4\n"
                         "_0         098124\nlonger name 000124\nhap        000124\n"
                         "tri        000000\n");

  // Read back: the alleles the writer declared, individuals named after their sample.
  TPGDSStructure back;
  ASSERT_TRUE(Read(back, Written(ds)));
  EXPECT_EQ(Describe(back), "[ Title:T] <A>098,124 | Population 1: _0=2.098.124 longer nam=2.124 "
                            "hap=2.124 tri=2");
}
