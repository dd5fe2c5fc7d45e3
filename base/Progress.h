// The engine's process-wide progress hook. The window (or the command line) installs it; long
// computations report through it how far they are, the two status texts to show, and learn
// whether the user asked to stop. The handler also lets pending user events be processed, which
// is what keeps the window responsive during a run.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "base/Real.h"

// (percent, or -1 for "nothing to display"; status panel text; detail text; abort: set to true
// by the handler to stop the computation)
using TProgressHook = std::function<void(int percent, const std::string& panel,
                                         const std::string& detail, bool& abort)>;

// Installs the hook (an empty function removes it).
void SetProgressHook(TProgressHook hook);
const TProgressHook& ProgressHook();

// Calls the hook, when one is installed, with the percent rounded to the nearest integer (half
// to even) and an abort flag initially false; answers that flag. Without a hook: false.
bool ReportProgress(const std::string& panel, const std::string& detail, Extended percent);

// The progress of runs over many units at unit i of n: "i/n" in the detail panel and 100 i / n
// percent (100 without any unit). Answers the abort flag, as ReportProgress.
bool ReportUnitProgress(int i, int n);

// Installs a hook for the lifetime of the object and puts the previous one back afterwards.
class TScopedProgressHook {
public:
  explicit TScopedProgressHook(TProgressHook hook);
  ~TScopedProgressHook();
  TScopedProgressHook(const TScopedProgressHook&) = delete;
  TScopedProgressHook& operator=(const TScopedProgressHook&) = delete;

private:
  TProgressHook previous_;
};

// Marks the current thread as a worker of a parallel run for the lifetime of the object: the
// hook belongs to the calling thread, so on a worker ReportProgress only answers the run's stop
// flag.
class TWorkerProgress {
public:
  explicit TWorkerProgress(const std::atomic<bool>& stop);
  ~TWorkerProgress();
  TWorkerProgress(const TWorkerProgress&) = delete;
  TWorkerProgress& operator=(const TWorkerProgress&) = delete;

private:
  const std::atomic<bool>* previous_;
};
