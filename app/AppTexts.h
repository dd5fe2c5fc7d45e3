// Texts of the main window: the journal lines of a run, the parameter block, the results tab,
// its export and printing, the loading of files and the progress handling.
#pragma once

#include "base/Texts.h"

// Run control: the parameter block of an assignment.
inline const TText kNoLocusSelected{"Aucun locus sélectionné !", "No locus selected !"};
// Why no locus can be selected.
inline const TText kNoSharedLocus{
    "Le fichier d'échantillons n'a aucun locus en commun avec le fichier de référence",
    "The samples file has no locus in common with the reference file"};
inline const TText kLocusUntypedIn{"  %s : non typé dans %s", "  %s: not typed in %s"};
inline const TText kUsableLociRule{
    "Un locus n'est utilisable que s'il est typé dans chaque population de référence",
    "A locus can be used only when every reference population has it typed"};
inline const TText kAssignmentOfGroups{"Affectation des groupes d'individus.",
                                       "Assignment of groups of individuals."};
inline const TText kAssignmentOfIndividuals{"Affectation des individus.",
                                            "Assignment of individuals."};
inline const TText kReferenceFileLine{"Fichier de référence : %s", "Reference file: %s"};
inline const TText kTitleLine{"Titre : %s", "Title: %s"};
inline const TText kSamplesFileLine{"Fichier d'échantillons : %s", "Samples file: %s"};
inline const TText kUsedLociLine{"Locus utilisés : %s", "Used loci: %s"};
inline const TText kCriterionLine{"Critère : %s", "Criterion: %s"};
inline const TText kDefaultFrequencyLine{"Fréquence allélique par défaut : %g",
                                         "Default allelic frequency: %g"};
inline const TText kSimulationAlgorithmLine{"Algorithme de simulation : %s",
                                            "Simulation algorithm: %s"};
inline const TText kSimulatedCountLine{"Nombre d'individus simulés : %d",
                                       "Number of simulated individuals: %d"};
inline const TText kThresholdLine{"Seuil : %g", "Threshold: %g"};
inline const TText kStartingComputation{"Lancement du calcul", "Starting computation"};

// Run control: the parameter block of a migrant detection.
inline const TText kDataFileLine{"Fichier de données : %s", "Data file: %s"};
inline const TText kMigrantDetection{"Détection de migrants de première génération",
                                     "Detection of first generation migrants"};
inline const TText kLikelihoodHome{"Vraisemblance L_origine directe", "Direct likelihood L_home"};
inline const TText kLikelihoodRatioMax{"Rapport de vraisemblance L_origine / L_max",
                                       "Likelihood ratio L_home / L_max"};
inline const TText kLikelihoodRatioMaxNotHome{
    "Rapport de vraisemblance L_origine / L_max_non_origine",
    "Likelihood ratio L_home / L_max_not_home"};
inline const TText kPvalueThresholdLine{"Seuil (probabilité) : %g", "Threshold (p-value): %g"};

// Run control: the end of a run.
inline const TText kUserInterruption{"Interruption utilisateur", "Interrupted by user"};
inline const TText kQualityIndex{"Indice de qualité : %5.2f %%", "Quality index: %5.2f %%"};
inline const TText kCorrectlyAssigned{"Bien classés : %5.1f %% (%d)",
                                      "Correctly assigned: %5.1f %% (%d)"};
inline const TText kDurationPanel{"Durée %.3f s", "Duration %.3f s"};
inline const TText kComputationTerminated{"Calcul terminé. Durée : %.3f s",
                                          "Computation terminated. Duration: %.3f s"};
inline const TText kElapsedTime{"Temps écoulé : %.3f s", "Elapsed time: %.3f s"};
inline const TText kExceptionPrefix{"EXCEPTION: "};

// Progress and stop.
inline const TText kStopQuestion{"Voulez-vous interrompre le calcul en cours ?",
                                 "Do you want to interrupt the computation ?"};
inline const TText kProgressCaption{"%d %%"};

// Main window: files and the parameter automaton.
inline const TText kMixedPloidy{"Le fichier contient des niveaux différents de ploidie.",
                                "This file contains mixed levels of ploidy."};
inline const TText kReferencePopulationsLabel{"Populations de référence :",
                                              "Reference populations:"};
inline const TText kDataFileLabel{"Fichier de données :", "Data file:"};
inline const TText kOpenReferenceTitle{"Ouvrir le fichier de référence", "Open reference file"};
inline const TText kOpenSamplesTitle{"Ouvrir le fichier des échantillons", "Open samples file"};
inline const TText kOpeningReference{"Ouverture du fichier de référence %s ...",
                                     "Opening reference file %s ..."};
inline const TText kOpeningSamples{"Ouverture du fichier d'échantillons %s ...",
                                   "Opening samples file %s ..."};
inline const TText kFileLoaded{"Fichier chargé (%s)", "File loaded (%s)"};
inline const TText kUnknownFileFormat{
    "Le type du fichier est inconnu ou son format n'est pas supporté",
    "Unknown or unsupported file fomat."};
inline const TText kSaveReferenceTitle{"Sauver le fichier de référence sous",
                                       "Save reference file as"};
inline const TText kSaveSamplesTitle{"Sauver le fichier des échantillons sous",
                                     "Save samples file as"};
inline const TText kSaveAsTitle{"Enregister sous ...", "Save as..."};

// Results tab: export and printing.
inline const TText kExcelFileFilter{"Fichier Excel (*.csv)", "Excel file (*.csv)"};
inline const TText kPrintingDone{"Impression terminée", "End of printing"};
inline const TText kPrintingCancelled{"Impression annulée", "Printing cancelled"};

// Results grid: the headers the engine's texts do not hold.
inline const TText kGridPercent{"%"};
// The option-2 statistic of migrant detection for likelihood criteria.
inline const TText kGridLogRatioMaxNotHome{"-Log10(L_origine / L_max_non_origine)",
                                           "-log(L_home / L_max_not_home)"};

// Help pages and the web page in the user's browser.
inline const TText kBrowserNotDefined{
    "Navigateur non défini. Affectez le nom du navigateur à la variable d'environnement "
    "\"BROWSER\".",
    "Browser not defined. Define the environment variable \"BROWSER\" with the name of your "
    "internet browser."};
