#include "bench/BenchSupport.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <map>
#include <optional>

#include "dataset/PGDSStructure.h"
#include "engine/common/GenMars.h"
#include "engine/common/ThreadPool.h"

extern char** environ;

namespace {

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The result line a child writes and its parent reads back.
constexpr const char* kResultTag = "@@result ";
constexpr const char* kErrorTag = "@@error ";

// What the parent learns of one child.
struct TChildResult {
  bool Ok = false;
  TMeasure Measure;
  double PeakMiB = 0;
  std::string Error;
};

bool ParseResult(const std::string& line, TMeasure& m) {
  int available = 0;
  int consumed = 0;
  if (std::sscanf(line.c_str() + std::strlen(kResultTag), "%d %lf %lf %lf %lf%n", &available,
                  &m.Wall, &m.Cpu, &m.Work, &m.ValuesKept, &consumed) != 5)
    return false;
  m.Available = available != 0;
  const size_t tab = line.find('\t');
  m.Note = tab == std::string::npos ? std::string() : line.substr(tab + 1);
  return true;
}

// Runs this program again on one measurement and collects its result line and peak memory.
TChildResult RunChild(const TScenario& scenario, const TVariant& variant,
                      const TBenchOptions& options, const char* program = "/proc/self/exe") {
  TChildResult result;
  std::vector<std::string> args = {"tarvik2-bench", "--scenario", scenario.Name,  "--variant",
                                   variant.Name,    "--data",     options.DataDir};
  if (options.Small) args.push_back("--small");
  if (options.Threads > 0) {
    args.push_back("--threads");
    args.push_back(std::to_string(options.Threads));
  }
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);

  int fds[2];
  if (pipe(fds) != 0) {
    result.Error = std::strerror(errno);
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    result.Error = std::strerror(spawned);
    return result;
  }

  std::string output;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      output.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  close(fds[0]);

  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.PeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux

  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    start = end + 1;
    if (line.rfind(kResultTag, 0) == 0)
      result.Ok = ParseResult(line, result.Measure);
    else if (line.rfind(kErrorTag, 0) == 0)
      result.Error = line.substr(std::strlen(kErrorTag));
    else if (!line.empty())
      std::fprintf(stderr, "%s\n", line.c_str());
  }
  if (!result.Ok && result.Error.empty()) {
    if (WIFSIGNALED(status))
      result.Error = std::string("killed by signal ") + std::to_string(WTERMSIG(status));
    else
      result.Error = "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return result;
}

// ---- the table

constexpr const char* kRowFormat = "%-12s %-16s %-19s %9s %9s %9s %-9s %9s %-17s %s\n";

void PrintHeader() {
  std::printf(kRowFormat, "scenario", "path", "size", "wall s", "cpu s", "M/s", "unit", "peak MiB",
              "ratio", "note");
}

std::string Fixed(double x, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, x);
  return text;
}

// Millions per second: two decimals, or two significant digits for the slowest criteria.
std::string Rate(double perSecond) {
  if (perSecond >= 0.01) return Fixed(perSecond, 2);
  char text[32];
  std::snprintf(text, sizeof text, "%.2g", perSecond);
  return text;
}

void PrintRow(const TScenario& scenario, const TVariant& variant, const TChildResult& r,
              const std::string& ratio, const std::string& note) {
  const bool measured = r.Ok && r.Measure.Available;
  const TMeasure& m = r.Measure;
  auto cell = [measured](const std::string& text) { return measured ? text : std::string("-"); };
  std::printf(kRowFormat, scenario.Name.c_str(), variant.Path.c_str(), variant.Size.c_str(),
              cell(Fixed(m.Wall, 3)).c_str(), cell(Fixed(m.Cpu, 3)).c_str(),
              cell(m.Wall > 0 ? Rate(m.Work / m.Wall / 1e6) : "-").c_str(), scenario.Unit.c_str(),
              cell(Fixed(r.PeakMiB, 1)).c_str(), ratio.c_str(), note.c_str());
  std::fflush(stdout);
}

// The first three fields of /proc/loadavg: other work on the machine disturbs every timing.
std::string LoadAverage() {
  std::FILE* f = std::fopen("/proc/loadavg", "r");
  if (!f) return "unknown";
  double a = 0, b = 0, c = 0;
  const bool read = std::fscanf(f, "%lf %lf %lf", &a, &b, &c) == 3;
  std::fclose(f);
  if (!read) return "unknown";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f %.2f %.2f (%d cores)", a, b, c, ThreadCount(0));
  return text;
}

} // namespace

// ---- stopwatch

TStopwatch::TStopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(ProcessCpuSeconds()) {}

double TStopwatch::WallSeconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
}

double TStopwatch::CpuSeconds() const {
  return ProcessCpuSeconds() - cpu_;
}

// ---- data

std::string DataFile(const TGeneratorParams& params, const TBenchOptions& options) {
  const std::filesystem::path path = std::filesystem::path(options.DataDir) / params.FileName();
  if (!std::filesystem::exists(path)) {
    // Written under another name first: a file that exists is always complete.
    const std::filesystem::path partial = path.string() + ".part";
    WriteGenepopFile(partial.string(), params);
    std::filesystem::rename(partial, path);
  }
  return path.string();
}

void LoadGenerated(TPGDSStructure& ds, const TGeneratorParams& params,
                   const TBenchOptions& options) {
  ds.LoadFromFile(DataFile(params, options), GeneratedFormat(params));
}

std::vector<std::string> AllLocusNames(const TPGDSStructure& ds) {
  std::vector<std::string> names;
  for (int l = 0; l < ds.LociCount(); ++l)
    names.push_back(ds.LocusAt(l)->Name);
  return names;
}

void SeedGenerators() {
  SimulationGenerator().SetSeeds(12, 34, 56, 78);
  CornuetGenerator().SetSeeds(21, 43, 65, 87);
}

int Sized(const TBenchOptions& options, int full, int small) {
  return options.Small ? small : full;
}

std::string ThreadsText(int threads) {
  return std::to_string(threads) + (threads == 1 ? " thread" : " threads");
}

std::string Count(double n) {
  char text[32];
  if (n >= 1e7)
    std::snprintf(text, sizeof text, "%.1fM", n / 1e6);
  else
    std::snprintf(text, sizeof text, "%.0f", n);
  return text;
}

// ---- the two sides

namespace {

// A measurement shorter than this is repeated, the fastest run kept: a run of a tenth of a
// second is easily slowed by a quarter by other work of the machine, never sped up.
constexpr double kShortRun = 1.0;
constexpr int kMostRuns = 5;

TChildResult FastestChild(const TScenario& scenario, const TVariant& variant,
                          const TBenchOptions& options, int& runs,
                          const char* program = "/proc/self/exe") {
  TChildResult best = RunChild(scenario, variant, options, program);
  runs = 1;
  while (best.Ok && best.Measure.Available && best.Measure.Wall < kShortRun && runs < kMostRuns) {
    const TChildResult again = RunChild(scenario, variant, options, program);
    ++runs;
    if (!again.Ok) return again;
    if (again.Measure.Wall < best.Measure.Wall) best = again;
  }
  return best;
}

} // namespace

int RunChildMeasurement(const TScenario& scenario, const std::string& variant,
                        const TBenchOptions& options) {
  bool known = false;
  for (const TVariant& v : scenario.Variants)
    known = known || v.Name == variant;
  if (!known) {
    std::printf("%sunknown variant %s of %s\n", kErrorTag, variant.c_str(), scenario.Name.c_str());
    return 2;
  }
  try {
    SeedGenerators();
    const TMeasure m = scenario.Run(variant, options);
    std::string note = m.Note;
    for (char& c : note)
      if (c == '\n' || c == '\t') c = ' ';
    std::printf("%s%d %.17g %.17g %.17g %.17g\t%s\n", kResultTag, m.Available ? 1 : 0, m.Wall,
                m.Cpu, m.Work, m.ValuesKept, note.c_str());
  } catch (const std::exception& e) {
    std::printf("%s%s\n", kErrorTag, e.what());
    return 1;
  }
  std::fflush(stdout);
  return 0;
}

int RunScenarios(const std::vector<const TScenario*>& scenarios, const TBenchOptions& options) {
  std::printf("Tarvik2 benchmarks%s: every row is one child process (the fastest of up to %d "
              "when it takes less than %.0f s); wall and processor time (all threads) of the "
              "timed work, throughput in millions of units per second of wall time, peak "
              "resident memory of the whole child.\n",
              options.Small ? " (--small)" : "", kMostRuns, kShortRun);
  for (const TScenario* s : scenarios)
    std::printf("  %-12s %s\n", s->Name.c_str(), s->Title.c_str());
  std::printf("load average at start: %s\n\n", LoadAverage().c_str());
  PrintHeader();
  int failures = 0;
  for (const TScenario* scenario : scenarios) {
    for (const TGeneratorParams& data : scenario->Data)
      DataFile(data, options);
    std::map<std::string, TChildResult> done;
    for (const TVariant& variant : scenario->Variants) {
      std::optional<TChildResult> before;
      if (!options.Baseline.empty()) {
        int runs = 1;
        before = FastestChild(*scenario, variant, options, runs, options.Baseline.c_str());
        std::string note = before->Ok ? before->Measure.Note : "failed: " + before->Error;
        if (runs > 1) note += "; fastest of " + std::to_string(runs) + " runs";
        TVariant shown = variant;
        shown.Path = "before: " + variant.Path;
        PrintRow(*scenario, shown, *before, "-", note);
      }
      int runs = 1;
      const TChildResult r = FastestChild(*scenario, variant, options, runs);
      done[variant.Name] = r;
      std::string ratio = "-", note;
      if (before && before->Ok && before->Measure.Available && r.Ok && r.Measure.Available &&
          r.Measure.Wall > 0 && r.PeakMiB > 0) {
        ratio = Fixed(before->Measure.Wall / r.Measure.Wall, 2) + "x vs before";
        note = "memory " + Fixed(before->PeakMiB / r.PeakMiB, 2) + "x less than before; ";
      }
      if (!r.Ok) {
        ++failures;
        note = "failed: " + r.Error;
      } else if (!r.Measure.Available) {
        note = r.Measure.Note.empty() ? "not available" : r.Measure.Note;
      } else {
        note += r.Measure.Note;
        const auto of = done.find(variant.RatioOf);
        if (!before && of != done.end() && of->second.Ok && of->second.Measure.Available &&
            r.Measure.Wall > 0) {
          const TMeasure& before = of->second.Measure;
          ratio = Fixed(before.Wall / r.Measure.Wall, 2) + "x " + variant.RatioLabel;
          // Processor time is less disturbed than wall time by other work on the machine.
          if (r.Measure.Cpu > 0) note += "; cpu-time ratio " + Fixed(before.Cpu / r.Measure.Cpu, 2);
        }
        const auto base = done.find(variant.Baseline);
        if (base != done.end() && base->second.Ok) {
          const double extra = r.PeakMiB - base->second.PeakMiB;
          char over[64];
          std::snprintf(over, sizeof over, "; %+.1f MiB over no simulation", extra);
          note += over;
          if (r.Measure.ValuesKept > 0)
            note += ", " + Fixed(extra * 1048576.0 / r.Measure.ValuesKept, 1) +
                    " B per kept value (" + Count(r.Measure.ValuesKept) + " kept)";
        }
      }
      if (runs > 1) note += "; fastest of " + std::to_string(runs) + " runs";
      PrintRow(*scenario, variant, r, ratio, note);
    }
  }
  std::printf("\nload average at end: %s\n", LoadAverage().c_str());
  return failures == 0 ? 0 : 1;
}
