#include "engine/common/ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "base/Progress.h"

int ThreadCount(int requested) {
  if (requested > 0) return requested;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

TRunResult ParallelUnits(int n, int threads, const std::function<void(int)>& work,
                         const std::function<bool(int)>& before,
                         const std::function<bool(int)>& after,
                         const std::function<bool()>& waiting) {
  threads = std::min(ThreadCount(threads), std::max(n, 1));
  if (threads <= 1) {
    for (int i = 0; i < n; ++i) {
      if (before(i)) return TRunResult::Stopped;
      work(i);
      if (after(i)) return TRunResult::Stopped;
    }
    return TRunResult::Completed;
  }

  std::atomic<bool> stop{false};
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable doneSignal;
  std::vector<char> done(static_cast<size_t>(n), 0);
  std::exception_ptr failure;
  // The unit the calling thread waits for, -1 when it is not waiting: a worker wakes it only for
  // that unit, not after every unit (one wake-up per unit costs more than a short unit's work).
  int awaited = -1;

  auto worker = [&] {
    const TWorkerProgress silence(stop);
    while (!stop.load()) {
      const int i = next.fetch_add(1);
      if (i >= n) break;
      bool wake = false;
      try {
        work(i);
      } catch (...) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!failure) failure = std::current_exception();
        stop = true;
        wake = true;
      }
      {
        const std::lock_guard<std::mutex> lock(mutex);
        done[static_cast<size_t>(i)] = 1;
        wake = wake || awaited == i;
      }
      if (wake) doneSignal.notify_one();
    }
  };
  std::vector<std::thread> pool;
  // Whatever leaves this call (the end of the run, an exception of the progress hooks on this
  // thread or a thread that could not be started), the workers are stopped and joined first: a
  // thread still joinable when it is destroyed would end the program.
  auto joinAll = [&] {
    stop = true;
    for (std::thread& t : pool)
      if (t.joinable()) t.join();
  };
  struct TJoinOnExit {
    decltype(joinAll)& join;
    ~TJoinOnExit() { join(); }
  } joinOnExit{joinAll};
  pool.reserve(static_cast<size_t>(threads));
  for (int t = 0; t < threads; ++t)
    pool.emplace_back(worker);

  bool completed = true;
  for (int i = 0; i < n && completed; ++i) {
    if (before(i)) {
      completed = false;
      break;
    }
    std::unique_lock<std::mutex> lock(mutex);
    awaited = i;
    while (!done[static_cast<size_t>(i)] && !failure) {
      if (doneSignal.wait_for(lock, std::chrono::milliseconds(100)) == std::cv_status::timeout) {
        lock.unlock();
        const bool abort = waiting();
        lock.lock();
        if (abort) break;
      }
    }
    awaited = -1;
    const bool finished = done[static_cast<size_t>(i)] && !failure;
    lock.unlock();
    if (!finished || after(i)) completed = false;
  }
  joinAll();
  if (failure) std::rethrow_exception(failure);
  return CompletedUnless(!completed);
}

TRunResult ParallelKeptUnits(int n, int threads, const std::function<void(int)>& work,
                             const std::function<bool(int)>& keep, int& kept) {
  kept = 0;
  return ParallelUnits(
      n, threads, work, [n](int i) { return ReportUnitProgress(i, n); },
      [&](int i) {
        if (!keep(i)) return true;
        ++kept;
        return ReportUnitProgress(i, n);
      },
      [] { return ReportProgress(" ", " ", -1); });
}
