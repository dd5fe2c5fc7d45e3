// The result table of a run: one result per treated unit (individual or group), each with one
// row per reference population, a ranked copy of the rows, the verdict for the unit and the loci
// it was computed on; plus the run's journal of time-stamped lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Real.h"

// One reference population as seen by one treated unit.
struct RResultat {
  std::string Name;   // reference population (sample) name
  Extended Value = 0; // criterion value, or its probability; undefined when not computable
  Extended Score = 0; // raw or percentage score (assignment), -log10 or distance (migrants)
};

class TResultats {
public:
  std::int32_t Count = 0;
  std::string Caption;
  // Row storage; its length only grows, Count rows are in use.
  std::vector<RResultat> Rows;
  std::vector<RResultat> SortedRows;
  bool WellClassified = false;
  std::vector<std::string> UsedLoci;
  std::vector<std::string> MissingLoci;
  bool IsMigrant = false;
  std::int32_t LikeliestPopulation = -1;

  TResultats();

  // Count := n; the row storage grows to n when shorter.
  void SetCount(int n);
  RResultat& Row(int k) { return Rows[static_cast<size_t>(k)]; }
  const RResultat& Row(int k) const { return Rows[static_cast<size_t>(k)]; }
  RResultat& SortedRow(int k) { return SortedRows[static_cast<size_t>(k)]; }
  const RResultat& SortedRow(int k) const { return SortedRows[static_cast<size_t>(k)]; }
  // SortedRows := a copy of rows 0 .. Count-1.
  void CopyToSorted();
  // Ranks SortedRows by score, highest first. An undefined score compares false with everything,
  // so it is never moved by the exchange of small ranges.
  void SortRows();
  // Both row arrays, both locus lists and the caption emptied; Count 0.
  void Clear();
};

class TTableResultats {
public:
  std::vector<std::unique_ptr<TResultats>> Items;
  std::vector<std::string> Journal;

  explicit TTableResultats(int n = 0) { SetCount(n); }

  // Clears the table and creates n fresh results.
  void SetCount(int n);
  int Count() const { return static_cast<int>(Items.size()); }
  // Result i; raises std::out_of_range outside 0 .. Count-1.
  TResultats& Item(int i) { return *Items.at(static_cast<size_t>(i)); }
  const TResultats& Item(int i) const { return *Items.at(static_cast<size_t>(i)); }
  // Every result freed, journal emptied.
  void Clear();
  // Appends a time-stamped " :" line, then each line indented by eight blanks.
  void AddBlock(const std::vector<std::string>& lines);
  // Appends the date and time, " - " and the text.
  void AddLine(const std::string& text);
};

// The current date and time as the journals show it: "dd/mm/yyyy hh:mm:ss".
std::string ShortDateTime();
