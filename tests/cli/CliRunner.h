// Running the built tarvik2-cli from the tests: each test gets a scratch folder of its own, and
// every run is made in it, killed after a time limit, with its exit status, signal, standard
// output and standard error.
#pragma once

#ifdef TARVIK_CLI_PATH

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

namespace clitest {

namespace fs = std::filesystem;

struct TRun {
  // The exit status; -1 when the program was ended by a signal or by the time limit.
  int Status = -1;
  // The signal that ended it (SIGKILL for the time limit); 0 when it exited.
  int Signal = 0;
  std::string Out;
  std::string Err;
};

using support::ReadFile;
using support::WriteFile;

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

inline std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

// A test of tarvik2-cli: SetUp creates the scratch folder "<prefix>-<test>-<pid>" in the
// temporary folder, TearDown removes it (whatever its permissions were left as).
class TCliTest : public ::testing::Test {
protected:
  explicit TCliTest(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override { folder_ = std::make_unique<support::TScratchFolder>(prefix_); }
  void TearDown() override { folder_.reset(); }

  const fs::path& Folder() const { return folder_->Path; }
  std::string File(const std::string& name) const { return folder_->File(name); }
  // The bundled example reference and samples files, copied into the scratch folder.
  void CopyExamples() const {
    const fs::path examples = fs::path(TARVIK_SOURCE_DIR) / "examples";
    fs::copy_file(examples / "reference.gen", Folder() / "reference.gen");
    fs::copy_file(examples / "samples.gen", Folder() / "samples.gen");
  }

  // Runs tarvik2-cli with `arguments` (quoted where needed) in the scratch folder, with nothing
  // on standard input and the scratch folder as HOME. A run still going after `seconds` is killed: it counts as a hang.
  TRun Run(const std::string& arguments, int seconds = 60) const {
    const std::string errors = File("stderr.txt");
    // The scratch folder is also the home folder: the user's own configuration file (and its
    // language) stays out of the tests.
    const std::string command = "cd " + Quoted(Folder().string()) +
                                " && HOME=" + Quoted(Folder().string()) + " timeout -s KILL " +
                                std::to_string(seconds) + " " + Quoted(TARVIK_CLI_PATH) + " " +
                                arguments + " 2>" + Quoted(errors) + " </dev/null";
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      run.Out.append(buffer, n);
    const int status = ::pclose(pipe);
    // timeout answers 124 and more when it could not run the program, and 128 plus the signal
    // number when the program was ended by one.
    if (WIFEXITED(status) && WEXITSTATUS(status) < 124)
      run.Status = WEXITSTATUS(status);
    else
      run.Signal = WIFEXITED(status) ? WEXITSTATUS(status) - 128 : WTERMSIG(status);
    run.Err = ReadFile(errors);
    return run;
  }

private:
  std::string prefix_;
  std::unique_ptr<support::TScratchFolder> folder_;
};

} // namespace clitest

#endif // TARVIK_CLI_PATH
