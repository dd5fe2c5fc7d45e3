// tarvik2-cli on input it must refuse: every refusal ends with status 1 and a message on
// standard error, never with a signal or a wait without end.
#ifdef TARVIK_CLI_PATH

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CliRunner.h"

namespace {

using namespace clitest;

const char* const kGoodFile = "Good\nL1\nL2\nPop A\na1 , 0101 0102\na2 , 0202 0101\n"
                              "Pop B\nb1 , 0102 0202\nb2 , 0101 0101\n";

class CliRobustness : public TCliTest {
protected:
  CliRobustness() : TCliTest("tarvik2-robust") {}

  // The command is refused: status 1, a message on standard error.
  void ExpectRefused(const std::string& arguments, const std::string& message = std::string()) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.Status, 1) << arguments << "\nsignal: " << run.Signal << "\n" << run.Err;
    EXPECT_FALSE(run.Err.empty()) << arguments;
    if (!message.empty()) {
      EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
  }
};

} // namespace

TEST_F(CliRobustness, RefusedInputsExitWithOneAndAMessage) {
  std::vector<std::pair<std::string, std::string>> inputs = {
      {File("missing.gen"), "n'a pas pu être ouvert"},
      {File(""), "n'a pas pu être ouvert"}, // the scratch folder itself
      {"/dev/zero", "n'a pas pu être ouvert"},
  };
  const std::string fifo = File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  inputs.emplace_back(fifo, "n'a pas pu être ouvert");
  // A file the user may not read; the superuser reads anything, so a file whose bytes cannot
  // be read stands for it there.
  const std::string locked = File("locked.gen");
  WriteFile(locked, kGoodFile);
  ::chmod(locked.c_str(), 0);
  const std::string unreadable = ::access(locked.c_str(), R_OK) == 0 ? "/proc/self/mem" : locked;
  inputs.emplace_back(unreadable, "");
  const std::vector<std::pair<std::string, std::string>> contents = {
      {"empty.gen", ""},
      {"nul.gen", std::string(5000, '\0')},
      {"junk.bin", "\x7f"
                   "ELF\x02\x01\x01\0\0\0\xff\xfe binary junk \x01\x02\x03"},
      {"cut.gen", "Good\nL1\nL2\nPop A\na1 , 01"},
      {"counts.dat", "2 4000000000 999 3\nA\n1 120120\n"},
      {"counts.gtx", "1\n1\nL\n99999999999999999999 120\nP\n1\ni         120120\n"},
      {"long.gen", "T\nL\nPop\n" + std::string(1'500'000, 'x') + "\n"},
      {"deep.xml", "<?xml version=\"1.0\"?>\n" + std::string(300000, '<') + "\n"},
      {"nested.xml",
       [] {
         std::string text = "<?xml version=\"1.0\"?>\n<QUAV>";
         for (int d = 0; d < 100000; ++d)
           text += "<a>";
         return text;
       }()},
  };
  for (const auto& [name, content] : contents) {
    WriteFile(File(name), content);
    inputs.emplace_back(File(name), "n'est pas valide ou son format n'est pas reconnu");
  }
  for (const auto& [path, message] : inputs) {
    SCOPED_TRACE(path);
    ExpectRefused("info " + Quoted(path), message);
    ExpectRefused("stats " + Quoted(path), message);
    ExpectRefused("convert " + Quoted(path) + " " + Quoted(File("out")) + " --to 9", message);
    EXPECT_FALSE(fs::exists(File("out.xml")));
  }
  // Assignment and migrant detection refuse a bad reference or samples file the same way.
  WriteFile(File("good.gen"), kGoodFile);
  for (const std::string& bad : {File("missing.gen"), File(""), unreadable, File("cut.gen"),
                                 File("counts.gtx"), std::string("/dev/zero")}) {
    SCOPED_TRACE(bad);
    ExpectRefused("assign " + Quoted(bad));
    ExpectRefused("assign " + Quoted(File("good.gen")) + " --samples " + Quoted(bad));
    ExpectRefused("migrants " + Quoted(bad));
  }
  // In English too.
  ExpectRefused("info " + Quoted(File("empty.gen")) + " --lang en",
                "is invalid or its format is not supported");
}

TEST_F(CliRobustness, BadOptionValuesAreUsageErrorsWithAMessage) {
  // Values the command line refuses before anything is read: the usage status 2, a message,
  // never a signal. Counts that would take the memory or the time of the machine are among them.
  WriteFile(File("good.gen"), kGoodFile);
  const std::string good = Quoted(File("good.gen"));
  for (const std::string& arguments :
       {std::string("formats --lang xx"), "info " + good + " --format 99999999999999999999",
        "info " + good + " --format -1", "stats " + good + " --format 8",
        "convert " + good + " out --to -1", "convert " + good + " out --to 0 --coding 256",
        "assign " + good + " --criterion 11", "assign " + good + " --threshold nan",
        "assign " + good + " --threshold 1e-99999", "assign " + good + " --scores -1",
        "assign " + good + " --threads 100000",
        "assign " + good + " --simulate 2 --simulated 2000000000",
        "assign " + good + " --seed 1,2,3", "migrants " + good + " --statistic 99999999999",
        "migrants " + good + " --default-frequency 0"}) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.Status, 2) << arguments << "\nsignal: " << run.Signal << "\n" << run.Err;
    EXPECT_FALSE(run.Err.empty()) << arguments;
    EXPECT_TRUE(run.Out.empty()) << arguments;
  }
}

TEST_F(CliRobustness, OutputsThatCannotBeWrittenExitWithOneAndAMessage) {
  WriteFile(File("good.gen"), kGoodFile);
  const std::string good = Quoted(File("good.gen"));
  // A folder nobody may write to (the superuser may write anywhere but in /proc), a full disk.
  fs::create_directories(File("locked"));
  ::chmod(File("locked").c_str(), 0555);
  const std::string locked = ::access(File("locked").c_str(), W_OK) == 0 ? "/proc/tarvik2-out.xml"
                                                                         : File("locked/out.xml");
  for (const std::string& target : {locked, std::string("/dev/full")}) {
    SCOPED_TRACE(target);
    // Genepop: a name without extension keeps it.
    ExpectRefused("convert " + good + " " + Quoted(target) + " --to 0",
                  "Le fichier " + target + " n'a pas pu être écrit");
    ExpectRefused("convert " + good + " " + Quoted(target) + " --to 0 --lang en",
                  "Unable to write file \"" + target + "\"");
    ExpectRefused("stats " + good + " -o " + Quoted(target), "n'a pas pu être écrit");
    ExpectRefused("assign " + good + " -o " + Quoted(target), "n'a pas pu être écrit");
    ExpectRefused("migrants " + good + " -o " + Quoted(target) + " --lang en",
                  "Unable to write file");
  }
  EXPECT_TRUE(fs::is_empty(File("locked")));
  // Standard output on a full disk: the texts are lost, which is no success.
  ExpectRefused("info " + good + " >/dev/full", "Le fichier /dev/stdout n'a pas pu être écrit");
  ExpectRefused("stats " + good + " >/dev/full", "n'a pas pu être écrit");
  ExpectRefused("assign " + good + " >/dev/full", "n'a pas pu être écrit");
  // Data the chosen format cannot express: a haploid file has no Fstat form.
  WriteFile(File("haploid.gen"), "H\nL\nPop\na , 12\n");
  ExpectRefused("convert " + Quoted(File("haploid.gen")) + " " + Quoted(File("h.dat")) +
                    " --to 4 --format 2",
                "Ploïdie incorrecte");
  EXPECT_FALSE(fs::exists(File("h.dat")));
  // A file that was there stays as it was.
  WriteFile(File("h.dat"), "the user's data");
  ExpectRefused("convert " + Quoted(File("haploid.gen")) + " " + Quoted(File("h.dat")) +
                    " --to 4 --format 2",
                "Ploïdie incorrecte");
  EXPECT_EQ(ReadFile(File("h.dat")), "the user's data");
}

#endif
