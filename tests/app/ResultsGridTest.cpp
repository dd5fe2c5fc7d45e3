#include "app/ResultsGrid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/Texts.h"
#include "engine/results/ResultTables.h"

namespace {

TGridSettings Settings(int populations, int scores) {
  TGridSettings s;
  for (int j = 0; j < populations; ++j)
    s.Populations.push_back("P" + std::to_string(j + 1));
  s.Scores = scores;
  return s;
}

// Result i over `values` (one per population P1, P2, ...); the ranked rows carry `scores`.
// Computed on loci L1 and L2 of L1, L2, L3.
void Fill(TTableResultats& table, int i, const std::string& caption,
          const std::vector<Extended>& values, const std::vector<Extended>& scores) {
  TResultNames names;
  for (size_t j = 0; j < values.size(); ++j)
    names.Populations.push_back("P" + std::to_string(j + 1));
  names.Loci = {"L1", "L2", "L3"};
  table.SetNames(std::move(names));
  TResultats& r = table.Item(i);
  r.Caption = caption;
  r.SetCount(static_cast<int>(values.size()));
  for (size_t j = 0; j < values.size(); ++j)
    r.SetRow(static_cast<int>(j), values[j], values[j]);
  r.CopyToSorted();
  for (size_t k = 0; k < scores.size(); ++k)
    r.SetSortedScore(static_cast<int>(k), scores[k]);
  r.UsedLoci.Assign(std::vector<std::int32_t>{0, 1}, 3);
  r.MissingLoci.Assign(std::vector<std::int32_t>{2}, 3);
}

} // namespace

TEST(ResultsGrid, AssignmentLayout) {
  TTableResultats table(2);
  Fill(table, 0, "A/a1", {1e-3L, 0, Undefined(), 1e-10L, 0.5L}, {99.0L, 0.01L, Undefined(), 0, 0});
  Fill(table, 1, "A/a2", {1, 1, 1, 1, 1}, {20, 20, 20, 20, 20});
  const TResultsGrid grid =
      FillAssignmentGrid(table, TCriterion::RannalaMountain, false, Settings(5, 5));
  ASSERT_EQ(grid.ColumnCount(), 24);
  ASSERT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Text(0, 1), Latin1("Echantillon assigné"));
  EXPECT_EQ(grid.Text(1, 0), "rang");
  EXPECT_EQ(grid.Text(1, 1), "1");
  EXPECT_EQ(grid.Text(5, 1), "%");
  EXPECT_EQ(grid.Text(16, 0), "P1");
  EXPECT_EQ(grid.Text(16, 1), "-Log10(L)");
  EXPECT_EQ(grid.Text(21, 0), "Nb. de locus");

  // Ranked scores: below the threshold (or undefined) in grey.
  EXPECT_EQ(grid.Text(2, 2), "99.000");
  EXPECT_EQ(grid.Cell(2, 2).Color, TCellColor::Black);
  EXPECT_EQ(grid.Cell(2, 2).Alignment, TCellAlignment::Right);
  EXPECT_EQ(grid.Cell(4, 2).Color, TCellColor::Grey) << "name cell greyed with its score";
  EXPECT_EQ(grid.Text(5, 2), "0.010");
  EXPECT_EQ(grid.Cell(5, 2).Color, TCellColor::Grey);
  EXPECT_EQ(grid.Text(8, 2), "NaN");
  EXPECT_EQ(grid.Cell(8, 2).Color, TCellColor::Grey);

  // Likelihoods as -log10, a zero one as "%f", an undefined one as NaN.
  EXPECT_EQ(grid.Text(16, 2), "3.000");
  EXPECT_EQ(grid.Text(17, 2), "0.000000");
  EXPECT_EQ(grid.Text(18, 2), "NaN");
  EXPECT_EQ(grid.Text(19, 2), "10.000");
  EXPECT_EQ(grid.Text(21, 2), "2 ");
  EXPECT_EQ(grid.Text(22, 2), "L1  L2  ");
  EXPECT_EQ(grid.Text(23, 2), "L3  ");
  EXPECT_EQ(grid.Cell(22, 2).Alignment, TCellAlignment::None);

  // Distances and criterion 9.
  EXPECT_EQ(FillAssignmentGrid(table, TCriterion::CavalliSforza, false, Settings(5, 0)).Text(1, 2),
            "0.001");
  EXPECT_EQ(FillAssignmentGrid(table, TCriterion::CavalliSforza, false, Settings(5, 0)).Text(1, 1),
            "distance");
  EXPECT_EQ(FillAssignmentGrid(table, TCriterion::Cornuet, false, Settings(5, 0)).Text(4, 2),
            "1e-10");
}

TEST(ResultsGrid, ProbabilitiesAndEmptyTable) {
  TTableResultats table(1);
  Fill(table, 0, "x", {0.004L, 0.25L, Undefined()}, {});
  TGridSettings s = Settings(3, 5);
  s.Threshold = 0.01L;
  s.ProbabilityFormat = "%.2f";
  const TResultsGrid grid = FillAssignmentGrid(table, TCriterion::RannalaMountain, true, s);
  ASSERT_EQ(grid.ColumnCount(), 1 + 3 + 3) << "no score triples with simulation";
  EXPECT_EQ(grid.Text(1, 1), Latin1("probabilité"));
  EXPECT_EQ(grid.Text(1, 2), "0.00");
  EXPECT_EQ(grid.Cell(1, 2).Color, TCellColor::Grey);
  EXPECT_EQ(grid.Text(2, 2), "0.25");
  EXPECT_EQ(grid.Cell(2, 2).Color, TCellColor::Black);
  EXPECT_EQ(grid.Cell(3, 2).Color, TCellColor::Black) << "undefined is not below alpha";

  const TTableResultats empty;
  const TResultsGrid none =
      FillAssignmentGrid(empty, TCriterion::RannalaMountain, false, Settings(2, 2));
  ASSERT_EQ(none.RowCount(), 3);
  const std::string text = ResultsExportText(&empty, none);
  EXPECT_EQ(text.substr(text.size() - 13), "\n" + std::string(11, ';') + "\n")
      << "one empty data row";
}

TEST(ResultsGrid, MigrantLayout) {
  TTableResultats table(2);
  Fill(table, 0, "A/a1", {0.1L, 0.9L}, {});
  table.Item(0).SetSortedScore(0, 1.5L);
  table.Item(0).IsMigrant = true;
  table.Item(0).LikeliestPopulation = 1;
  Fill(table, 1, "A/a2", {0.9L, 0.1L}, {});
  table.Item(1).SetSortedScore(0, Undefined());
  const TResultsGrid grid = FillMigrantGrid(table, TCriterion::RannalaMountain, 1, false,
                                            TMigrantStatistic::HomeOverMax, Settings(2, 3));
  ASSERT_EQ(grid.ColumnCount(), 1 + 3 + 2 + 3);
  EXPECT_EQ(grid.Text(1, 1), "origine");
  EXPECT_EQ(grid.Text(2, 1), "-Log10(L_origine / L_max)");
  EXPECT_EQ(grid.Text(4, 1), "-Log10(L)");
  EXPECT_EQ(grid.Text(1, 2), "P1");
  EXPECT_EQ(grid.Text(2, 2), "1.500");
  EXPECT_EQ(grid.Cell(2, 2).Color, TCellColor::Red);
  EXPECT_EQ(grid.Cell(3, 2).Color, TCellColor::Red);
  EXPECT_EQ(grid.Cell(4, 2).Color, TCellColor::Grey);
  EXPECT_EQ(grid.Cell(5, 2).Color, TCellColor::Green) << "the likeliest population";
  EXPECT_EQ(grid.Cell(2, 3).Color, TCellColor::Grey) << "undefined statistic";
  EXPECT_EQ(FormatValue("%.3f", -std::log10(1.0L)), "0.000") << "not -0.000";

  EXPECT_EQ(FillMigrantGrid(table, TCriterion::RannalaMountain, 1, true,
                            TMigrantStatistic::HomeOverMaxNotHome, Settings(2, 3))
                .Text(2, 1),
            "-Log10(L_origine / L_max_non_origine)");
  EXPECT_EQ(FillMigrantGrid(table, TCriterion::RannalaMountain, 1, true,
                            TMigrantStatistic::HomeOverMaxNotHome, Settings(2, 3))
                .Text(3, 1),
            Latin1("probabilité"));
  EXPECT_EQ(FillMigrantGrid(table, TCriterion::NeiMinimum, 1, false, TMigrantStatistic::Home,
                            Settings(2, 3))
                .Text(2, 1),
            "L_origine");
  SetCurrentLanguage(lang::English);
  EXPECT_EQ(FillMigrantGrid(table, TCriterion::NeiMinimum, 1, false,
                            TMigrantStatistic::HomeOverMaxNotHome, Settings(2, 3))
                .Text(2, 1),
            "L_home / L_max_not_home");
  SetCurrentLanguage(lang::French);
}

TEST(ResultsGrid, Export) {
  TTableResultats table(1);
  Fill(table, 0, "x", {1e-2L}, {100});
  table.Journal = {"j1", "j2"};
  const std::string french = ResultsExportText(
      &table, FillAssignmentGrid(table, TCriterion::BaudouinLebrun, false, Settings(1, 1)));
  EXPECT_EQ(french, Latin1("j1\nj2\n"
                           ";rang;score;;P1;Nb. de locus;Locus utilisés;Locus manquants\n"
                           "Echantillon assigné;1;%;;'-Log10(L);;;\n"
                           "x;P1;100.000;;2.000;2 ;L1  L2  ;L3  \n"));

  SetCurrentLanguage(lang::English);
  const std::string english = ResultsExportText(
      nullptr, FillAssignmentGrid(table, TCriterion::BaudouinLebrun, false, Settings(1, 0)));
  const std::string migrants =
      ResultsExportText(nullptr, FillMigrantGrid(table, TCriterion::BaudouinLebrun, 0, false,
                                                 TMigrantStatistic::Home, Settings(1, 0)));
  SetCurrentLanguage(lang::French);
  EXPECT_EQ(english.substr(0, english.find('\n', english.find('\n') + 1) + 1),
            ";P1;Nb. of loci;Used loci;Missing loci\nAssigned sample;'-log(L);;;\n");
  EXPECT_NE(migrants.find(";-log(L_home);"), std::string::npos)
      << "migrant headers are not prefixed";
  EXPECT_NE(migrants.find(";'-log(L);"), std::string::npos);
}
