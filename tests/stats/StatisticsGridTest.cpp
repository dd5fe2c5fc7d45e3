#include "stats/StatisticsGrid.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dataset/PGDSStructure.h"
#include "base/Errors.h"
#include "base/Texts.h"
#include "stats/StatisticsExport.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

namespace {

using TRow = std::vector<std::string>;

// Builds a data set in memory the way the text readers do: loci first, then samples whose
// individuals the data set owns. Genotypes are written "120/124", a missing copy as "-".
class TDataSetBuilder {
public:
  TPGDSStructure DataSet;

  void Locus(const std::string& name, const std::vector<std::string>& alleles) {
    TLocus* locus = DataSet.Loci.Adopt(std::make_unique<TLocus>(name, 5));
    for (const std::string& a : alleles)
      locus->FindOrAddAllele(a, std::stoi(a), std::stoi(a), "");
  }

  TSample* Sample(const std::string& name) {
    return static_cast<TSample*>(DataSet.SamplesGroup.Members.Adopt(
        std::make_unique<TSample>(name, DataSet.LociCount(), 10)));
  }

  void Individual(TSample* sample, const std::string& name,
                  const std::vector<std::string>& genotypes) {
    TIndividual* ind =
        DataSet.AllIndividuals.Adopt(std::make_unique<TIndividual>(name, DataSet.LociCount(), 2));
    sample->Individuals.Add(ind);
    for (int l = 0; l < static_cast<int>(genotypes.size()); ++l) {
      std::istringstream copies(genotypes[static_cast<size_t>(l)]);
      for (std::string copy; std::getline(copies, copy, '/');) {
        if (copy == "-")
          ind->AddMissingGene(l);
        else
          ind->AddGene(l, DataSet.LocusAt(l)->IndexOfAllele(copy));
      }
    }
  }
};

// Three samples at two loci. popC has a single copy typed at L1 (Ho and He undefined); popB has
// no genotype typed at L2, a locus with a single allele.
void MakeThreeSamples(TDataSetBuilder& b) {
  b.Locus("L1", {"120", "124", "128"});
  b.Locus("L2", {"200"});
  TSample* a = b.Sample("popA");
  b.Individual(a, "a1", {"120/124", "200/200"});
  b.Individual(a, "a2", {"120/120", "200/200"});
  TSample* pb = b.Sample("popB");
  b.Individual(pb, "b1", {"124/128", "-/-"});
  b.Individual(pb, "b2", {"128/128", "-/-"});
  TSample* c = b.Sample("popC");
  b.Individual(c, "c1", {"120/-", "200/200"});
  b.DataSet.FileName = "/data/pops.gen";
}

TEST(StatisticsGrid, LaysOutLociSamplesAndSummaryWithTheirFigures) {
  TDataSetBuilder b;
  MakeThreeSamples(b);
  // The builder computes the samples itself: nothing has been computed yet.
  ASSERT_FALSE(b.DataSet.SampleAt(0)->Computed);
  const TStatisticsGrid grid = BuildStatisticsGrid(b.DataSet, lang::French);

  EXPECT_EQ(grid.Caption, "/data/pops.gen");
  ASSERT_EQ(grid.RowCount(), 1 + (6 + 3) + (6 + 1) + 7);
  ASSERT_EQ(grid.ColumnCount(), 2 + 3 + 1);
  EXPECT_EQ(grid.FixedRows, 1);
  EXPECT_EQ(grid.FixedColumns, 2);
  EXPECT_TRUE(grid.IsFixed(0, 4));
  EXPECT_TRUE(grid.IsFixed(5, 1));
  EXPECT_FALSE(grid.IsFixed(5, 2));

  const std::string genes = Latin1("Nombre de gènes"), alleles = Latin1("Nombre d'Allèles"),
                    freq = Latin1("Fréquences"), ho = Latin1("Proportion d'hétérozygotes"),
                    he = "\"Gene Diversity\" de Nei";
  const std::vector<TRow> expected = {
      {"LOCUS", "Populations :", "popA", "popB", "popC", "Moyennes"},
      {"L1", "Populations :", "popA", "popB", "popC", "Moyennes"},
      {genes, "", "4", "4", "1", ""},
      {alleles, "", "2", "2", "1", "1.667"},
      {freq, "120", "0.750", "0", "1.000", "0.583"},
      {freq, "124", "0.250", "0.250", "0", "0.167"},
      {freq, "128", "0", "0.750", "0", "0.250"},
      {ho, "", "0.500", "0.500", "NaN", "0.500"},
      {he, "", "0.500", "0.500", "NaN", "0.500"},
      {"", "", "", "", "", ""},
      {"L2", "Populations :", "popA", "popB", "popC", "Moyennes"},
      {genes, "", "4", "0", "2", ""},
      {alleles, "", "1", "0", "1", "0.667"},
      {freq, "200", "1.000", "0", "1.000", "0.667"},
      {ho, "", "0.000", "NaN", "0.000", "0.000"},
      {he, "", "0.000", "NaN", "0.000", "0.000"},
      {"", "", "", "", "", ""},
      {"ENSEMBLE DES LOCUS", "", "", "", "", ""},
      {Latin1("Moyenne du nombre d'allèles"), "", "1.500", "1.000", "1.000", ""},
      {Latin1("Ecart-type du nombre d'allèles "), "", "0.500", "1.000", "0.000", ""},
      {Latin1("Moyenne de la proportion d'hétérozygotes"), "", "0.250", "0.500", "0.000", ""},
      // popB has one defined Ho: its deviation is that of a single value around its own mean.
      {Latin1("Ecart-type de la proportion d'hétérozygotes"), "", "0.250", "0.000", "0.000", ""},
      {Latin1("Moyenne de l'hétérozygotie de Nei"), "", "0.250", "0.500", "0.000", ""},
      {Latin1("Ecart-type de l'hétérozygotie de Nei"), "", "0.250", "0.000", "0.000", ""},
  };
  for (size_t r = 0; r < expected.size(); ++r)
    EXPECT_EQ(grid.Cells[r], expected[r]) << "row " << r;
}

TEST(StatisticsGrid, LabelsFollowTheLanguageAskedFor) {
  TDataSetBuilder b;
  MakeThreeSamples(b);
  const TStatisticsGrid grid = BuildStatisticsGrid(b.DataSet, lang::English);
  // The grid's language is its own: the current language of the other texts stays French.
  EXPECT_EQ(CurrentLanguage(), lang::French);

  EXPECT_EQ(grid.Cells[0], (TRow{"LOCI", "Populations:", "popA", "popB", "popC", "Means"}));
  EXPECT_EQ(grid.Cells[1], (TRow{"L1", "Populations:", "popA", "popB", "popC", "Means"}));
  const std::vector<std::pair<int, std::string>> labels = {
      {2, "Number of genes"},
      {3, "Number of alleles"},
      {4, "Frequencies"},
      {7, "Heterozygotes proportion"},
      {8, "Nei's genic diversity"},
      {17, "ALL LOCI"},
      {18, "Mean alleles number"},
      {19, "Number of alleles standard deviation"},
      {20, "Mean heterozygotes proportion"},
      {21, "Heterozygotes proportion standard deviation"},
      {22, "Mean Nei's genic diversity"},
      {23, "Nei's genic diversity standard deviation"},
  };
  for (const auto& [row, text] : labels)
    EXPECT_EQ(grid.Cell(row, 0), text) << "row " << row;
  EXPECT_EQ(grid.Cell(7, 4), "NaN");

  // Any other language id gives the French labels.
  EXPECT_EQ(BuildStatisticsGrid(b.DataSet, 0).Cell(0, 0), "LOCUS");
}

TEST(StatisticsGrid, OneSampleAndUndefinedSeries) {
  // With one sample the means column repeats the sample's values.
  TDataSetBuilder one;
  one.Locus("L1", {"120", "124", "128"});
  TSample* a = one.Sample("popA");
  one.Individual(a, "a1", {"120/124"});
  one.Individual(a, "a2", {"120/120"});
  const TStatisticsGrid grid = BuildStatisticsGrid(one.DataSet, lang::French);
  ASSERT_EQ(grid.ColumnCount(), 4);
  EXPECT_EQ(grid.Cells[3], (TRow{Latin1("Nombre d'Allèles"), "", "2", "2.000"}));
  EXPECT_EQ(grid.Cells[4], (TRow{Latin1("Fréquences"), "120", "0.750", "0.750"}));
  EXPECT_EQ(grid.Cells[6], (TRow{Latin1("Fréquences"), "128", "0", "0.000"}));
  EXPECT_EQ(grid.Cells[7], (TRow{Latin1("Proportion d'hétérozygotes"), "", "0.500", "0.500"}));
  EXPECT_EQ(grid.Cells[8], (TRow{"\"Gene Diversity\" de Nei", "", "0.500", "0.500"}));
  // A single locus: the deviation of a one-value series is 0.
  EXPECT_EQ(grid.Cell(11, 2), "2.000");
  EXPECT_EQ(grid.Cell(12, 2), "0.000");
  EXPECT_EQ(grid.Cell(14, 2), "0.000");
  EXPECT_EQ(grid.Cell(16, 2), "0.000");

  // Nothing but incomplete genotypes: Ho and He are undefined at every locus. The locus rows
  // show NaN; the summary has no value to show.
  TDataSetBuilder half;
  half.Locus("L1", {"120"});
  half.Locus("L2", {"7", "9"});
  TSample* h = half.Sample("popH");
  half.Individual(h, "h1", {"120/-", "9/-"});
  const TStatisticsGrid undefined = BuildStatisticsGrid(half.DataSet, lang::French);
  ASSERT_EQ(undefined.RowCount(), 1 + 7 + 8 + 7);
  EXPECT_EQ(undefined.Cells[5], (TRow{Latin1("Proportion d'hétérozygotes"), "", "NaN", "NaN"}));
  EXPECT_EQ(undefined.Cells[6], (TRow{"\"Gene Diversity\" de Nei", "", "NaN", "NaN"}));
  const int summary = 1 + 7 + 8;
  EXPECT_EQ(undefined.Cell(summary + 1, 2), "1.000"); // one allele seen at each locus
  EXPECT_EQ(undefined.Cell(summary + 2, 2), "0.000");
  for (int k = 3; k <= 6; ++k)
    EXPECT_EQ(undefined.Cell(summary + k, 2), "") << "row " << k;

  // No sample at all: the means are undefined.
  TDataSetBuilder empty;
  empty.Locus("L1", {"120"});
  const TStatisticsGrid none = BuildStatisticsGrid(empty.DataSet, lang::French);
  ASSERT_EQ(none.ColumnCount(), 3);
  EXPECT_EQ(none.Cells[3], (TRow{Latin1("Nombre d'Allèles"), "", "NaN"}));
}

TEST(StatisticsGrid, ExportWritesEveryRowSeparatedBySemicolons) {
  TStatisticsGrid small;
  small.Cells = {{"LOCUS", "Populations :", Latin1("Mâcon")}, {"", "", ""}, {"a;b", "", "0.5"}};
  EXPECT_EQ(StatisticsExportText(small), "LOCUS;Populations :;M\xe2"
                                         "con\n;;\na;b;;0.5\n");

  TDataSetBuilder b;
  MakeThreeSamples(b);
  const TStatisticsGrid grid = BuildStatisticsGrid(b.DataSet, lang::French);
  const std::string text = StatisticsExportText(grid);
  EXPECT_EQ(text.find("LOCUS;Populations :;popA;popB;popC;Moyennes\nL1;"), 0u);
  EXPECT_NE(text.find("\nNombre de g\xe8nes;;4;4;1;\n"), std::string::npos);
  const std::string last = "\nEcart-type de l'h\xe9t\xe9rozygotie de Nei;;0.250;0.000;0.000;\n";
  EXPECT_EQ(text.rfind(last), text.size() - last.size());

  const support::TScratchFolder folder("tarvik2-stats");
  const std::string file = folder.File("stats.csv");
  support::WriteFile(file, std::string(5000, 'x'));
  SaveStatistics(grid, file);
  EXPECT_EQ(support::ReadFile(file), text); // the old, longer content is gone
  EXPECT_THROW(SaveStatistics(grid, folder.File("missing/stats.csv")), EFileWritingError);
}

} // namespace
