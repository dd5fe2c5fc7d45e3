// Texts of the main window's controls (captions, hints, dialog titles) and the accessible names
// of the controls that show no caption of their own, in French and English. The message texts
// of the window (journal lines, boxes) are in app/AppTexts.h.
#pragma once

#include "base/Texts.h"

namespace wtext {

inline const TText kWindowCaption{"TEPU / MOLVA  --  Tarvik2.0.g  --  31-jan-2005"};

// Menus.
inline const TText kMenuFile{"&Fichier", "&File"};
inline const TText kMenuOpenReference{"&Ouvrir fichier de références ...",
                                      "&Open reference file..."};
inline const TText kMenuOpenSamples{"Ouvrir fichier d'échantillons ...", "Open samples file..."};
inline const TText kMenuSaveReference{"Enregistrer fichier de références sous ...",
                                      "Save reference file as..."};
inline const TText kMenuSaveSamples{"Enregistrer fichier d'échantillons sous ...",
                                    "Save samples file as..."};
inline const TText kMenuQuit{"&Quitter", "&Quit"};
inline const TText kMenuWindows{"&Fenêtres", "&Windows"};
inline const TText kMenuLanguage{"Langue", "Language"};
inline const TText kMenuFrench{"Français", "French"};
inline const TText kMenuEnglish{"Anglais", "English"};
inline const TText kMenuHelpRoot{"&?"};
inline const TText kMenuHelp{"Aide...", "Help..."};
inline const TText kMenuAbout{"A propos ...", "About..."};
inline const TText kMenuWWW{"WWW ...", "WWW..."};

// Tool bar hints.
inline const TText kHintOpen{"Ouvrir fichier de références ...", "Open reference file..."};
inline const TText kHintSave{"Enregistrer fichier de références sous ...",
                             "Save reference file as..."};
inline const TText kHintStop{"Stop"};

// Main tabs and the file rows.
inline const TText kTabParameters{"Paramètres", "Parameters"};
inline const TText kTabResults{"Résultats", "Results"};
inline const TText kTabJournal{"Journal", "Log"};
inline const TText kLabelReference{"Populations de référence : ", "Reference populations: "};
inline const TText kLabelSamples{"Echantillons à traiter : ", "Samples to be assigned: "};
inline const TText kOpenButton{"&Ouvrir ...", "&Open..."};
inline const TText kClearButton{"Effacer", "Clear"};
inline const TText kStatisticsButton{"Statistiques", "Statistics"};
inline const TText kStartButton{"Démarrer", "Start"};
inline const TText kLabelJournal{"Journal d'activité :", "Activity log:"};

// " 1) Objectif du calcul ".
inline const TText kTabObjective{" 1) Objectif du calcul ", " 1) Computation goal "};
inline const TText kGroupObjective{"Application"};
inline const TText kRadioAssignment{"Affecte / exclue les populations en tant qu'origine des "
                                    "individus",
                                    "Assign / Exclude population as origin of individuals"};
inline const TText kRadioMigrants{"Détection des migrants de première génération",
                                  "Detection of first generation migrants"};
inline const TText kGroupWhatToAssign{"Affecter les :", "Assign:"};
inline const TText kRadioIndividuals{"Individus", "Individuals"};
inline const TText kRadioGroups{"Groupes d'individus", "Groups of individuals"};
inline const TText kGroupThreshold{"Seuil d'affectation des scores :",
                                   "Assignment threshold of scores:"};
inline const TText kGroupLikelihood{"Calcul de la vraisemblance", "Likelihood computation"};
inline const TText kRadioLhome{"L = L_origine", "L = L_home"};
inline const TText kRadioLmaxWithHome{"L = L_origine / L_max", "L = L_home / L_max"};
inline const TText kRadioLmaxNotHome{"L = L_origine / L_max_non_origine",
                                     "L = L_home / L_max_not_home"};

// " 2) Critère calculé ".
inline const TText kTabCriterion{" 2) Critère calculé ", " 2) Criteria for Computation "};
inline const TText kGroupBayesian{"Méthodes bayésiennes", "Bayesian methods"};
inline const TText kGroupProbability{"Probabilité", "Probability"};
inline const TText kGroupFrequencies{"Méthode basée sur les fréquences",
                                     "Frequencies-based method"};
inline const TText kLabelPaetkau{"Fréquence par défaut si allèle manquant : ",
                                 "Default frequency for missing allele: "};
inline const TText kGroupDistances{"Méthodes basées sur les distances", "Distance-based methods"};

// " 3) Calcul de probabilité ".
inline const TText kTabProbability{" 3) Calcul de probabilité ", " 3) Probability computation "};
inline const TText kCheckSimulation{
    "Activer le calcul de probabilité (rééchantillonage de Monte-Carlo)",
    "Enable probability computation (Monte-Carlo resampling)"};
inline const TText kGroupAlgorithm{"Algorithme de simulation :", "Simulation algorithm:"};
inline const TText kRadioASPaetkau{"Paetkau et al. (2003)", "Paetkau et al. (2004)"};
inline const TText kGroupSimulated{"Nombre d'individus simulés", "Number of simulated individuals"};
inline const TText kGroupPvalue{"Erreur de type I (alpha) : ", "Type I error (alpha) : "};

// " 4) Sélection des locus ".
inline const TText kTabLoci{" 4) Sélection des locus ", " 4) Locus selection "};
inline const TText kGroupLoci{"Choix des locus", "Loci chooser"};
inline const TText kAllButton{"&Tous", "&All"};
inline const TText kNoneButton{"&Aucun", "&None"};

// "Résultats".
inline const TText kScoresLabel{"Nombre des scores à afficher :", "Number of scores to display:"};
inline const TText kExportButton{"&Exporter ...", "&Export..."};
inline const TText kPrintButton{"&Imprimer ...", "&Print..."};

// Accessible names of the controls without a caption of their own.
inline const TText kNameThresholdSlider{"Seuil d'affectation des scores",
                                        "Assignment threshold of scores"};
inline const TText kNameThresholdValue{"Valeur du seuil d'affectation",
                                       "Assignment threshold value"};
inline const TText kNamePaetkauSlider{"Fréquence par défaut si allèle manquant",
                                      "Default frequency for missing allele"};
inline const TText kNamePaetkauValue{"Valeur de la fréquence par défaut",
                                     "Default frequency value"};
inline const TText kNameSimulatedSlider{"Nombre d'individus simulés",
                                        "Number of simulated individuals"};
inline const TText kNameSimulatedValue{"Valeur du nombre d'individus simulés",
                                       "Number of simulated individuals value"};
inline const TText kNamePvalueSlider{"Erreur de type I (alpha)", "Type I error (alpha)"};
inline const TText kNamePvalueValue{"Valeur de l'erreur de type I", "Type I error value"};
inline const TText kNameLocusList{"Liste des locus", "Loci list"};
inline const TText kNameResultsGrid{"Grille des résultats", "Results grid"};
inline const TText kNameStatisticsGrid{"Grille des statistiques", "Statistics grid"};
inline const TText kNameProgress{"Progression", "Progress"};
inline const TText kNameReferenceInfo{"Référence de la méthode", "Reference of the method"};
inline const TText kNameReferenceEdit{"Fichier de références", "Reference file"};
inline const TText kNameSamplesEdit{"Fichier d'échantillons", "Samples file"};

// Start without a display.
inline const TText kNoDisplay{
    "Tarvik2 : aucun écran disponible (la variable DISPLAY n'est pas définie ou le serveur X ne "
    "répond pas). Utilisez tarvik2-cli pour travailler sans écran.",
    "Tarvik2: no display available (DISPLAY is not set or the X server does not answer). Use "
    "tarvik2-cli to work without a display."};

} // namespace wtext
