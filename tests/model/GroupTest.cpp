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

// A sample owning its individuals, one diploid locus.
std::unique_ptr<TSample> MakeSample(const std::string& name,
                                    std::vector<std::pair<int, int>> genotypes) {
  auto s = std::make_unique<TSample>(name, 1, 10);
  int k = 0;
  for (auto [a, b] : genotypes) {
    auto ind = std::make_unique<TIndividual>("ind" + std::to_string(++k), 1, 2);
    ind->AddGene(0, static_cast<std::int16_t>(a));
    ind->AddGene(0, static_cast<std::int16_t>(b));
    s->Individuals.Adopt(std::move(ind));
  }
  return s;
}

TEST(Group, SampleStatisticsAndLeaveOneOut) {
  // Codes 0 = allele 120, 1 = allele 124: individuals 120/124 and 120/120.
  auto s = MakeSample("popA", {{0, 1}, {0, 0}});
  s->Compute(true);
  EXPECT_EQ(s->NbGenes(0), 4);
  EXPECT_EQ(s->AlleleCount(0, 0), 3);
  EXPECT_EQ(s->AlleleFrequency(0, 0), 0.75L);
  EXPECT_EQ(s->AlleleFrequency(0, 1), 0.25L);
  EXPECT_EQ(s->GetHo(0), 0.5L);
  EXPECT_NEAR(static_cast<double>(s->GetHe(0)), 0.5, 1e-18);
  EXPECT_EQ(s->NbHomozygotes(0), 1);
  EXPECT_EQ(s->NbHeterozygotes(0), 1);
  EXPECT_TRUE(s->Individuals.Items(0)->Computed);

  auto without = s->CopyWithout(0, false);
  EXPECT_EQ(without->NbIndividuals(), 1);
  EXPECT_EQ(without->Individuals.Items(0), s->Individuals.Items(1)); // shared, not copied
  EXPECT_EQ(without->AlleleFrequency(0, 0), 1.0L);
  EXPECT_EQ(without->Name, "popA");
  EXPECT_TRUE(without->Computed);
  auto counted = s->CopyWithout(1, true);
  EXPECT_FALSE(counted->Computed);
  EXPECT_EQ(counted->NbGenes(0), 2);
  EXPECT_EQ(counted->AlleleCount(0, 1), 1);
  auto all = s->CopyWithout(7, false);
  EXPECT_EQ(all->NbIndividuals(), 2);
  // The source is unchanged and still owns its individuals.
  EXPECT_EQ(s->AlleleFrequency(0, 0), 0.75L);
  EXPECT_EQ(s->NbIndividuals(), 2);
  EXPECT_EQ(s->Individuals.Items(1)->Label, "popA/ind2");
}

TEST(Group, LabelsComeFromTheFirstOwningVector) {
  TSample popA("popA", 1, 10), popB("popB", 1, 10);
  TIndividual ind("ind1", 1, 2);
  popA.Individuals.Add(&ind);
  EXPECT_EQ(ind.Label, "popA/ind1");
  ind.Compute(true);
  popB.Individuals.Add(&ind);
  EXPECT_EQ(ind.Label, "popA/ind1");
  TVectorIndividuals noOwner;
  TIndividual other("x", 1, 2);
  noOwner.Add(&other);
  EXPECT_EQ(other.Label, "x");
  popA.Individuals.Clear(false);
  popB.Individuals.Clear(false);
}

TEST(Group, PoolsMembersAndFindsInTheTree) {
  auto s1 = MakeSample("s1", {{0, 1}, {1, 1}});
  auto s2 = MakeSample("s2", {{0, 0}, {2, 0}});
  auto s3 = MakeSample("s3", {{2, 2}});
  TGroup root("Root", 1, 5);
  auto* sub = static_cast<TGroup*>(root.Members.Adopt(std::make_unique<TGroup>("sub", 1, 5)));
  auto* subsub = static_cast<TGroup*>(sub->Members.Adopt(std::make_unique<TGroup>("deep", 1, 5)));
  sub->Members.Add(s1.get());
  sub->Members.Add(s2.get());
  subsub->Members.Add(s3.get());
  root.Compute(true);
  EXPECT_EQ(sub->NbIndividuals(), 5); // members first, then the sub-group
  EXPECT_EQ(sub->NbGenes(0), 10);
  EXPECT_EQ(root.NbIndividuals(), 5);
  EXPECT_EQ(root.AlleleCount(0, 2), 3);
  EXPECT_TRUE(s1->Computed);
  EXPECT_NEAR(static_cast<double>(sub->GetHo(0)), 0.4, 1e-18);

  EXPECT_EQ(root.FindGroup("Root"), &root);
  EXPECT_EQ(root.FindGroup("s3"), s3.get());
  EXPECT_EQ(root.FindGroup("deep"), subsub);
  EXPECT_EQ(root.FindGroup("nope"), nullptr);

  // A copy of the tree owns copies of every member and individual.
  TGroup copy("c", 0, 0);
  root.AssignTo(copy);
  ASSERT_EQ(copy.Members.Count(), 1);
  auto* subCopy = dynamic_cast<TGroup*>(copy.Members.Items(0));
  ASSERT_NE(subCopy, nullptr);
  EXPECT_NE(subCopy, sub);
  EXPECT_EQ(subCopy->Members.Count(), 3);
  EXPECT_NE(copy.FindGroup("s1"), s1.get());
  EXPECT_EQ(copy.NbIndividuals(), 5);
  EXPECT_EQ(copy.AlleleCount(0, 2), 3);
  EXPECT_NE(copy.Individuals.Items(0), root.Individuals.Items(0));
}

TEST(Group, SampleWithoutGenesAtALocusHasUndefinedFigures) {
  TSample s("empty", 2, 10);
  auto ind = std::make_unique<TIndividual>("i", 2, 2);
  ind->AddGene(0, 1);
  ind->AddGene(0, 1);
  ind->AddMissingGene(1);
  ind->AddMissingGene(1);
  s.Individuals.Adopt(std::move(ind));
  s.Compute(true);
  EXPECT_EQ(s.NbGenes(1), 0);
  EXPECT_EQ(s.NbAllelesAt(1), 0);
  EXPECT_TRUE(IsUndefined(s.GetHo(1)));
  EXPECT_TRUE(IsUndefined(s.GetHe(1)));
  EXPECT_EQ(s.AlleleFrequency(1, 1), 0.0L);
  EXPECT_EQ(s.GetHe(0), 0.0L); // one homozygote: two genes, no diversity
  EXPECT_EQ(s.GetHo(0), 0.0L);
}

} // namespace

// Recounting a sample keeps the alleles its tally already listed (with a count of 0 when no
// individual carries them any more) and merges the new ones in code order.
TEST(Group, RecountingMergesAllelesInCodeOrder) {
  auto s = MakeSample("pop", {{5, 2}, {2, 9}});
  s->Compute(true);
  ASSERT_EQ(s->GetSampledLocus(0).Count(), 3);
  s->GetSampledLocus(0).Insert(2, 7, 0); // listed without any copy: 2, 5, 7, 9
  const auto genotype = s->Individuals.Items(1)->GetTypage(0);
  genotype.Clear();
  genotype.Add(0);
  genotype.Add(0);
  s->Computed = false;
  s->Compute(true);
  const TSampledLocus& t = s->GetSampledLocus(0);
  std::vector<std::pair<int, int>> features;
  for (const TAlleleFeatures& f : t.Features)
    features.emplace_back(f.AlleleCode, f.Count);
  const std::vector<std::pair<int, int>> expected = {{0, 2}, {2, 1}, {5, 1}, {7, 0}, {9, 0}};
  EXPECT_EQ(features, expected);
  EXPECT_EQ(t.NbGenes, 4);
  EXPECT_EQ(s->AlleleFrequency(0, 0), 0.5L);
  EXPECT_EQ(s->AlleleFrequency(0, 9), 0.0L);
}
