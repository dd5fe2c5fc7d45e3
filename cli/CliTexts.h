// Texts of tarvik2-cli.
#pragma once

#include "base/Texts.h"

inline const TText kCliReadFormats{"Formats de lecture (--format) :", "Read formats (--format):"};
inline const TText kCliWriteFormats{"Formats d'écriture (--to) :", "Write formats (--to):"};
inline const TText kCliDetection{"(détection automatique)", "(automatic detection)"};

inline const TText kCliFormatRead{"Format lu : %s", "Format read: %s"};
inline const TText kCliNbLoci{"Nombre de locus : %d", "Number of loci: %d"};
inline const TText kCliNbSamples{"Nombre d'échantillons : %d", "Number of samples: %d"};
inline const TText kCliNbIndividuals{"Nombre d'individus : %d", "Number of individuals: %d"};
inline const TText kCliLocusAlleles{"  %s : %d allèle(s)", "  %s: %d allele(s)"};
inline const TText kCliJournal{"Journal :", "Journal:"};
