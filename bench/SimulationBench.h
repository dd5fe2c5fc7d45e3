// What the simulation scenarios share: the data set of the Monte-Carlo runs and the counts of
// simulated individuals the engine draws.
#pragma once

#include <cstdint>

#include "bench/BenchSupport.h"
#include "engine/simulation/Simulation.h"

class TMatchPGDS;

// 20 populations x 15 loci, 50 individuals per population at full size.
TGeneratorParams SimulationData(int individualsPerPopulation = 50);
// A smaller data set, measured on one thread with fewer simulated individuals.
TGeneratorParams ReducedSimulationData(const TBenchOptions& options);

// Simulated individuals drawn for one list of `count` values from a population of `size`
// individuals: `count`, or with algorithm 2 whole simulated populations of `size` offspring,
// enough of them to reach `count`.
double SimulatedPerList(TSimulationAlgorithm algorithm, int count, int size);

// The threads of the thread comparison: --threads, else 2.
int ComparisonThreads(const TBenchOptions& options);
