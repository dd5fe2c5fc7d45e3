// Measurement helpers of the benchmarks: wall time, processor time and peak memory.
#pragma once

#include <chrono>
#include <ctime>
#include <string>

class TStopwatch {
public:
  TStopwatch();
  double WallSeconds() const;
  double CpuSeconds() const;

private:
  std::chrono::steady_clock::time_point wall_;
  std::clock_t cpu_;
};

// Peak resident memory of the process so far, in MiB.
double PeakMemoryMiB();

// One line of the report table.
void Report(const std::string& scenario, double wall, double cpu, double throughput,
            const std::string& unit, const std::string& note);
void ReportHeader();
