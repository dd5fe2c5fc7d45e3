// tarvik2-cli assign and migrants with --plot on the bundled examples: every kind of plot is
// written, parses as XML and holds one group per population; impossible combinations are
// refused before the run.
#ifdef TARVIK_CLI_PATH

#include <filesystem>
#include <string>

#include "CliRunner.h"
#include "base/Texts.h"
#include "xml/XMLReader.h"

namespace {

using namespace clitest;

class CliPlot : public TCliTest {
protected:
  CliPlot() : TCliTest("tarvik2-plot") {}

  void SetUp() override {
    TCliTest::SetUp();
    CopyExamples();
  }

  // The number of <g> elements of the SVG file whose id is that of a population group.
  int PopulationGroups(const std::string& name) const {
    const std::string svg = ReadFile(Folder() / name);
    std::unique_ptr<TXMLNode> document;
    EXPECT_NO_THROW(document = TXMLStringReader(svg).ParseDocument()) << name;
    const TXMLNode* root = document ? document->FindElement("svg") : nullptr;
    if (!root) return -1;
    int groups = 0;
    for (const auto& child : root->Children)
      if (child->Kind == TXMLNodeKind::Element && child->Name == "g")
        for (const auto& attribute : child->Children)
          if (attribute->Kind == TXMLNodeKind::Attribute && attribute->Name == "id" &&
              attribute->Value.rfind("population-", 0) == 0)
            ++groups;
    return groups;
  }
};

} // namespace

TEST_F(CliPlot, EveryKindIsWritten) {
  struct TCase {
    const char* Arguments;
    const char* File;
    int Groups; // reference populations, or samples-file samples for the migrant plot
    const char* Title; // UTF-8
  };
  const TCase cases[] = {
      {"assign reference.gen --plot bars.svg", "bars.svg", 4, "Appartenance"},
      {"assign reference.gen --plot matrix.svg --plot-kind matrix --lang en", "matrix.svg", 4,
       "Self-assignment"},
      {"assign reference.gen --samples samples.gen --plot samples.svg", "samples.svg", 4,
       "Appartenance"},
      {"assign reference.gen --samples samples.gen --groups --plot groups.svg", "groups.svg", 4,
       "Appartenance"},
      {"assign reference.gen --simulate paetkau --simulated 20 --seed 1,2,3,4 --plot excl.svg",
       "excl.svg", 4, "Exclusion"},
      {"migrants reference.gen --plot migrants.svg --lang en", "migrants.svg", 4,
       "first generation migrants"},
      {"migrants reference.gen --simulate paetkau --simulated 20 --seed 1,2,3,4 --plot m2.svg",
       "m2.svg", 4, "migrants"},
  };
  for (const TCase& c : cases) {
    const TRun run = Run(c.Arguments);
    ASSERT_EQ(run.Status, 0) << c.Arguments << "\n" << run.Err;
    EXPECT_FALSE(run.Out.empty()) << "the export still goes to standard output";
    EXPECT_EQ(PopulationGroups(c.File), c.Groups) << c.Arguments;
    EXPECT_TRUE(Contains(Utf8(ReadFile(Folder() / c.File)), c.Title)) << c.Arguments;
  }
}

TEST_F(CliPlot, ImpossiblePlotsAreRefusedBeforeTheRun) {
  struct TCase {
    const char* Arguments;
    int Status;
    const char* Message;
  };
  const TCase cases[] = {
      {"assign reference.gen --samples samples.gen --plot p.svg --plot-kind matrix", 1,
       "La matrice d'auto-affectation demande"},
      {"assign reference.gen --plot p.svg --plot-kind exclusion --lang en", 1,
       "The exclusion plot shows probabilities"},
      {"assign reference.gen --simulate 2 --plot p.svg --plot-kind bars --lang en", 1,
       "choose the exclusion plot"},
      {"assign reference.gen --plot p.svg --plot-kind pie", 2, "pie not in"},
      {"assign reference.gen --plot-kind bars", 2, "requires --plot"},
      {"migrants reference.gen --plot p.svg --plot-kind bars", 2, ""},
      {"assign reference.gen --plot missing/p.svg", 1, "missing/p.svg"},
  };
  for (const TCase& c : cases) {
    const TRun run = Run(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << c.Arguments << "\n" << run.Err;
    EXPECT_TRUE(Contains(run.Err, c.Message)) << c.Arguments << "\n" << run.Err;
    EXPECT_FALSE(fs::exists(Folder() / "p.svg")) << c.Arguments;
  }
}

#endif // TARVIK_CLI_PATH
