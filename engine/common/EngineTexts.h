// Display texts of the assignment engine: names of the criteria and of the simulation
// algorithms, status texts, and the column titles of the results grid.
#pragma once

#include <cstdint>
#include <string>

#include "base/Texts.h"

// Criteria, by code.
inline const TText kCriterionBaudouinLebrun{"Baudouin & Lebrun (2000)"};
inline const TText kCriterionBaudouin2{"Baudouin (TEST)"};
inline const TText kCriterionRannalaMountain{"Rannala & Mountain (1997)"};
inline const TText kCriterionPaetkau{"Paetkau at al. (1995)"};
inline const TText kCriterionNeiStandard{"Distance standard de Nei (1972)",
                                         "Nei's standard distance (1972)"};
inline const TText kCriterionNeiMinimum{"Distance Minimum de Nei (1973)",
                                        "Nei's minimum distance (1973)"};
inline const TText kCriterionNeiDA{"Distance DA de Nei et al. (1983)",
                                   "Nei's et al. DA distance (1983)"};
inline const TText kCriterionCavalliSforza{"Distance de Cavalli-Sforza & Edwards (1967)",
                                           "Cavalli-Sforza & Edwards' distance (1967)"};
inline const TText kCriterionGoldstein{"Distance de Goldstein et al. (1995)",
                                       "Goldstein's et al. distance (1995)"};
inline const TText kCriterionCornuet{"Cornuet (in prep.)"};
inline const TText kCriterionRogers{"Distance de Rogers (1972)", "Rogers' distance (1972)"};
inline const TText kUnknownName{"<inconnue>", "<unknown>"};

// Simulation algorithms, by code.
inline const TText kSimulationCornuet{"Cornuet et al. (1999)"};
inline const TText kSimulationRannalaMountain{"Rannala & Mountain (1997)"};
inline const TText kSimulationPaetkau{"Paetkau et al. (2003)", "Paetkau et al. (2004)"};

// Status texts.
inline const TText kStatusAssignment{"AFFECTATION ...", "ASSIGNMENT ..."};
inline const TText kStatusMigrants{"DETECTION DE MIGRANTS ...", "DETECTION OF MIGRANTS ..."};
inline const TText kStatusPresimulation{"Présimulation ...", "Presimulation ..."};
inline const TText kStatusEnd{"Terminé.", "Terminated."};
// Criterion 9, at every locus of every population: population name, locus name.
inline const TText kCornuetProgress{"Ref=\"%s\",  Loc=\"%s\""};

// Results grid: column titles and units.
inline const TText kGridAssignedSample{"Echantillon assigné", "Assigned sample"};
inline const TText kGridLikelihoodUnit{"-Log10(L)", "-log(L)"};
inline const TText kGridCornuetUnit{"L"};
inline const TText kGridProbabilityUnit{"probabilité", "probability"};
inline const TText kGridDistanceUnit{"distance"};
inline const TText kGridRank{"rang", "rank"};
inline const TText kGridHome{"origine", "home"};
inline const TText kGridScore{"score"};
inline const TText kGridReference{"ref"};
inline const TText kGridNbLoci{"Nb. de locus", "Nb. of loci"};
inline const TText kGridUsedLoci{"Locus utilisés", "Used loci"};
inline const TText kGridMissingLoci{"Locus manquants", "Missing loci"};

// Results grid: the statistic of first-generation migrant detection. Two of them keep their
// French wording in English.
inline const TText kMigrantHome{"L_origine", "L_home"};
inline const TText kMigrantLogRatioMax{"-Log10(L_origine / L_max)", "-log(L_home / L_max)"};
inline const TText kMigrantLogRatioMaxNotHome{"-Log10(L_origine / L_max_not_home)",
                                              "-log(L_home / L_max_not_home)"};
inline const TText kMigrantCornuetRatioMax{"L_origine / L_max"};
inline const TText kMigrantLogHome{"-Log10(L_origine)", "-log(L_home)"};
inline const TText kMigrantCornuetHome{"L_origine"};
inline const TText kMigrantRatioMax{"L_origine / L_max", "L_home / L_max"};
inline const TText kMigrantRatioMaxNotHome{"L_origine / L_max_non_origine",
                                           "L_home / L_max_not_home"};

// Summary of a migrant detection: count of flagged individuals, threshold.
inline const TText kMigrantSummary{"%d individus avec une probabilité inférieure à %f",
                                   "%d individuals with a probability below %f"};

// A criterion whose computation the engine does not offer (its display name).
inline const TText kCriterionNotAvailable{"Le critère %s n'est pas disponible",
                                          "Criterion %s is not available"};
