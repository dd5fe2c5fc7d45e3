// tarvik2-cli on input it must refuse: every refusal ends with status 1 and a message on
// standard error, never with a signal or a wait without end.
#ifdef TARVIK_CLI_PATH

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct TRun {
  // The exit status; -1 when the program was ended by a signal (or by the time limit).
  int Status = -1;
  int Signal = 0;
  std::string Out;
  std::string Err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

const char* const kGoodFile = "Good\nL1\nL2\nPop A\na1 , 0101 0102\na2 , 0202 0101\n"
                              "Pop B\nb1 , 0102 0202\nb2 , 0101 0101\n";

class CliRobustness : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tarvik2-robust-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder_ / "locked", fs::perms::owner_all, ec);
    fs::remove_all(folder_, ec);
  }

  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  // Runs tarvik2-cli with `arguments` (quoted where needed), killed after 60 seconds: a run
  // that needs the time limit counts as a hang.
  TRun Run(const std::string& arguments) const {
    const std::string errors = File("stderr.txt");
    const std::string command = "timeout -s KILL 60 '" + std::string(TARVIK_CLI_PATH) + "' " +
                                arguments + " 2>'" + errors + "' </dev/null";
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      run.Out.append(buffer, n);
    const int status = ::pclose(pipe);
    // timeout answers 128 + the signal number when the program was killed by one.
    if (WIFEXITED(status) && WEXITSTATUS(status) < 124)
      run.Status = WEXITSTATUS(status);
    else
      run.Signal = WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status);
    run.Err = ReadAll(errors);
    return run;
  }

  // The command is refused: status 1, a message on standard error.
  void ExpectRefused(const std::string& arguments, const std::string& message = std::string()) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.Status, 1) << arguments << "\nsignal or timeout: " << run.Signal << "\n"
                             << run.Err;
    EXPECT_FALSE(run.Err.empty()) << arguments;
    if (!message.empty()) {
      EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
  }

private:
  fs::path folder_;
};

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

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
    WriteAll(File(name), content);
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
  WriteAll(File("good.gen"), kGoodFile);
  for (const std::string& bad : {File("missing.gen"), File("cut.gen"), std::string("/dev/zero")}) {
    SCOPED_TRACE(bad);
    ExpectRefused("assign " + Quoted(bad));
    ExpectRefused("assign " + Quoted(File("good.gen")) + " --samples " + Quoted(bad));
    ExpectRefused("migrants " + Quoted(bad));
  }
  // In English too.
  ExpectRefused("info " + Quoted(File("empty.gen")) + " --lang en",
                "is invalid or its format is not supported");
}

TEST_F(CliRobustness, OutputsThatCannotBeWrittenExitWithOneAndAMessage) {
  WriteAll(File("good.gen"), kGoodFile);
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
  }
  EXPECT_TRUE(fs::is_empty(File("locked")));
  // Standard output on a full disk: the texts are lost, which is no success.
  ExpectRefused("info " + good + " >/dev/full", "Le fichier /dev/stdout n'a pas pu être écrit");
  ExpectRefused("stats " + good + " >/dev/full", "n'a pas pu être écrit");
  // Data the chosen format cannot express: a haploid file has no Fstat form.
  WriteAll(File("haploid.gen"), "H\nL\nPop\na , 12\n");
  ExpectRefused("convert " + Quoted(File("haploid.gen")) + " " + Quoted(File("h.dat")) +
                    " --to 4 --format 2",
                "Ploïdie incorrecte");
  EXPECT_FALSE(fs::exists(File("h.dat")));
}

#endif
