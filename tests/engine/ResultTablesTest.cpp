#include "engine/results/ResultTables.h"

#include "engine/common/EngineTexts.h"
#include "engine/criteria/Criteria.h"
#include "engine/simulation/Simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>

namespace {

TResultats WithScores(const std::vector<Extended>& scores) {
  TResultNames names;
  for (size_t k = 0; k < scores.size(); ++k)
    names.Populations.push_back("p" + std::to_string(k));
  TResultats r = TTableResultats(1, std::move(names)).Item(0);
  r.SetCount(static_cast<int>(scores.size()));
  for (int k = 0; k < r.Count; ++k)
    r.SetRow(k, 0, scores[static_cast<size_t>(k)]);
  r.CopyToSorted();
  r.SortRows();
  return r;
}

std::vector<std::string> SortedNames(const TResultats& r) {
  std::vector<std::string> names;
  for (int k = 0; k < r.Count; ++k)
    names.push_back(r.SortedRow(k).Name);
  return names;
}

} // namespace

TEST(ResultTables, SortsSmallRangesByExchange) {
  TResultats r = WithScores({10, 30, 20});
  EXPECT_EQ(SortedNames(r), (std::vector<std::string>{"p1", "p2", "p0"}));
  EXPECT_EQ(r.Row(0).Score, 10); // the unsorted rows stay
  // Equal scores are never exchanged; an undefined score compares false and keeps its place.
  EXPECT_EQ(SortedNames(WithScores({0, 0, 0, 0, 0})),
            (std::vector<std::string>{"p0", "p1", "p2", "p3", "p4"}));
  EXPECT_EQ(SortedNames(WithScores({Undefined(), 5, 10})),
            (std::vector<std::string>{"p0", "p2", "p1"}));
}

TEST(ResultTables, SortsLargeRangesDescending) {
  std::mt19937 random(7);
  for (int n = 6; n <= 60; ++n) {
    std::vector<Extended> scores;
    for (int k = 0; k < n; ++k)
      scores.push_back(k % 7 == 3 ? 1.5L : k * 1.5L); // some ties
    std::shuffle(scores.begin(), scores.end(), random);
    TResultats r = WithScores(scores);
    for (int k = 0; k < n; ++k) {
      const RResultat row = r.SortedRow(k);
      ASSERT_TRUE(k == 0 || r.SortedRow(k - 1).Score >= row.Score) << n << " rows";
      ASSERT_EQ(scores[std::stoul(row.Name.substr(1))], row.Score); // rows move whole
    }
    // With undefined scores the order is unspecified, but no row is lost or duplicated.
    for (int k = 0; k < n; k += 3)
      scores[static_cast<size_t>(k)] = Undefined();
    std::vector<std::string> names = SortedNames(WithScores(scores));
    std::sort(names.begin(), names.end());
    ASSERT_EQ(std::unique(names.begin(), names.end()), names.end());
    ASSERT_EQ(static_cast<int>(names.size()), n);
  }
}

TEST(ResultTables, StorageTableAndJournal) {
  TResultats r;
  EXPECT_EQ(static_cast<size_t>(r.Capacity()), 10u);
  r.SetCount(12);
  r.SetCount(3);
  EXPECT_EQ(r.Count, 3);
  EXPECT_EQ(static_cast<size_t>(r.Capacity()), 12u);
  r.CopyToSorted();
  EXPECT_EQ(static_cast<size_t>(r.SortedCount()), 3u);

  TTableResultats table(2);
  table.Item(0).Caption = "old";
  table.AddLine("old line");
  table.SetCount(3);
  EXPECT_EQ(table.Count(), 3);
  EXPECT_TRUE(table.Item(0).Caption.empty());
  EXPECT_TRUE(table.Journal.empty());

  const std::regex dateTime("[0-3][0-9]/[01][0-9]/[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9]");
  table.AddLine(kStatusEnd());
  table.AddBlock({"Affectation des individus.", "Lancement du calcul"});
  ASSERT_EQ(table.Journal.size(), 4u);
  EXPECT_TRUE(std::regex_match(table.Journal[0].substr(0, 19), dateTime));
  EXPECT_EQ(table.Journal[0].substr(19), " - " + Latin1("Terminé."));
  EXPECT_TRUE(std::regex_match(table.Journal[1].substr(0, 19), dateTime));
  EXPECT_EQ(table.Journal[1].substr(19), " :");
  EXPECT_EQ(table.Journal[2], "        Affectation des individus.");
  EXPECT_EQ(table.Journal[3], "        Lancement du calcul");

  EXPECT_EQ(NameOfCriterion(static_cast<TCriterion>(11)), "<inconnue>");
  SetCurrentLanguage(lang::English);
  EXPECT_EQ(NameOfCriterion(TCriterion::NeiDA), "Nei's et al. DA distance (1983)");
  EXPECT_EQ(NameOfSimulation(TSimulationAlgorithm::Paetkau2004), "Paetkau et al. (2004)");
  EXPECT_EQ(kMigrantCornuetHome(), "L_origine");
  SetCurrentLanguage(lang::French);
  EXPECT_EQ(NameOfSimulation(TSimulationAlgorithm::Paetkau2004), "Paetkau et al. (2003)");
}

TEST(ResultTables, LocusSetsAndHomeRowResolveTheirNames) {
  TResultNames names;
  names.Populations = {"A 1", "A 2", "B"};
  names.Samples = {"A", "A", "B"}; // two samples named A
  for (int l = 0; l < 130; ++l)
    names.Loci.push_back("L" + std::to_string(l));
  TTableResultats table(1, std::move(names));
  TResultats& r = table.Item(0);

  // Subsets across words of bits, every locus, no locus.
  r.UsedLoci.Assign(std::vector<std::int32_t>{1, 63, 64, 129}, 130);
  EXPECT_EQ(r.UsedLoci.Count(), 4);
  EXPECT_EQ(r.LocusNames(r.UsedLoci), (std::vector<std::string>{"L1", "L63", "L64", "L129"}));
  std::vector<std::int32_t> all(130);
  for (int l = 0; l < 130; ++l)
    all[static_cast<size_t>(l)] = l;
  r.MissingLoci.Assign(all, 130);
  EXPECT_EQ(r.LocusNames(r.MissingLoci), table.Names().Loci);
  r.MissingLoci.Clear();
  EXPECT_TRUE(r.LocusNames(r.MissingLoci).empty());

  // The home row carries its sample's name as read and its own value, also once ranked.
  r.SetCount(3);
  r.SetRow(0, 0.1L, 1);
  r.SetRow(1, 0.2L, 2);
  r.SetRow(2, 0.3L, 3);
  r.CopyToSorted();
  r.SetHomeRow(table.Names().SampleIndex(1), 0.9L, 0.5L);
  EXPECT_EQ(r.SortedRow(0).Name, "A");
  EXPECT_EQ(r.SortedRow(0).Value, 0.9L);
  EXPECT_EQ(r.Row(1).Name, "A 2");
  r.SortRows();
  EXPECT_EQ(r.SortedRow(0).Name, "B");
  EXPECT_EQ(r.SortedRow(0).Value, 0.3L);
  EXPECT_EQ(r.SortedRow(2).Name, "A");
  EXPECT_EQ(r.SortedRow(2).Value, 0.9L);
  r.SetHomeRow(-1, Undefined(), Undefined());
  EXPECT_EQ(r.SortedRow(0).Name, "");
  EXPECT_TRUE(IsUndefined(r.SortedRow(0).Value));
}
