#include <gtest/gtest.h>

#include "base/Errors.h"
#include "model/Individual.h"
#include "model/Typage.h"
#include "base/Real.h"

namespace {

std::unique_ptr<TIndividual> Diploid(std::int16_t a, std::int16_t b) {
  auto ind = std::make_unique<TIndividual>("ind", 1, 2);
  ind->AddGene(0, a);
  ind->AddGene(0, b);
  return ind;
}

TEST(BioCalculable, TallyKeepsCodesSortedAndAnswersInsertionIndex) {
  TIndividual ind("x", 1, 2);
  EXPECT_EQ(ind.AddAllele(0, 5, 1), 0);
  EXPECT_EQ(ind.AddAllele(0, 2, 1), 0);
  EXPECT_EQ(ind.AddAllele(0, 5, 1), 1);
  EXPECT_EQ(ind.AddAllele(0, 9, 1), 2);
  EXPECT_EQ(ind.AddAllele(0, -1, 1), 0); // codes compare signed
  ASSERT_EQ(ind.NbAllelesAt(0), 4);
  EXPECT_EQ(ind.FeatureCode(0, 0), -1);
  EXPECT_EQ(ind.FeatureCode(0, 2), 5);
  EXPECT_EQ(ind.AlleleCount(0, 5), 2);
  EXPECT_EQ(ind.AlleleCount(0, 7), 0);
  EXPECT_EQ(ind.FindAllele(0, 9), 3);
  EXPECT_EQ(ind.FindAllele(0, 10), -1);
  EXPECT_EQ(ind.AlleleFrequency(0, 7), 0.0L);
  EXPECT_EQ(ind.GetSampledLocus(0).Items(-1), nullptr);
  EXPECT_EQ(ind.GetSampledLocus(0).Items(4), nullptr);
  EXPECT_THROW(ind.GetSampledLocus(1), EListError);
}

TEST(BioCalculable, IndividualStatistics) {
  auto hetOwner = Diploid(0, 1);
  TIndividual& het = *hetOwner;
  het.Compute(true);
  EXPECT_EQ(het.Zygosity(0), 1);
  EXPECT_EQ(het.NbGenes(0), 2);
  EXPECT_EQ(het.AlleleFrequency(0, 0), 0.5L);
  EXPECT_EQ(het.GetHo(0), 1.0L);
  EXPECT_EQ(het.GetHe(0), 1.0L);

  auto homOwner = Diploid(3, 3);
  TIndividual& hom = *homOwner;
  hom.Compute(true);
  EXPECT_EQ(hom.Zygosity(0), 0);
  EXPECT_EQ(hom.NbAllelesAt(0), 1);
  EXPECT_EQ(hom.AlleleCount(0, 3), 2);
  EXPECT_EQ(hom.GetHo(0), 0.0L);
  EXPECT_EQ(hom.GetHe(0), 0.0L);

  // One copy missing: not a complete diploid genotype.
  TIndividual half("half", 1, 2);
  half.AddGene(0, 4);
  half.AddMissingGene(0);
  half.Compute(true);
  EXPECT_EQ(half.GetPloidy(0), 2);
  EXPECT_EQ(half.Zygosity(0), 2);
  EXPECT_TRUE(IsUndefined(half.GetHo(0)));
  EXPECT_TRUE(IsUndefined(half.GetHe(0)));
  EXPECT_EQ(half.AlleleFrequency(0, 4), 1.0L);
  EXPECT_EQ(half.NbGenes(0), 1);

  TIndividual haploid("hap", 1, 1);
  haploid.AddGene(0, 2);
  haploid.Compute(true);
  EXPECT_EQ(haploid.Zygosity(0), 2);
  EXPECT_EQ(haploid.NbGenes(0), 1);
  EXPECT_EQ(haploid.GetAllele(0, 1), -1);
  EXPECT_EQ(haploid.GetAllele(0, -1), -1);
}

TEST(BioCalculable, PloidyBookkeepingOfMissingCopies) {
  TIndividual ind("i", 3, 2);
  ind.AddMissingGene(0); // missing then present
  ind.AddGene(0, 7);
  ind.AddGene(1, 7); // present then missing
  ind.AddMissingGene(1);
  ind.AddMissingGene(2);
  ind.AddMissingGene(2);
  EXPECT_EQ(ind.GetPloidy(0), 1);
  EXPECT_EQ(ind.NbAllelesTyped(0), 1);
  EXPECT_EQ(ind.GetPloidy(1), 2);
  EXPECT_EQ(ind.NbAllelesTyped(1), 1);
  EXPECT_EQ(ind.GetPloidy(2), 2);
  EXPECT_EQ(ind.NbAllelesTyped(2), 0);
  EXPECT_THROW(ind.GetTypage(3), EListError);
  EXPECT_THROW(ind.GetTypage(0).Items(1), EListError);
}

TEST(BioCalculable, ComputeIsIdempotentUntilRebuilt) {
  auto owner = Diploid(1, 2);
  TIndividual& ind = *owner;
  ind.Compute(true);
  ind.Compute(true);
  ind.Compute(false);
  EXPECT_EQ(ind.NbGenes(0), 2);
  EXPECT_EQ(ind.AlleleCount(0, 1), 1);
  // Clearing drops the tallies; a fresh Compute recounts from scratch.
  ind.TBioCalculable::Clear();
  EXPECT_EQ(ind.NbLoci(), 0);
  ind.SetNbLoci(1);
  ind.Compute(true);
  EXPECT_EQ(ind.NbGenes(0), 2);
  EXPECT_EQ(ind.AlleleCount(0, 2), 1);
}

TEST(BioCalculable, IndividualCopy) {
  auto owner = Diploid(1, 2);
  TIndividual& source = *owner;
  source.SetName("src");
  source.Generation = 4;
  source.Sampler = "me";
  source.GetTypage(0).AddLog("log");
  source.GetTypage(0).SetDate("2001");
  source.Compute(true);
  TIndividual copy("other", 3, 1);
  source.AssignTo(copy);
  EXPECT_EQ(copy.Name, "src");
  EXPECT_EQ(copy.Label, "src");
  EXPECT_TRUE(copy.Computed);
  EXPECT_EQ(copy.NbTypages(), 1);
  EXPECT_EQ(copy.NbLoci(), 1);
  EXPECT_EQ(copy.DeclaredPloidy, 2);
  EXPECT_EQ(copy.Generation, 4);
  EXPECT_EQ(copy.Sampler, "");
  EXPECT_EQ(copy.GetTypage(0).Log().size(), 1u);
  EXPECT_EQ(copy.GetTypage(0).Date(), "");
  EXPECT_EQ(copy.AlleleCount(0, 2), 1);
  EXPECT_EQ(copy.GetHe(0), 1.0L);
}

// A copy's tallies start equal to its source's, then each changes on its own, and a copy
// outlives its source.
TEST(BioCalculable, CopiedTalliesChangeApart) {
  auto owner = Diploid(1, 2);
  owner->Compute(true);
  TIndividual copy("other", 0, 0);
  owner->AssignTo(copy);
  TIndividual second("second", 0, 0);
  copy.AssignTo(second);

  copy.AddAllele(0, 1, 1);
  EXPECT_EQ(copy.AlleleCount(0, 1), 2);
  EXPECT_EQ(owner->AlleleCount(0, 1), 1);
  EXPECT_EQ(second.AlleleCount(0, 1), 1);

  owner->AddAllele(0, 2, 3);
  owner->GetSampledLocus(0).NbGenes = 5;
  EXPECT_EQ(owner->AlleleCount(0, 2), 4);
  EXPECT_EQ(copy.AlleleCount(0, 2), 1);
  EXPECT_EQ(second.AlleleCount(0, 2), 1);
  EXPECT_EQ(copy.NbGenes(0), 2);

  owner.reset();
  EXPECT_EQ(second.NbGenes(0), 2);
  EXPECT_EQ(second.NbAllelesAt(0), 2);
  EXPECT_EQ(second.GetHe(0), 1.0L);
  second.TBioCalculable::Clear();
  EXPECT_EQ(second.NbLoci(), 0);
  EXPECT_EQ(copy.NbLoci(), 1);
  EXPECT_EQ(copy.AlleleCount(0, 1), 2);
}

} // namespace

// A genotype's date and log lines live apart from it: copies get their own, and clearing or
// copying into a genotype keeps its date, as before.
TEST(BioCalculable, GenotypeNotesAreCopiedApart) {
  TTypage t;
  EXPECT_EQ(t.Date(), "");
  EXPECT_TRUE(t.Log().empty());
  t.Add(3);
  t.SetDate("2004");
  t.AddLog("first");
  TTypage copy = t;
  copy.AddLog("second");
  EXPECT_EQ(t.Log().size(), 1u);
  EXPECT_EQ(copy.Log().size(), 2u);
  EXPECT_EQ(copy.Date(), "2004");
  copy.Clear();
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_TRUE(copy.Log().empty());
  EXPECT_EQ(copy.Date(), "2004");
  TTypage dest;
  dest.SetDate("1999");
  t.AssignTo(dest);
  EXPECT_EQ(dest.Date(), "1999");
  EXPECT_EQ(dest.Log().size(), 1u);
  EXPECT_EQ(dest.Items(0), 3);
  TTypage moved = std::move(copy);
  EXPECT_EQ(moved.Date(), "2004");
}
