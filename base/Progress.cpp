#include "base/Progress.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <utility>

#include "base/Texts.h"

namespace {
// On a worker thread of a parallel run: the run's stop flag, which stands for the hook.
thread_local const std::atomic<bool>* workerStop = nullptr;

TProgressHook& Hook() {
  static TProgressHook hook;
  return hook;
}

// Nearest integer, halves to even (the default rounding of the floating-point unit); anything
// that is not a representable percentage becomes -1, which displays nothing.
int RoundedPercent(Extended percent) {
  if (!std::isfinite(percent)) return -1;
  const Extended r = std::nearbyint(percent);
  if (r < INT_MIN || r > INT_MAX) return -1;
  return static_cast<int>(r);
}
} // namespace

void SetProgressHook(TProgressHook hook) {
  Hook() = std::move(hook);
}

const TProgressHook& ProgressHook() {
  return Hook();
}

bool ReportProgress(const std::string& panel, const std::string& detail, Extended percent) {
  if (workerStop) return workerStop->load(std::memory_order_relaxed);
  const TProgressHook& hook = Hook();
  if (!hook) return false;
  bool abort = false;
  hook(RoundedPercent(percent), panel, detail, abort);
  return abort;
}

bool ReportUnitProgress(int i, int n) {
  const Extended percent = n > 0 ? 100.0L * i / n : 100.0L;
  return ReportProgress(" ", Format("%d/%d", i, n), percent);
}

TScopedProgressHook::TScopedProgressHook(TProgressHook hook) : previous_(std::move(Hook())) {
  Hook() = std::move(hook);
}

TScopedProgressHook::~TScopedProgressHook() {
  Hook() = std::move(previous_);
}

TWorkerProgress::TWorkerProgress(const std::atomic<bool>& stop) : previous_(workerStop) {
  workerStop = &stop;
}

TWorkerProgress::~TWorkerProgress() {
  workerStop = previous_;
}
