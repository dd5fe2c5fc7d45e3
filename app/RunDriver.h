// Run control: what happens between a click on "Démarrer" and the results. The driver takes
// the run parameters the automaton computed, keeps the selected loci that the treated data set
// has, writes the parameter block to the journal, builds the engine's working objects, calls
// exactly one engine operation (assignment of individuals or of groups, or first-generation
// migrant detection), lets the user stop it through the progress hook, and reports the quality
// figures, the migrant count and the processor time the run took.
//
// The window and the command line share this code; they differ only in the sink that receives
// the journal lines, the messages, the progress and the status texts.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/results/ResultTables.h"
#include "engine/runs/Assignment.h"

class TInterfaceAutomate;
class TPGDSStructure;

// A journal line: the date and time, " - " and the text.
std::string JournalLine(const std::string& text);
// A journal block: the date and time followed by " :", then each line indented by eight blanks.
std::vector<std::string> JournalBlock(const std::vector<std::string>& lines);

enum class TRunStatus {
  NotStarted,  // no usable locus: the warning was shown, nothing was logged
  Completed,   // the grid can be filled
  Interrupted, // stopped by the user
  Failed       // an error was raised; its message is in TRunOutcome::Error
};

struct TRunOutcome {
  TRunStatus Status = TRunStatus::NotStarted;
  // The number of ranked scores to show after the run: 0 with simulation, else at most 5.
  int ScoresToDisplay = 0;
  // Self-assignment of individuals only: the quality figures and their two texts.
  TAssignmentQuality Quality;
  std::string QualityText;
  std::string CorrectlyAssignedText;
  // Migrant detection: the number of flagged individuals and its summary line.
  std::int32_t MigrantCount = 0;
  std::string MigrantSummary;
  // Processor time of the run, in seconds.
  double Duration = 0;
  double Elapsed = 0; // wall-clock seconds
  std::string Error;
};

// What a run reports to the window (or to the command line).
class TRunSink {
public:
  virtual ~TRunSink() = default;

  // One line of the journal memo, already formatted.
  virtual void AppendJournal(const std::string& line) = 0;
  // A warning box with an OK button.
  virtual void Warning(const std::string& text) = 0;
  // A plain message box (the message of an error).
  virtual void Message(const std::string& text) = 0;
  // The stop question; true when the user answers Yes (No is the default button).
  virtual bool Confirm(const std::string& question) = 0;
  // Status bar panel 0 (duration), 1 (phase), 2 and 3 (the engine's two texts).
  virtual void SetStatus(int panel, const std::string& text) = 0;
  // Progress bar position, 0 to 100.
  virtual void SetProgress(int percent) = 0;
  // Lets queued user events (the Stop button) be processed.
  virtual void ProcessEvents() {}
  // Locks (true) or unlocks the window; calling it twice is harmless.
  virtual void SetRunningState(bool running) { (void)running; }
  virtual void ShowJournalTab() {}
  // A run completed: fill the grid from the driver's result table and the outcome, set the
  // summary labels, show the results tab.
  virtual void ShowResults(const TRunOutcome& outcome) { (void)outcome; }

  void LogLine(const std::string& text) { AppendJournal(JournalLine(text)); }
  void LogBlock(const std::vector<std::string>& lines);
};

// The data a run works on.
struct TRunData {
  const TPGDSStructure* Reference = nullptr;
  // The samples data set when one is loaded, else null.
  const TPGDSStructure* Samples = nullptr;
  // The checked items of the locus list, in list order.
  std::vector<std::string> CheckedLoci;
};

class TRunDriver {
public:
  explicit TRunDriver(TRunSink& sink) : sink_(sink) {}

  // The table of the last completed or interrupted run.
  std::unique_ptr<TTableResultats> ResultTable;
  // Set by the Stop button; read by the progress handler and after the engine returns.
  bool StopRequested = false;
  // The threads the engine computes on (0: every core).
  int Threads = 0;

  // The Stop button: asks for a stop at the next progress report.
  void RequestStop();
  // The start button: journal tab, window locked, the run the automaton's goal selects, an
  // empty journal line, window unlocked.
  TRunOutcome Start(const TInterfaceAutomate& automaton, const TRunData& data);
  TRunOutcome RunAssignment(const TInterfaceAutomate& automaton, const TRunData& data);
  TRunOutcome RunMigrantDetection(const TInterfaceAutomate& automaton, const TRunData& data);

  // The engine's progress report: bar and status texts, the stop question when a stop was
  // requested, pending events.
  void EngineProgress(int percent, const std::string& text2, const std::string& text3, bool& abort);

private:
  TRunSink& sink_;
  std::chrono::steady_clock::time_point wallStart_;

  // The selected loci the data set `ds` has, and the loci text of the journal (a blank before
  // each name).
  static std::vector<std::string> SelectedLoci(const TRunData& data, const TPGDSStructure& ds,
                                               std::string& lociText);
  // The interrupted path: the warning, the journal line.
  void Interrupted(TRunOutcome& outcome);
  // The end of every run that was not refused and did not fail: the duration.
  void Finish(TRunOutcome& outcome, long startMs);
  // The error path.
  void Failed(TRunOutcome& outcome, const std::string& message);
};

// The processor time the program has used, in milliseconds.
long ProcessorMilliseconds();
