#include <gtest/gtest.h>

#include <vector>

#include "model/Genotypes.h"
#include "model/Individual.h"
#include "model/Sample.h"

namespace {

std::vector<int> Codes(const TGenotypes& g, int locus) {
  const auto a = g.Alleles(locus);
  return {a.begin(), a.end()};
}

} // namespace

// A genotype of more copies than the slots widens every locus without moving another locus's
// copies or ploidy; a copy shares the genotypes, and either changing them leaves the other as
// it was, notes included.
TEST(Genotypes, WideningAndSharedCopies) {
  TGenotypes g;
  g.AddLoci(3);
  g.Add(0, 4);
  g.Add(0, 7);
  g.SetPloidy(1, 2); // two missing copies
  g.Add(2, 9);
  g.SetDate(2, "2003");
  for (std::int16_t c : {1, 2, 3, 5}) g.Add(1, c); // a tetraploid: wider slots
  EXPECT_EQ(Codes(g, 0), (std::vector<int>{4, 7}));
  EXPECT_EQ(Codes(g, 1), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(g.Ploidy(1), 4);
  EXPECT_EQ(Codes(g, 2), (std::vector<int>{9}));
  EXPECT_EQ(g.Ploidy(2), 1);
  g.AddLoci(1);
  EXPECT_EQ(g.Ploidy(3), 0);
  EXPECT_TRUE(g.Alleles(3).empty());
  EXPECT_EQ(Codes(g, 1), (std::vector<int>{1, 2, 3, 5}));

  TGenotypes copy = g;
  copy.ClearLocus(0);
  copy.Add(0, 8);
  copy.AddLog(2, "checked");
  copy.ClearDates();
  EXPECT_EQ(Codes(g, 0), (std::vector<int>{4, 7}));
  EXPECT_EQ(g.Ploidy(0), 2);
  EXPECT_TRUE(g.Log(2).empty());
  EXPECT_EQ(g.Date(2), "2003");
  EXPECT_EQ(Codes(copy, 0), (std::vector<int>{8}));
  EXPECT_EQ(copy.Ploidy(0), 1);
  EXPECT_EQ(copy.Log(2).size(), 1u);
  EXPECT_EQ(copy.Date(2), "");
}

// An individual's tallies are counted from its genotypes when first read, also after its sample
// counted it; tallies written directly are read as they stand; the sample leaves its
// individuals without tallies of their own.
TEST(Genotypes, IndividualTalliesAreDerivedWhenRead) {
  TSample sample("pop", 1, 2);
  auto first = std::make_unique<TIndividual>("a", 1, 2);
  first->AddGene(0, 3);
  first->AddGene(0, 1);
  TIndividual* a = sample.Individuals.Adopt(std::move(first));
  auto second = std::make_unique<TIndividual>("b", 1, 2);
  second->AddGene(0, 1);
  second->AddMissingGene(0);
  TIndividual* b = sample.Individuals.Adopt(std::move(second));
  sample.Compute(true);
  EXPECT_EQ(sample.AlleleCount(0, 1), 2);
  EXPECT_FALSE(a->SampledLoci.Stored());
  EXPECT_TRUE(a->Computed);

  a->GetTypage(0).Clear();
  a->AddGene(0, 5);
  a->AddGene(0, 5);
  EXPECT_EQ(a->AlleleCount(0, 5), 2);
  EXPECT_EQ(a->AlleleCount(0, 3), 0);
  EXPECT_EQ(a->GetHo(0), 0.0L);
  EXPECT_EQ(b->NbGenes(0), 1);
  EXPECT_EQ(b->AlleleFrequency(0, 1), 1.0L);
  EXPECT_TRUE(IsUndefined(b->GetHo(0)));

  TIndividual loose("c", 1, 2);
  loose.AddGene(0, 2);
  loose.AddAllele(0, 6, 3);
  EXPECT_EQ(loose.AlleleCount(0, 6), 3);
  EXPECT_EQ(loose.AlleleCount(0, 2), 0);
}
