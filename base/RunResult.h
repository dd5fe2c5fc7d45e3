// How a run ended.
#pragma once

enum class TRunResult {
  Completed,  // every unit treated
  Stopped,    // the user stopped it through the progress hook
  Unavailable // it cannot run with these settings (a criterion or option it does not compute)
};

// Completed unless `stopped`.
constexpr TRunResult CompletedUnless(bool stopped) {
  return stopped ? TRunResult::Stopped : TRunResult::Completed;
}
