// The result table of a run: one result per treated unit (individual or group), each with one
// row per reference population, a ranked copy of the rows, the verdict for the unit and the loci
// it was computed on; plus the run's journal of time-stamped lines.
//
// A result holds numbers only: the values and scores of its rows in population order, and its
// ranked rows as the index of their population with their own score (their value is their
// population's, except for a home row that carries its own). The names (reference populations,
// loci) are held once by the table and shared by its results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Real.h"
#include "engine/results/ExtendedArray.h"
#include "engine/results/LocusSet.h"

// The names a table's results refer to by position.
struct TResultNames {
  // Row k of every result is population k.
  std::vector<std::string> Populations;
  // The reference samples' names as read, where one differs from its population's name (a name
  // that several samples share): sample k is then name Populations.size() + k. Empty when none
  // differs.
  std::vector<std::string> Samples;
  // The run's loci, in the run's order: the positions of the used and missing loci.
  std::vector<std::string> Loci;

  // The name index of reference sample k's name as read.
  int SampleIndex(int k) const {
    return Samples.empty() ? k : static_cast<int>(Populations.size()) + k;
  }
  // Name `index`; empty for -1 (no population).
  const std::string& Name(int index) const;
};

// One reference population as seen by one treated unit, read from a result.
struct RResultat {
  const std::string& Name; // reference population (sample) name
  Extended Value = 0;      // criterion value, or its probability; undefined when not computable
  Extended Score = 0;      // raw or percentage score (assignment), -log10 or distance (migrants)
};

class TResultats {
public:
  std::int32_t Count = 0;
  std::string Caption;
  bool WellClassified = false;
  TLocusSet UsedLoci;
  TLocusSet MissingLoci;
  bool IsMigrant = false;
  std::int32_t LikeliestPopulation = -1;

  explicit TResultats(std::shared_ptr<const TResultNames> names = nullptr);

  // Count := n; the row storage grows to n when shorter.
  void SetCount(int n);
  // Length of the row storage: it only grows.
  int Capacity() const { return static_cast<int>(values_.size()); }
  // Row k, population k.
  RResultat Row(int k) const;
  void SetRow(int k, Extended value, Extended score);
  // Ranked rows made by CopyToSorted.
  int SortedCount() const { return static_cast<int>(sortedScores_.size()); }
  RResultat SortedRow(int k) const;
  void SetSortedScore(int k, Extended score);
  // Ranked row 0 := the unit's home population (a name index of the table's names, -1 for none)
  // with a value and a score of its own (migrant detection). Needs a ranked row.
  void SetHomeRow(int name, Extended value, Extended score);
  // Ranked rows := a copy of rows 0 .. Count-1.
  void CopyToSorted();
  // Ranks the ranked rows by score, highest first. An undefined score compares false with
  // everything, so it is never moved by the exchange of small ranges.
  void SortRows();
  // Both row arrays, both locus sets and the caption emptied; Count 0.
  void Clear();

  // The names of the loci of `loci` (UsedLoci or MissingLoci), in the run's order.
  std::vector<std::string> LocusNames(const TLocusSet& loci) const;
  // The names the rows refer to; empty lists for a result outside any table.
  const TResultNames& Names() const;

private:
  friend class TTableResultats;

  std::shared_ptr<const TResultNames> names_;
  TExtendedArray values_, scores_;
  TExtendedArray sortedScores_;
  // Ranked row k is population sortedNames_[k]: its value is that population's row value,
  // except at ranked position homePosition_, which holds a home row of its own (name index
  // then of the table's names, maybe -1) with homeValue_.
  std::vector<std::int32_t> sortedNames_;
  std::int32_t homePosition_ = -1;
  Extended homeValue_ = 0;
};

class TTableResultats {
public:
  std::vector<std::string> Journal;

  explicit TTableResultats(int n = 0, TResultNames names = {});

  // Clears the table and creates n fresh results.
  void SetCount(int n);
  int Count() const { return static_cast<int>(items_.size()); }
  // Result i; raises std::out_of_range outside 0 .. Count-1.
  TResultats& Item(int i) { return *items_.at(static_cast<size_t>(i)); }
  const TResultats& Item(int i) const { return *items_.at(static_cast<size_t>(i)); }
  // A fresh result in place of result i.
  void ResetItem(int i);
  // The names shared by the results; set before the results are filled.
  const TResultNames& Names() const { return *names_; }
  void SetNames(TResultNames names);
  // Every result freed, journal emptied.
  void Clear();
  // Appends a time-stamped " :" line, then each line indented by eight blanks.
  void AddBlock(const std::vector<std::string>& lines);
  // Appends the date and time, " - " and the text.
  void AddLine(const std::string& text);

private:
  std::vector<std::unique_ptr<TResultats>> items_;
  std::shared_ptr<const TResultNames> names_;
};

// The current date and time as the journals show it: "dd/mm/yyyy hh:mm:ss".
std::string ShortDateTime();
