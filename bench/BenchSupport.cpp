#include "bench/BenchSupport.h"

#include <cstdio>
#include <sys/resource.h>

TStopwatch::TStopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(std::clock()) {}

double TStopwatch::WallSeconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
}

double TStopwatch::CpuSeconds() const {
  return static_cast<double>(std::clock() - cpu_) / CLOCKS_PER_SEC;
}

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void ReportHeader() {
  std::printf("%-48s %10s %10s %14s %-10s %10s  %s\n", "scenario", "wall s", "cpu s",
              "throughput", "unit", "peak MiB", "note");
}

void Report(const std::string& scenario, double wall, double cpu, double throughput,
            const std::string& unit, const std::string& note) {
  std::printf("%-48s %10.3f %10.3f %14.0f %-10s %10.1f  %s\n", scenario.c_str(), wall, cpu,
              throughput, unit.c_str(), PeakMemoryMiB(), note.c_str());
  std::fflush(stdout);
}
