#include <gtest/gtest.h>

#include "PlotTestSupport.h"
#include "plots/ExclusionPlot.h"
#include "plots/MigrantPlot.h"
#include "plots/Palette.h"

using namespace plottest;

namespace {

const std::vector<std::string> kPopulations{"A", "B", "C"};

TPlotRun SimulatedRun(bool self) {
  TPlotRun run;
  run.SimulationOn = true;
  run.SelfAssignment = self;
  run.Threshold = 0.01L;
  return run;
}

// Probabilities of four units; row values are the probabilities.
std::unique_ptr<TTableResultats> Probabilities() {
  const Extended u = Undefined();
  return ScoreTable(kPopulations,
                    {{0.5L, 0.002L, 0}, {0.009L, 0.2L, 0.011L}, {u, 0.3L, 0.05L}, {0.01L, 0.8L, 1e-6L}});
}

} // namespace

TEST(ExclusionPlot, PopulationsBelowAlphaAreHollowAndTheSampledOneFramed) {
  auto table = Probabilities();
  const TPlotUnits units = Units(kPopulations, kPopulations, {0, 1, 1, 2});
  const TPlot plot = ExclusionPlot(*table, units, SimulatedRun(true));
  for (int j = 0; j < 3; ++j) {
    const auto markers = ItemsOf<TPlotRect>(plot, PopulationGroupId(j));
    int defined = 0, below = 0, hollow = 0, framed = 0;
    for (int i = 0; i < table->Count(); ++i) {
      const Extended p = table->Item(i).Row(j).Value;
      if (IsUndefined(p)) continue;
      ++defined;
      if (p < 0.01L) ++below;
    }
    for (const TPlotRect& m : markers) {
      if (m.Stroke && *m.Stroke == kPlotBlack)
        ++framed;
      else if (!m.Fill)
        ++hollow;
    }
    EXPECT_EQ(static_cast<int>(markers.size()) - framed, defined) << j;
    EXPECT_EQ(hollow, below) << j;
    // Units 0 (A), 1 and 2 (B), 3 (C) were sampled there; unit 2 has no value for A.
    EXPECT_EQ(framed, j == 1 ? 2 : 1) << j;
  }
  // Markers at or above alpha lie above the alpha line, the others below it.
  const auto marks = ItemsOf<TPlotLine>(plot, "marks");
  ASSERT_FALSE(marks.empty());
  const Extended alphaY = marks.front().From.Y;
  EXPECT_TRUE(marks.front().Dashed);
  for (int j = 0; j < 3; ++j)
    for (const TPlotRect& m : ItemsOf<TPlotRect>(plot, PopulationGroupId(j)))
      if (m.Stroke != kPlotBlack) {
        EXPECT_EQ(m.Fill.has_value(), m.Y + m.Height / 2 <= alphaY + 1e-9L);
      }
}

TEST(ExclusionPlot, NarrowUnitsDrawRangePathsPaleBelowAlpha) {
  std::vector<std::vector<Extended>> rows;
  for (int i = 0; i < 5000; ++i)
    rows.push_back({0.5L, 0.001L * (i % 7), 1.0L / (i + 2)});
  auto table = ScoreTable(kPopulations, rows);
  const TPlot plot =
      ExclusionPlot(*table, Units(kPopulations, kPopulations, std::vector<int>(5000, 0)),
                    SimulatedRun(false));
  const Extended alphaY = ItemsOf<TPlotLine>(plot, "marks").front().From.Y;
  // A: always kept; B: 0 to 0.006, always excluded; C: from 1/2 down to 1/5001, both.
  const std::vector<std::vector<bool>> sides{{true}, {false}, {true, false}};
  for (int j = 0; j < 3; ++j) {
    const auto paths = ItemsOf<TPlotPath>(plot, PopulationGroupId(j));
    ASSERT_EQ(paths.size(), sides[static_cast<size_t>(j)].size()) << j;
    for (size_t k = 0; k < paths.size(); ++k) {
      const bool kept = sides[static_cast<size_t>(j)][k];
      EXPECT_EQ(*paths[k].Stroke == PopulationColor(j), kept) << j;
      EXPECT_FALSE(paths[k].Closed);
      EXPECT_LE(paths[k].Parts.size(), 1000u);
      for (const auto& part : paths[k].Parts)
        for (const TPlotPoint& point : part) {
          if (kept) {
            EXPECT_LE(point.Y, alphaY + 1e-9L) << j;
          } else {
            EXPECT_GE(point.Y, alphaY - 1e-9L) << j;
          }
        }
    }
  }
}

TEST(MigrantPlot, FlaggedIndividualsAreRedInTheirSampledPopulation) {
  // The home row first: statistic as score, probability as value.
  auto table = NamedTable(kPopulations, 5);
  const Extended stats[] = {0.5L, 3.2L, 1.1L, Undefined(), 2.0L};
  const Extended probabilities[] = {0.4L, 0.001L, 0.2L, Undefined(), 0.005L};
  const bool migrant[] = {false, true, false, false, true};
  for (int i = 0; i < 5; ++i) {
    TResultats& r = table->Item(i);
    SetUnit(r, "i" + std::to_string(i), kPopulations, {1, 1, 1}, {1, 1, 1});
    r.SetHomeRow(0, probabilities[i], stats[i]); // population A
    r.IsMigrant = migrant[i];
  }
  const TPlotUnits units = Units(kPopulations, kPopulations, {0, 0, 1, 1, 2});
  for (const bool simulated : {false, true}) {
    TPlotRun run = SimulatedRun(true);
    run.Migrants = true;
    run.SimulationOn = simulated;
    const TPlot plot = MigrantPlot(*table, units, run);
    const int perUnit = simulated ? 2 : 1;
    const std::vector<int> expectedRed{1, 0, 1};
    for (int s = 0; s < 3; ++s) {
      int red = 0, all = 0;
      for (const TPlotRect& m : ItemsOf<TPlotRect>(plot, PopulationGroupId(s))) {
        ++all;
        if (*m.Fill == kPlotRed) ++red;
      }
      EXPECT_EQ(red, perUnit * expectedRed[static_cast<size_t>(s)]) << s;
      // Individual 3 has no statistic and draws nothing.
      EXPECT_EQ(all, perUnit * (s == 0 ? 2 : 1)) << s;
    }
    // A threshold line: alpha with simulation, a ratio of 1 for the ratio statistic without.
    EXPECT_EQ(ItemsOf<TPlotLine>(plot, "marks").front().Dashed, true);
  }
}
