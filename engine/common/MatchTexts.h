// Message texts of the matching of reference and treated data.
#pragma once

#include "base/Texts.h"

inline const TText kLocusMissingFromFile{"Le locus %s est absent du fichier %s",
                                         "Locus %s is missing from file %s"};
