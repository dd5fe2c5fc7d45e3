// The bibliographic references the main window shows beside the chosen method, as rich text:
// the method's name in bold, a line break, then the citation with the title underlined and the
// journal in italics. The same text in both languages.
#pragma once

#include <string>

#include "engine/criteria/Criteria.h"
#include "engine/simulation/Simulation.h"

// The reference of a criterion; empty for a value that names no criterion.
std::string CriterionReference(TCriterion criterion);
// The reference of a simulation algorithm; empty for a value that names no algorithm.
std::string AlgorithmReference(TSimulationAlgorithm algorithm);
// Paetkau et al. (2004), the reference of first-generation migrant detection.
std::string MigrantDetectionReference();
