// The bibliographic references the main window shows beside the chosen method, as rich text:
// the method's name in bold, a line break, then the citation with the title underlined and the
// journal in italics. The same text in both languages.
#pragma once

#include <string>

// The reference of criterion `code` (0 to 10); empty for any other code.
std::string CriterionReference(int code);
// The reference of simulation algorithm `code` (0 Cornuet et al. 1999, 1 Rannala & Mountain
// 1997, 2 Paetkau et al. 2004); empty for any other code.
std::string AlgorithmReference(int code);
// Paetkau et al. (2004), the reference of first-generation migrant detection.
std::string MigrantDetectionReference();
