// The benchmark program. Without arguments it runs every scenario; a scenario name runs only
// that one. Each measurement runs in a child process (this program started again with
// --scenario and --variant) so that its peak memory is its own.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "bench/BenchSupport.h"

namespace {

void Usage(std::FILE* out, const std::vector<TScenario>& scenarios) {
  std::fprintf(out,
               "usage: tarvik2-bench [--small] [--threads N] [--baseline PROGRAM] [SCENARIO...]\n"
               "  --small      every size about ten times smaller, for a quick check\n"
               "  --threads N  threads of the runs (default: every core for assignment, 2 "
               "for the thread comparison of the simulations)\n"
               "  --baseline PROGRAM  the benchmark program of another build (an earlier commit): "
               "every measurement is made by both, on the same files, side by side\n"
               "scenarios:\n");
  for (const TScenario& s : scenarios)
    std::fprintf(out, "  %-12s %s\n", s.Name.c_str(), s.Title.c_str());
  std::fprintf(out, "With TARVIK_BENCH_KEEP_EXPORTS set, the result exports of the assignments "
                    "and the generated files are kept in the temporary folder of the run.\n");
}

// A temporary folder for the generated files, removed when the run ends.
class TDataFolder {
public:
  TDataFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarvik2-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TDataFolder() {
    if (path_.empty()) return;
    if (std::getenv("TARVIK_BENCH_KEEP_EXPORTS")) {
      std::fprintf(stderr, "generated files and exports kept in %s\n", path_.c_str());
      return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

private:
  std::string path_;
};

} // namespace

int main(int argc, char** argv) {
  TBenchOptions options;
  std::string childScenario, childVariant;
  std::vector<std::string> names;
  bool help = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--small") {
      options.Small = true;
    } else if (a == "--threads" && hasValue) {
      options.Threads = std::atoi(argv[++i]);
      if (options.Threads < 1) bad = true;
    } else if (a == "--scenario" && hasValue) {
      childScenario = argv[++i];
    } else if (a == "--variant" && hasValue) {
      childVariant = argv[++i];
    } else if (a == "--baseline" && hasValue) {
      options.Baseline = argv[++i];
    } else if (a == "--data" && hasValue) {
      options.DataDir = argv[++i];
    } else if (a == "--help" || a == "-h") {
      help = true;
    } else if (!a.empty() && a[0] == '-') {
      bad = true;
    } else {
      names.push_back(a);
    }
  }

  std::vector<TScenario> scenarios;
  AddLoadScenarios(scenarios, options);
  AddAssignScenarios(scenarios, options);
  AddAssignSnpScenarios(scenarios, options);
  AddSimulationScenarios(scenarios, options);
  AddMigrantScenarios(scenarios, options);
  AddCornuetScenarios(scenarios, options);
  AddPlotScenarios(scenarios, options);
  auto find = [&scenarios](const std::string& name) -> const TScenario* {
    for (const TScenario& s : scenarios)
      if (s.Name == name) return &s;
    return nullptr;
  };

  if (help || bad) {
    Usage(bad ? stderr : stdout, scenarios);
    return bad ? 2 : 0;
  }

  // Without a data folder of its own (a measurement started by hand), one is made for it.
  std::optional<TDataFolder> folder;
  if (options.DataDir.empty()) options.DataDir = folder.emplace().Path();
  if (options.DataDir.empty()) {
    std::fprintf(stderr, "cannot create a temporary folder\n");
    return 1;
  }

  if (!childScenario.empty()) {
    const TScenario* s = find(childScenario);
    if (!s) {
      std::fprintf(stderr, "unknown scenario: %s\n", childScenario.c_str());
      return 2;
    }
    if (childVariant.empty()) {
      // A whole scenario asked for by --scenario: its measurements as usual.
      return RunScenarios({s}, options);
    }
    return RunChildMeasurement(*s, childVariant, options);
  }

  std::vector<const TScenario*> selected;
  for (const std::string& name : names) {
    const TScenario* s = find(name);
    if (!s) {
      std::fprintf(stderr, "unknown scenario: %s\n", name.c_str());
      Usage(stderr, scenarios);
      return 2;
    }
    selected.push_back(s);
  }
  if (names.empty())
    for (const TScenario& s : scenarios)
      selected.push_back(&s);
  return RunScenarios(selected, options);
}
