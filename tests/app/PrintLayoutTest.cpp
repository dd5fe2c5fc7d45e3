// The printed reports laid out on pages: scale, page breaks, fixed cells.
#include <gtest/gtest.h>

#include "app/PrintLayout.h"
#include "engine/results/ResultTables.h"
#include "stats/StatisticsGrid.h"

namespace {

TPrintSource Source(int journalLines, int rows) {
  TPrintSource source;
  for (int i = 0; i < journalLines; ++i)
    source.Journal.push_back("line " + std::to_string(i));
  source.ColumnWidths = {40, 60, 100};
  source.RowHeight = 20;
  for (int r = 0; r < rows; ++r)
    source.Cells.push_back({{"u" + std::to_string(r), TRgb{}, false, true},
                            {"1.5", TRgb{128, 128, 128}, true, false},
                            {"", TRgb{}, false, false}});
  return source;
}

} // namespace

TEST(PrintLayout, ScalesToThePageWidthAndBreaksPages) {
  // 1900 units inside the margins; 95 % of them for 200 pixels of columns.
  const TPageGeometry a4{2100, 2970, 100};
  const TPrintLayout layout = LayOutPrint(Source(3, 30), a4);
  EXPECT_EQ(layout.Scaled(200), 1805);
  EXPECT_EQ(layout.Scaled(20), 180);
  // 15 rows of 180 units fit between the margins: 3 journal lines and 12 grid rows on the first
  // page, 15 on the second, 3 on the last.
  ASSERT_EQ(layout.Pages.size(), 3u);
  EXPECT_EQ(layout.Pages[0].Texts.size(), 3u + 12 * 3);
  EXPECT_EQ(layout.Pages[1].Texts.size(), 15u * 3);
  EXPECT_EQ(layout.Pages[2].Texts.size(), 3u * 3);

  const TPrintedText& journal = layout.Pages[0].Texts[0];
  EXPECT_EQ(journal.Text, "line 0");
  EXPECT_FALSE(journal.Cell);
  EXPECT_EQ(journal.Y, 100);
  // The first grid row comes after the journal; cells side by side with their scaled widths.
  const TPrintedText& unit = layout.Pages[0].Texts[3];
  const TPrintedText& score = layout.Pages[0].Texts[4];
  EXPECT_EQ(unit.Text, "u0  ");
  EXPECT_TRUE(unit.Fixed);
  EXPECT_EQ(unit.Y, 100 + 3 * 180);
  EXPECT_EQ(unit.X, 100);
  EXPECT_EQ(unit.Width, layout.Scaled(40));
  EXPECT_EQ(score.X, 100 + layout.Scaled(40));
  EXPECT_TRUE(score.RightAligned);
  EXPECT_EQ(score.Color.Red, 128);
  EXPECT_FALSE(score.Fixed);
  // Every page starts at the top margin and no row passes the bottom one.
  for (const TPrintedPage& page : layout.Pages) {
    EXPECT_EQ(page.Texts.front().Y, 100);
    for (const TPrintedText& text : page.Texts)
      EXPECT_LE(text.Y + text.Height, 2970 - 100);
  }

  // A page lower than a row still takes one row: no endless page break.
  const TPrintLayout tiny = LayOutPrint(Source(1, 4), {2100, 150, 10});
  EXPECT_EQ(tiny.Pages.size(), 5u);
  // An empty grid without journal prints one empty page.
  EXPECT_EQ(LayOutPrint(TPrintSource{}, a4).Pages.size(), 1u);
}

TEST(PrintLayout, GridsBecomeSourcesWithTheirFixedCells) {
  // One detected migrant: its home population in red.
  TResultNames names;
  names.Populations = {"A"};
  TTableResultats table(1, std::move(names));
  TResultats& migrant = table.Item(0);
  migrant.Caption = "x/1";
  migrant.SetCount(1);
  migrant.SetRow(0, 0.5L, 12.5L);
  migrant.CopyToSorted();
  migrant.IsMigrant = true;
  TGridSettings settings;
  settings.Populations = {"A"};
  const TResultsGrid results = FillMigrantGrid(table, TCriterion::RannalaMountain, 1, false,
                                               TMigrantStatistic::Home, settings);
  const TPrintSource source = ResultsPrintSource({"journal"}, results, {50, 30}, 18);
  ASSERT_EQ(source.Cells.size(), 3u);
  EXPECT_TRUE(source.Cells[1][1].Fixed); // second header row
  EXPECT_TRUE(source.Cells[2][0].Fixed); // the unit column
  EXPECT_FALSE(source.Cells[2][1].Fixed);
  EXPECT_TRUE(source.Cells[2][1].RightAligned);
  EXPECT_EQ(source.Cells[2][1].Color.Red, 255);
  EXPECT_EQ(source.Journal, std::vector<std::string>{"journal"});

  TStatisticsGrid stats;
  stats.Cells = {{"LOCUS", "", "A"}, {"L1", "x", "0.5"}};
  const TPrintSource statistics = StatisticsPrintSource(stats, {10, 10, 10}, 18);
  EXPECT_TRUE(statistics.Cells[0][2].Fixed);
  EXPECT_TRUE(statistics.Cells[1][1].Fixed);
  EXPECT_FALSE(statistics.Cells[1][2].Fixed);
  EXPECT_TRUE(statistics.Journal.empty());
}
