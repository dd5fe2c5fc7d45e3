// Work shared among threads: the units of a run are treated in parallel while the calling
// thread, which owns the progress hook, follows them in order, reports progress and honours a
// stop request.
#pragma once

#include <functional>

#include "base/RunResult.h"

// The number of threads a run uses for `requested` (0: every core of the machine).
int ThreadCount(int requested);

// Treats units 0..n-1 with work(i) on `threads` threads. On the calling thread, in increasing
// order of i: before(i), then, once unit i is done, after(i); either returning true (as the
// progress hook answers a stop request) stops the run: units not yet started are left undone and
// the call answers Stopped. While it waits,
// the calling thread calls waiting() about ten times a second (true stops as well). With one
// thread everything runs on the calling thread: before(i), work(i), after(i). work(i) for
// different i must not share mutable state; on worker threads ReportProgress only answers
// whether the run is being stopped. An exception thrown by work(i) stops the run and is
// rethrown on the calling thread.
TRunResult ParallelUnits(int n, int threads, const std::function<void(int)>& work,
                         const std::function<bool(int)>& before,
                         const std::function<bool(int)>& after,
                         const std::function<bool()>& waiting);

// The course of a run whose units are kept in order: ParallelUnits with the progress "i/n"
// reported before each unit and after each one kept, and pending events processed while the
// calling thread waits. keep(i), on the calling thread in order once unit i is done, answers
// whether it is kept (false: it was stopped inside, which stops the run). `kept` becomes the
// number of units kept: after a stop, what other threads computed beyond them is the caller's to
// drop, as a run on one thread would not have reached it.
TRunResult ParallelKeptUnits(int n, int threads, const std::function<void(int)>& work,
                             const std::function<bool(int)>& keep, int& kept);
