// Self-assignment of a generated data set as the main window runs it: loading of the file, the
// match of the data set with itself, the assignment of every individual (its own population
// evaluated without it) and the export of the results grid.
#pragma once

#include <cstdint>

#include "bench/BenchSupport.h"
#include "engine/criteria/Criteria.h"

struct TSelfAssignment {
  TGeneratorParams Data;
  TCriterion Criterion = TCriterion::RannalaMountain;
  int Threads = 1;
};

// Times load + match + assignment + export. Not available when the engine refuses the criterion.
TMeasure MeasureSelfAssignment(const TSelfAssignment& run, const TBenchOptions& options);

// A short fingerprint of a file's bytes (FNV-1a), to see at a glance that two ways of computing
// wrote the same results.
std::string FileFingerprint(const std::string& path);
