#include "plots/AssignmentMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "PlotTestSupport.h"
#include "app/InterfaceAutomate.h"
#include "app/RunDriver.h"
#include "base/Texts.h"
#include "dataset/PGDSStructure.h"

using namespace plottest;

namespace {

const std::vector<std::string> kPopulations{"A", "B", "C"};

class TQuietSink : public TRunSink {
public:
  void AppendJournal(const std::string&) override {}
  void Warning(const std::string&) override {}
  void Message(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void SetStatus(int, const std::string&) override {}
  void SetProgress(int) override {}
};

} // namespace

TEST(AssignmentMatrix, CountsFollowTheRankingAndTheDiagonalTheWellClassified) {
  const Extended u = Undefined();
  auto table = ScoreTable(kPopulations, {{80, 15, 5},
                                         {20, 70, 10},
                                         {50, 50, 0}, // tie at the top: well classified
                                         {10, 85, 5},
                                         {60, 10, 30},
                                         {u, u, u}});
  for (int i : {0, 2, 3})
    table->Item(i).WellClassified = true;
  const TPlotUnits units = Units(kPopulations, kPopulations, {0, 0, 0, 1, 2, 2});
  const TAssignmentCounts counts = AssignmentCounts(*table, units);
  EXPECT_EQ(counts.Counts, (std::vector<std::vector<int>>{{2, 1, 0}, {0, 1, 0}, {1, 0, 0}}));
  EXPECT_EQ(counts.RowTotals, (std::vector<int>{3, 1, 1}));
  EXPECT_EQ(counts.Correct, 3);
  EXPECT_EQ(counts.Total, 5);

  SetCurrentLanguage(lang::English);
  const TPlot plot = AssignmentMatrix(*table, units);
  SetCurrentLanguage(lang::French);
  // The diagonal framed, one cell per population.
  EXPECT_EQ(ItemsOf<TPlotRect>(plot, "diagonal").size(), 3u);
  const auto rowA = ItemsOf<TPlotText>(plot, PopulationGroupId(0));
  std::vector<std::string> texts;
  for (const TPlotText& t : rowA)
    texts.push_back(t.Text);
  // Name, then each cell's count and row percentage, then the share correctly assigned.
  EXPECT_EQ(texts, (std::vector<std::string>{"A", "2", "66.7 %", "1", "33.3 %", "0", "66.7 %"}));
  const auto summary = ItemsOf<TPlotText>(plot, "summary");
  ASSERT_EQ(summary.size(), 2u);
  EXPECT_EQ(summary[0].Text, "Correctly assigned: 60 % (3 / 5)");
}

TEST(AssignmentMatrix, DiagonalOfARealRunIsTheCorrectlyAssignedCount) {
  TPGDSStructure reference;
  reference.LoadFromFile(std::string(TARVIK_SOURCE_DIR) + "/examples/reference.gen",
                         TReadFormat::Unknown);
  TInterfaceAutomate automaton;
  automaton.Inputs.RefLoaded = true;
  automaton.Compute();
  TQuietSink sink;
  TRunDriver driver(sink);
  std::vector<std::string> loci;
  for (int l = 0; l < reference.LociCount(); ++l)
    loci.push_back(reference.LocusAt(l)->Name);
  const TRunOutcome outcome = driver.Start(automaton, TRunData{&reference, nullptr, loci});
  ASSERT_EQ(outcome.Status, TRunStatus::Completed);

  const TPlotUnits units = PlotUnitsOf(reference, reference, false);
  const TAssignmentCounts counts = AssignmentCounts(*driver.ResultTable, units);
  EXPECT_EQ(counts.Correct, outcome.Quality.CorrectlyAssigned);
  EXPECT_NEAR(100.0L * counts.Correct / counts.Total, outcome.Quality.CorrectlyAssignedPercentage,
              1e-9L);
  // Off the diagonal, every individual counts under its top-ranked population.
  std::vector<std::vector<int>> expected(units.Sampled.size(),
                                         std::vector<int>(units.Populations.size(), 0));
  for (int i = 0; i < driver.ResultTable->Count(); ++i) {
    const TResultats& result = driver.ResultTable->Item(i);
    const int sampled = units.SampledOf[static_cast<size_t>(i)];
    const int assigned = result.WellClassified ? sampled : LeadingPopulation(result, units);
    ++expected[static_cast<size_t>(sampled)][static_cast<size_t>(assigned)];
  }
  EXPECT_EQ(counts.Counts, expected);
  for (size_t s = 0; s < units.Sampled.size(); ++s)
    EXPECT_EQ(counts.RowTotals[s], reference.SampleAt(static_cast<int>(s))->NbIndividuals());
}
