// Texts of the plots: titles, axis labels, legends and the refusals of impossible plots.
#pragma once

#include "base/Texts.h"

// The kinds of plots, as menus name them.
inline const TText kPlotBarsName{"Barres d'appartenance", "Membership bars"};
inline const TText kPlotMatrixName{"Matrice d'auto-affectation", "Self-assignment matrix"};
inline const TText kPlotExclusionName{"Graphique d'exclusion", "Exclusion plot"};
inline const TText kPlotMigrantName{"Graphique des migrants", "Migrant plot"};

inline const TText kPlotBarsTitle{"Appartenance : scores d'affectation (%)",
                                  "Membership: assignment scores (%)"};
inline const TText kPlotScoreAxis{"Score (%)", "Score (%)"};
inline const TText kPlotSampledPopulation{"Population échantillonnée", "Sampled population"};
inline const TText kPlotSamplesFilePopulation{"Échantillon", "Sample"};
inline const TText kPlotReferencePopulations{"Populations de référence", "Reference populations"};
inline const TText kPlotMergedUnits{"%d unités, moyennes par colonne de %d unités au plus",
                                    "%d units, averaged over columns of at most %d units"};

inline const TText kPlotMatrixTitle{"Auto-affectation : population échantillonnée × population "
                                    "affectée",
                                    "Self-assignment: sampled population × assigned population"};
inline const TText kPlotAssignedPopulation{"Population affectée", "Assigned population"};
inline const TText kPlotCorrectColumn{"Bien classés", "Correctly assigned"};
inline const TText kPlotShadeLegend{"Teinte des cases : part de la population échantillonnée",
                                    "Shade of a cell: share of the sampled population"};
inline const TText kPlotCorrectOverall{"Bien classés : %s (%d / %d)",
                                       "Correctly assigned: %s (%d / %d)"};

inline const TText kPlotExclusionTitle{"Exclusion : probabilité de chaque population de "
                                       "référence",
                                       "Exclusion: probability of every reference population"};
inline const TText kPlotProbabilityAxis{"Probabilité (échelle log)", "Probability (log scale)"};
inline const TText kPlotAlphaLine{"alpha = %s", "alpha = %s"};
inline const TText kPlotExcludedLegend{"Symbole vide : population exclue (probabilité < alpha)",
                                       "Hollow symbol: population excluded (probability < alpha)"};
inline const TText kPlotHomeLegend{"Cadre noir : population échantillonnée",
                                   "Black frame: sampled population"};
inline const TText kPlotRangeLegend{
    "Trait : du premier au troisième quartile des probabilités des unités de la colonne, pâle "
    "sous alpha (exclusion)",
    "Stroke: first to third quartile of the probabilities of the units of the column, pale "
    "below alpha (excluded)"};

inline const TText kPlotMigrantTitle{"Détection de migrants de première génération",
                                     "Detection of first generation migrants"};
inline const TText kPlotThresholdLine{"seuil = %s", "threshold = %s"};
inline const TText kPlotMigrantLegend{"Migrant détecté (%d)", "Detected migrant (%d)"};
inline const TText kPlotResidentLegend{"Individu non détecté (%d)", "Individual not detected (%d)"};

// Refusals.
inline const TText kPlotBarsNeedScores{
    "Le diagramme en barres montre les scores en pourcentage, qu'un calcul de probabilité ne "
    "donne pas : choisissez le graphique d'exclusion",
    "The membership bars show percentage scores, which a probability computation does not "
    "give: choose the exclusion plot"};
inline const TText kPlotExclusionNeedsSimulation{
    "Le graphique d'exclusion montre des probabilités : il demande le calcul de probabilité",
    "The exclusion plot shows probabilities: it needs the probability computation"};
inline const TText kPlotMatrixNeedsSelfAssignment{
    "La matrice d'auto-affectation demande l'affectation des individus de référence eux-mêmes "
    "(sans fichier d'échantillons ni groupes)",
    "The self-assignment matrix needs the reference individuals assigned themselves (no "
    "samples file, no groups)"};
inline const TText kPlotMigrantsOnly{
    "La détection de migrants n'a qu'un graphique : celui des migrants",
    "Migrant detection has a single plot: the migrant plot"};
inline const TText kPlotMigrantsNeedDetection{
    "Le graphique des migrants demande une détection de migrants",
    "The migrant plot needs a migrant detection"};
