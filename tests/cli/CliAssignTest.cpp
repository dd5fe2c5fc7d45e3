// tarvik2-cli assign and migrants as a user runs them, on the example files copied into a
// scratch folder (so that the journal shows short file names). The expected exports are kept
// under tests/cli/golden/, with time stamps and durations normalised; running the tests with
// TARVIK_UPDATE_GOLDEN=1 rewrites them.
#ifdef TARVIK_CLI_PATH

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CliRunner.h"
#include "base/Texts.h"
#include "tests/support/Files.h"

namespace {

using namespace clitest;

// Two populations of three diploids at two loci; b3 looks like a member of A.
const char* const kSmallFile = "Small reference\n"
                               "L1\n"
                               "L2\n"
                               "Pop A\n"
                               "a1 , 0101 0101\n"
                               "a2 , 0102 0101\n"
                               "a3 , 0101 0102\n"
                               "Pop B\n"
                               "b1 , 0202 0202\n"
                               "b2 , 0102 0202\n"
                               "b3 , 0101 0101\n";

class CliAssign : public TCliTest {
protected:
  CliAssign() : TCliTest("tarvik2-assign") {}

  void SetUp() override {
    TCliTest::SetUp();
    CopyExamples();
    WriteFile(Folder() / "small.gen", kSmallFile);
  }

  // Compares the normalised output with a golden file.
  static void ExpectGolden(const std::string& output, const std::string& name) {
    const fs::path golden = fs::path(TARVIK_SOURCE_DIR) / "tests/cli/golden" / name;
    const std::string actual = support::Normalised(output);
    if (std::getenv("TARVIK_UPDATE_GOLDEN")) {
      fs::create_directories(golden.parent_path());
      std::ofstream(golden, std::ios::binary) << actual;
    }
    EXPECT_EQ(actual, ReadFile(golden)) << name;
  }
};

} // namespace

TEST_F(CliAssign, GoldenExports) {
  TRun run = Run("assign small.gen");
  EXPECT_EQ(run.Status, 0) << run.Err;
  ExpectGolden(run.Out, "assign_self_fr.csv");

  run = Run("assign reference.gen --samples samples.gen --scores 2 --lang en");
  EXPECT_EQ(run.Status, 0) << run.Err;
  ExpectGolden(run.Out, "assign_samples_en.csv");

  run = Run("assign reference.gen --samples samples.gen --groups --criterion nei-da "
            "--threshold 0.005 --loci MS03,MS01");
  EXPECT_EQ(run.Status, 0) << run.Err;
  ExpectGolden(run.Out, "assign_groups_fr.csv");

  run = Run("migrants small.gen --statistic 2 --lang en");
  EXPECT_EQ(run.Status, 0) << run.Err;
  ExpectGolden(run.Out, "migrants_en.csv");

  run = Run("migrants small.gen --criterion goldstein --statistic 0");
  EXPECT_EQ(run.Status, 0) << run.Err;
  ExpectGolden(run.Out, "migrants_fr.csv");

  // The file holds the ISO-8859-1 bytes of what standard output shows in UTF-8.
  run = Run("assign reference.gen --samples samples.gen --groups -o out.csv");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(run.Out.empty());
  const std::string written = ReadFile(Folder() / "out.csv");
  EXPECT_NE(written.find(Latin1("Echantillon assigné;")), std::string::npos);
  run = Run("assign reference.gen --samples samples.gen --groups");
  EXPECT_EQ(support::Normalised(Utf8(written)), support::Normalised(run.Out));
}

TEST_F(CliAssign, SeededSimulationRepeats) {
  const std::string arguments = "assign small.gen --simulate rannala --simulated 50 --alpha 0.02 "
                                "--seed 12,34,56,78";
  const TRun first = Run(arguments + " --threads 1");
  ASSERT_EQ(first.Status, 0) << first.Err;
  // The same seeds give the same table whatever the number of threads.
  EXPECT_EQ(support::Normalised(Run(arguments + " --threads 3").Out),
            support::Normalised(first.Out));
  EXPECT_NE(first.Out.find(";A;B;Nb. de locus;"), std::string::npos) << "no score triples";
  EXPECT_NE(first.Out.find("Nombre d'individus simulés : 50"), std::string::npos);
  const std::string migrants = "migrants small.gen --statistic 1 --simulate paetkau --simulated 40 "
                               "--seed 9,8,7,6 --threads ";
  const TRun one = Run(migrants + "1");
  ASSERT_EQ(one.Status, 0) << one.Err;
  EXPECT_EQ(support::Normalised(Run(migrants + "2").Out), support::Normalised(one.Out));
}

TEST_F(CliAssign, CornuetRuns) {
  const TRun run = Run("assign small.gen --criterion cornuet --seed 1,2,3,4 --threads 1");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Out.find("Cornuet (in prep.)"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("\nB/b3;"), std::string::npos) << run.Out;
  EXPECT_EQ(support::Normalised(
                Run("assign small.gen --criterion cornuet --seed 1,2,3,4 --threads 2").Out),
            support::Normalised(run.Out));
}

TEST_F(CliAssign, RefusalsAndUsageErrors) {
  WriteFile(Folder() / "untyped.gen", "T\nL1\nL2\nPop A\na, 0101 0000\nPop B\nb, 0000 0202\n"
                                      "Pop C\nc, 0101 0000\n");
  struct TCase {
    const char* Arguments;
    int Status;
    const char* Message; // UTF-8, part of standard error
  };
  const TCase cases[] = {
      {"assign reference.gen --groups --simulate paetkau", 1,
       "n'est pas disponible pour l'affectation des groupes"},
      {"assign reference.gen --criterion cornuet --simulate 0 --lang en", 1,
       "Probability computation is not available with criterion Cornuet (in prep.)"},
      {"assign small.gen --criterion 9 --simulate 2", 1,
       "n'est pas disponible avec le critère Cornuet (in prep.)"},
      {"migrants small.gen --criterion cornuet", 1,
       "Le critère Cornuet (in prep.) n'est pas disponible"},
      {"assign reference.gen --samples small.gen --loci L1", 1,
       "Le locus L1 est absent du fichier reference.gen"},
      {"assign reference.gen --samples small.gen --lang en", 1,
       "No locus selected !\nThe samples file has no locus in common with the reference file"},
      // Every locus lacks in some population: which, and what --loci does.
      {"assign untyped.gen --lang en", 1,
       "No locus selected !\n  L1: not typed in B\n  L2: not typed in A, C\nA locus can be "
       "used only when every reference population has it typed\n--loci chooses the loci to use "
       "among them"},
      {"assign reference.gen --scores 5", 1, "entre 0 et 4"},
      {"assign missing.gen", 1, ""},
      {"assign reference.gen --threshold 1", 2, "strictly between 0 and 1"},
      {"assign reference.gen --criterion nei", 2, "unknown criterion"},
      {"assign reference.gen --simulate 2 --simulated 9", 2, ""},
      {"assign reference.gen --seed 0,1,2,3", 2, "I, J, K in 1..168"},
      {"assign reference.gen --seed 1,2,0,3", 2, "I, J, K in 1..168"},
      {"assign reference.gen --alpha 0.05", 2, "requires --simulate"},
      {"migrants reference.gen --statistic 3", 2, ""},
  };
  for (const TCase& c : cases) {
    const TRun run = Run(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << c.Arguments << "\n" << run.Err;
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << c.Arguments << "\n" << run.Err;
    EXPECT_TRUE(run.Out.empty()) << c.Arguments;
  }
}

#endif // TARVIK_CLI_PATH
