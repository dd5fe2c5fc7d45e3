#include "engine/common/Match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Texts.h"
#include "engine/common/MatchTexts.h"
#include "tests/engine/MatchTestSupport.h"

using matchtest::Build;
using matchtest::Raw;

namespace {

// (reference allele name or "-", target allele name or "-") of every entry of matched locus i.
std::vector<std::string> Entries(const TMatchPGDS& match, int i) {
  const TMatchedLoci& m = match.Locus(i);
  const TLocus& ref = *match.Reference->LocusAt(m.RefLocus);
  const TLocus& target = *match.Target->LocusAt(m.TargetLocus);
  std::vector<std::string> out;
  for (int j = 0; j < m.Count(); ++j) {
    const TMatchedAlleles& e = m.Allele(j);
    out.push_back((e.RefAllele < 0 ? "-" : ref.GetAllele(e.RefAllele)->Name) + "/" +
                  (e.TargetAllele < 0 ? "-" : target.GetAllele(e.TargetAllele)->Name));
  }
  return out;
}

} // namespace

TEST(Match, PairsAllelesByNameTargetFirst) {
  auto ref = Build(Raw({"L"}, {{"A", {{"100/102"}, {"104/100"}}}}));
  auto target = Build(Raw({"L"}, {{"X", {{"102/106"}}}}));
  const TMatchPGDS match(*ref, *target, {"L"});
  ASSERT_EQ(match.LocusCount(), 1);
  const TMatchedLoci& m = match.Locus(0);
  EXPECT_EQ(Entries(match, 0), (std::vector<std::string>{"102/102", "-/106", "100/-", "104/-"}));
  EXPECT_EQ(m.Count(), 4);
  EXPECT_EQ(m.NbTargetAlleles, 2);
  EXPECT_EQ(m.NbRefOnly, 2);
  EXPECT_FALSE(match.IsReferenceOnly(0, ref->LocusAt(0)->IndexOfAllele("102")));
  EXPECT_TRUE(match.IsReferenceOnly(0, ref->LocusAt(0)->IndexOfAllele("104")));

  // Counts read through the entries: 0 on the side without the allele.
  const TSample& pop = *ref->SampleAt(0);
  const TIndividual& ind = *target->AllIndividuals.Items(0);
  EXPECT_EQ(RefCount(pop, m, m.Allele(0)), 1);
  EXPECT_EQ(RefCount(pop, m, m.Allele(1)), 0);
  EXPECT_EQ(RefCount(pop, m, m.Allele(2)), 2);
  EXPECT_EQ(TargetCount(ind, m, m.Allele(1)), 1);
  EXPECT_EQ(TargetCount(ind, m, m.Allele(3)), 0);
  EXPECT_EQ(static_cast<double>(RefFrequency(pop, m, m.Allele(2))), 0.5);
  EXPECT_EQ(static_cast<double>(TargetFrequency(ind, m, m.Allele(0))), 0.5);
  EXPECT_EQ(static_cast<double>(TargetFrequency(ind, m, m.Allele(2))), 0.0);
}

TEST(Match, SelfAssignmentAndLocusOrder) {
  auto ds = Build(Raw({"L1", "L2", "L3"}, {{"A", {{"1/2", "5/5", "7"}, {"3/3", "6/", "8"}}}}));
  const TMatchPGDS self(*ds, *ds, {"L3", "L1"});
  ASSERT_EQ(self.LocusCount(), 2);
  EXPECT_EQ(self.Locus(0).TargetLocus, 2);
  EXPECT_EQ(self.Locus(1).TargetLocus, 0);
  for (int i = 0; i < self.LocusCount(); ++i) {
    const TMatchedLoci& m = self.Locus(i);
    EXPECT_EQ(m.RefLocus, m.TargetLocus);
    EXPECT_EQ(m.NbRefOnly, 0);
    for (const TMatchedAlleles& e : m.Alleles)
      EXPECT_EQ(e.RefAllele, e.TargetAllele);
  }

  // Loci at other positions in the two files: the selection's order rules.
  auto target = Build(Raw({"L2", "L3", "L1"}, {{"X", {{"5/6", "9", "2/4"}}}}));
  const TMatchPGDS match(*ds, *target, {"L1", "L2", "L3"});
  ASSERT_EQ(match.LocusCount(), 3);
  EXPECT_EQ(match.Locus(0).RefLocus, 0);
  EXPECT_EQ(match.Locus(0).TargetLocus, 2);
  EXPECT_EQ(match.Locus(1).TargetLocus, 0);
  EXPECT_EQ(match.Locus(2).RefLocus, 2);
  EXPECT_EQ(Entries(match, 0), (std::vector<std::string>{"2/2", "-/4", "1/-", "3/-"}));
  EXPECT_EQ(Entries(match, 2), (std::vector<std::string>{"-/9", "7/-", "8/-"}));

  // An empty selection and a locus without any allele.
  EXPECT_EQ(TMatchPGDS(*ds, *target, {}).LocusCount(), 0);
  auto bare = Build(Raw({"E"}, {{"A", {{""}}}}));
  const TMatchPGDS empty(*bare, *bare, {"E"});
  EXPECT_EQ(empty.Locus(0).Count(), 0);
}

TEST(Match, MissingLocusIsRefused) {
  auto ref = Build(Raw({"L1", "L2"}, {{"A", {{"1/2", "3/3"}}}}, "ref.gtx"));
  auto target = Build(Raw({"L1", "L9"}, {{"X", {{"1/1", "4/4"}}}}, "target.txt"));
  SetCurrentLanguage(lang::French);
  try {
    TMatchPGDS match(*ref, *target, {"L1", "L9"});
    FAIL() << "a locus absent from the reference was accepted";
  } catch (const ERangeError& e) {
    EXPECT_EQ(std::string(e.what()), "Le locus L9 est absent du fichier ref.gtx");
  }
  SetCurrentLanguage(lang::English);
  try {
    TMatchPGDS match(*ref, *target, {"L2"});
    FAIL() << "a locus absent from the target was accepted";
  } catch (const ERangeError& e) {
    EXPECT_EQ(std::string(e.what()), "Locus L2 is missing from file target.txt");
  }
  SetCurrentLanguage(lang::French);
}

TEST(Match, UsableLociOfIndividualsAndGroups) {
  auto ref = Build(Raw({"L1", "L2", "L3"}, {{"A", {{"1/2", "3/3", "5/5"}}}}));
  auto target = Build(
      Raw({"L1", "L2", "L3"}, {{"X", {{"1/", "", "5"}, {"", "", ""}}}, {"Y", {{"", "", ""}}}}));
  const TMatchPGDS match(*ref, *target, {"L3", "L2", "L1"});
  TIntegerList used, missing;
  missing.Add(42); // the lists are refilled, not appended to

  UsableLoci(match, *target->AllIndividuals.Items(0), used, missing);
  EXPECT_EQ(used.Items, (std::vector<std::int32_t>{0, 2}));
  EXPECT_EQ(missing.Items, (std::vector<std::int32_t>{1}));

  UsableLoci(match, *target->AllIndividuals.Items(1), used, missing);
  EXPECT_EQ(used.Count(), 0);
  EXPECT_EQ(missing.Items, (std::vector<std::int32_t>{0, 1, 2}));

  // A group uses its pooled tallies.
  UsableLoci(match, *target->SampleAt(0), used, missing);
  EXPECT_EQ(used.Items, (std::vector<std::int32_t>{0, 2}));
  UsableLoci(match, *target->SampleAt(1), used, missing);
  EXPECT_EQ(missing.Count(), 3);

  TIntegerList list;
  for (int v : {3, 1, 3, 2, 3})
    list.Add(v);
  list.Remove(3);
  EXPECT_EQ(list.Items, (std::vector<std::int32_t>{1, 2}));
  list.Remove(7);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list[1], 2);
}
