#include "plots/SvgWriter.h"

#include <gtest/gtest.h>

#include "PlotTestSupport.h"
#include "dataset/PGDSStructure.h"
#include "base/Texts.h"
#include "plots/Palette.h"
#include "plots/PlotKinds.h"
#include "plots/PlotTexts.h"
#include "tests/support/DataSetBuilders.h"
#include "xml/XMLReader.h"

using namespace plottest;

namespace {

// The <g> elements of a parsed SVG, by id, with their <title> text.
std::vector<std::pair<std::string, std::string>> Groups(const TXMLNode& svg) {
  std::vector<std::pair<std::string, std::string>> groups;
  for (const auto& child : svg.Children) {
    if (child->Kind != TXMLNodeKind::Element || child->Name != "g") continue;
    std::string id, title;
    for (const auto& part : child->Children) {
      if (part->Kind == TXMLNodeKind::Attribute && part->Name == "id") id = part->Value;
      if (part->Kind == TXMLNodeKind::Element && part->Name == "title") title = part->Value;
    }
    groups.emplace_back(id, title);
  }
  return groups;
}

} // namespace

TEST(SvgWriter, EveryKindIsWellFormedWithOneGroupPerPopulation) {
  // Latin-1 names with characters XML escapes, and a control byte it forbids.
  const std::vector<std::string> populations{Latin1("Loire-Aval é"), "R&D <2>", "\"Q\"\x01"};
  auto table = ScoreTable(populations, {{0.6L, 0.3L, 0.1L}, {0.001L, 0.9L, 0.2L}, {0.3L, 0.3L, 0.4L}});
  table->Item(1).IsMigrant = true;
  const TPlotUnits units = Units(populations, populations, {0, 1, 2});
  TPlotRun run;
  run.SelfAssignment = true;
  for (const TPlotKind kind :
       {TPlotKind::Bars, TPlotKind::Matrix, TPlotKind::Exclusion, TPlotKind::Migrants}) {
    run.SimulationOn = kind == TPlotKind::Exclusion;
    run.Migrants = kind == TPlotKind::Migrants;
    const std::string svg = SvgText(BuildPlot(kind, *table, units, run));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u);
    std::unique_ptr<TXMLNode> document;
    ASSERT_NO_THROW(document = TXMLStringReader(svg).ParseDocument()) << svg;
    const TXMLNode* root = document->FindElement("svg");
    ASSERT_NE(root, nullptr);
    int found = 0;
    for (const auto& [id, title] : Groups(*root)) {
      for (size_t j = 0; j < populations.size(); ++j)
        if (id == PopulationGroupId(static_cast<int>(j))) {
          ++found;
          // The names come back as they were, the control byte as '?'.
          EXPECT_EQ(title, j == 2 ? std::string("\"Q\"?") : populations[j]);
        }
    }
    EXPECT_EQ(found, 3) << static_cast<int>(kind);
    // A table without units, or a run without populations, still gives a plot.
    const TTableResultats empty;
    for (const TPlotUnits& none : {units, TPlotUnits{}})
      EXPECT_NO_THROW(TXMLStringReader(SvgText(BuildPlot(kind, empty, none, run))).ParseDocument());
  }
}

TEST(SvgWriter, NumbersAndRefusals) {
  EXPECT_EQ(PlotNumberText(12.5L, 2), "12.5");
  EXPECT_EQ(PlotNumberText(3.999L, 2), "4");
  EXPECT_EQ(PlotNumberText(-0.001L, 2), "0");
  EXPECT_EQ(PlotNumberText(100, 2), "100");

  TPlotRun run;
  EXPECT_EQ(DefaultPlotKind(run), TPlotKind::Bars);
  EXPECT_EQ(PlotRefusal(TPlotKind::Bars, run), "");
  EXPECT_EQ(PlotRefusal(TPlotKind::Matrix, run), kPlotMatrixNeedsSelfAssignment());
  EXPECT_EQ(PlotRefusal(TPlotKind::Exclusion, run), kPlotExclusionNeedsSimulation());
  EXPECT_EQ(PlotRefusal(TPlotKind::Migrants, run), kPlotMigrantsNeedDetection());
  run.SelfAssignment = run.SimulationOn = true;
  EXPECT_EQ(DefaultPlotKind(run), TPlotKind::Exclusion);
  EXPECT_EQ(PlotRefusal(TPlotKind::Matrix, run), "");
  EXPECT_EQ(PlotRefusal(TPlotKind::Bars, run), kPlotBarsNeedScores());
  EXPECT_EQ(AvailablePlotKinds(run),
            (std::vector<TPlotKind>{TPlotKind::Matrix, TPlotKind::Exclusion}));
  run.Migrants = true;
  EXPECT_EQ(DefaultPlotKind(run), TPlotKind::Migrants);
  EXPECT_EQ(AvailablePlotKinds(run), std::vector<TPlotKind>{TPlotKind::Migrants});
  EXPECT_EQ(PlotRefusal(TPlotKind::Matrix, run), kPlotMigrantsOnly());
  // Both languages.
  SetCurrentLanguage(lang::English);
  const std::string english = PlotRefusal(TPlotKind::Bars, run);
  SetCurrentLanguage(lang::French);
  EXPECT_NE(english, PlotRefusal(TPlotKind::Bars, run));
}

TEST(PlotUnits, SampledPopulationOfEveryUnitInDataSetOrder) {
  auto reference = support::TwoPopulations();
  TPlotUnits units = PlotUnitsOf(*reference, *reference, false);
  EXPECT_EQ(units.Populations, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(units.Sampled, units.Populations);
  EXPECT_EQ(units.SampledOf, (std::vector<int>{0, 0, 0, 1, 1, 1}));
  auto samples = support::TDataBuilder({"L1", "L2"})
                     .Sample("X")
                     .Individual("x1", {"1/1", "1/1"})
                     .Sample("Y")
                     .Individual("y1", {"2/2", "2/2"})
                     .Sample("Z")
                     .Loaded();
  units = PlotUnitsOf(*reference, *samples, false);
  EXPECT_EQ(units.Sampled, (std::vector<std::string>{"X", "Y", "Z"}));
  EXPECT_EQ(units.SampledOf, (std::vector<int>{0, 1}));
  units = PlotUnitsOf(*reference, *samples, true);
  EXPECT_EQ(units.SampledOf, (std::vector<int>{0, 1, 2}));
}

TEST(PlotParts, PaletteAndLegendNotes) {
  // Distinct colours for many populations, none white (the background) or black (the frames).
  // The first eight are those of Okabe & Ito, and the palette starts again after the last.
  for (int a = 0; a < kPaletteSize; ++a) {
    const TPlotColor x = PopulationColor(a);
    EXPECT_NE(x, kPlotWhite) << a;
    EXPECT_NE(x, kPlotBlack) << a;
    for (int b = a + 1; b < kPaletteSize; ++b) {
      const TPlotColor y = PopulationColor(b);
      const int d = (x.Red - y.Red) * (x.Red - y.Red) + (x.Green - y.Green) * (x.Green - y.Green) +
                    (x.Blue - y.Blue) * (x.Blue - y.Blue);
      EXPECT_GT(d, kPaletteSpacing * kPaletteSpacing) << a << " " << b;
    }
  }
  EXPECT_EQ(PopulationColor(0), (TPlotColor{230, 159, 0}));
  EXPECT_EQ(PopulationColor(kPaletteSize + 3), PopulationColor(3));

  const std::string note = "Symbole vide : population exclue (probabilité < alpha) "
                           "unmotbeaucouptroplongpourtenirsurunelignedelalegende fin";
  const std::vector<std::string> lines = WrappedLegendText(note);
  std::string joined;
  for (const std::string& line : lines) {
    joined += (joined.empty() ? "" : " ") + line;
    if (line.find(' ') != std::string::npos) {
      EXPECT_LE(line.size(), kLegendCharacters) << line;
    }
  }
  EXPECT_EQ(joined, note);
  EXPECT_EQ(lines.size(), 4u);
}
