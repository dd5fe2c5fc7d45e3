#include "plots/MembershipBars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "PlotTestSupport.h"

using namespace plottest;

namespace {

const std::vector<std::string> kPopulations{"A", "B", "C"};

Extended PolygonArea(const std::vector<TPlotPoint>& points) {
  Extended twice = 0;
  for (size_t k = 0; k < points.size(); ++k) {
    const TPlotPoint& a = points[k];
    const TPlotPoint& b = points[(k + 1) % points.size()];
    twice += a.X * b.Y - b.X * a.Y;
  }
  return std::fabs(twice) / 2;
}

} // namespace

TEST(MembershipBars, BarHeightsAreTheScoresInSampledOrder) {
  const Extended u = Undefined();
  auto table = ScoreTable(kPopulations, {{10, 70, 20},
                                         {60, 30, 10},
                                         {90, 5, 5},
                                         {20, 0, 80},
                                         {45, 55, 0},
                                         {u, u, u},
                                         {33, 33, 34},
                                         {70, 10, 20},
                                         {20, 20, 60}});
  const TPlotUnits units = Units(kPopulations, kPopulations, {1, 0, 0, 0, 1, 2, -1, 2, 2});
  // By sampled population (unknown last); within it, led by it first, then by leading
  // population, then by leading score; without scores last.
  const std::vector<int> order = MembershipOrder(*table, units);
  EXPECT_EQ(order, (std::vector<int>{2, 1, 3, 0, 4, 8, 7, 5, 6}));

  TPlotRun run;
  run.SelfAssignment = true;
  const TPlot plot = MembershipBars(*table, units, run);
  // Bar positions: the first two bars are those of units 2 and 1.
  const auto first = ItemsOf<TPlotRect>(plot, PopulationGroupId(0));
  ASSERT_EQ(first.size(), 8u); // every unit but the undefined one has a share of A
  const Extended x0 = first[0].X, step = first[1].X - first[0].X;
  ASSERT_GT(step, 0);
  // Heights per position and population; every full bar has the same total height.
  std::map<int, Extended> totals;
  std::map<std::pair<int, int>, Extended> heights;
  for (int j = 0; j < 3; ++j) {
    const auto rects = ItemsOf<TPlotRect>(plot, PopulationGroupId(j));
    for (const TPlotRect& r : rects) {
      const int p = static_cast<int>(std::lround((r.X - x0) / step));
      heights[{p, j}] = r.Height;
      totals[p] += r.Height;
      EXPECT_EQ(*r.Fill, rects.front().Fill.value());
    }
    EXPECT_TRUE(ItemsOf<TPlotPath>(plot, PopulationGroupId(j)).empty());
  }
  EXPECT_EQ(totals.count(7), 0u) << "the unit without scores draws nothing";
  const Extended full = totals[0];
  for (size_t p = 0; p < order.size(); ++p) {
    if (p == 7) continue;
    EXPECT_NEAR(totals[static_cast<int>(p)], full, 1e-9L) << p;
    const TResultats& result = table->Item(order[p]);
    for (int j = 0; j < 3; ++j) {
      const auto key = std::make_pair(static_cast<int>(p), j);
      const Extended height = heights.count(key) ? heights[key] : 0;
      EXPECT_NEAR(height, result.Row(j).Score / 100 * full, 1e-9L)
          << "position " << p << " population " << j;
    }
  }
  // Stacked in population order from the bottom: A's rectangle lies under B's.
  const auto b = ItemsOf<TPlotRect>(plot, PopulationGroupId(1));
  EXPECT_NEAR(first[0].Y, b[0].Y + b[0].Height, 1e-9L);

  // The sampled populations are named under their bars; an unknown one as "?".
  const std::vector<std::string> texts = Texts(plot);
  for (const char* name : {"A", "B", "C", "?"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
}

TEST(MembershipBars, BarsNarrowerThanAPixelMergeIntoOnePathPerPopulation) {
  const int n = 3000;
  std::vector<std::vector<Extended>> scores;
  std::vector<int> sampled;
  for (int i = 0; i < n; ++i) {
    scores.push_back(i % 2 ? std::vector<Extended>{50, 30, 20} : std::vector<Extended>{20, 30, 50});
    sampled.push_back(i < n / 2 ? 0 : 1);
  }
  auto table = ScoreTable(kPopulations, scores);
  const TPlot plot = MembershipBars(*table, Units(kPopulations, {"A", "B"}, sampled), TPlotRun{});
  Extended areas[3] = {0, 0, 0};
  for (int j = 0; j < 3; ++j) {
    const TPlotGroup& group = *plot.FindGroup(PopulationGroupId(j));
    ASSERT_EQ(group.Items.size(), 1u);
    const TPlotPath& path = std::get<TPlotPath>(group.Items.front());
    EXPECT_TRUE(path.Closed);
    for (const auto& part : path.Parts)
      areas[j] += PolygonArea(part);
  }
  // Every column averages its units: each population covers its mean share of the bars.
  const Extended total = areas[0] + areas[1] + areas[2];
  EXPECT_NEAR(areas[0] / total, 0.35L, 0.01L);
  EXPECT_NEAR(areas[1] / total, 0.30L, 1e-9L);
  EXPECT_NEAR(areas[2] / total, 0.35L, 0.01L);
}
