// Texts of the statistics window: grid labels, menu, save dialog and printing messages.
#pragma once

#include "base/Texts.h"

// Grid labels.
inline const TText kStatLocusHeader{"LOCUS", "LOCI"};
inline const TText kStatPopulations{"Populations :", "Populations:"};
inline const TText kStatMeans{"Moyennes", "Means"};
inline const TText kStatNbGenes{"Nombre de gènes", "Number of genes"};
inline const TText kStatNbAlleles{"Nombre d'Allèles", "Number of alleles"};
inline const TText kStatFrequencies{"Fréquences", "Frequencies"};
inline const TText kStatHeterozygotes{"Proportion d'hétérozygotes", "Heterozygotes proportion"};
inline const TText kStatGeneDiversity{"\"Gene Diversity\" de Nei", "Nei's genic diversity"};

// Summary block (over all loci).
inline const TText kStatAllLoci{"ENSEMBLE DES LOCUS", "ALL LOCI"};
inline const TText kStatMeanNbAlleles{"Moyenne du nombre d'allèles", "Mean alleles number"};
inline const TText kStatSdNbAlleles{"Ecart-type du nombre d'allèles ",
                                    "Number of alleles standard deviation"};
inline const TText kStatMeanHeterozygotes{"Moyenne de la proportion d'hétérozygotes",
                                          "Mean heterozygotes proportion"};
inline const TText kStatSdHeterozygotes{"Ecart-type de la proportion d'hétérozygotes",
                                        "Heterozygotes proportion standard deviation"};
inline const TText kStatMeanGeneDiversity{"Moyenne de l'hétérozygotie de Nei",
                                          "Mean Nei's genic diversity"};
inline const TText kStatSdGeneDiversity{"Ecart-type de l'hétérozygotie de Nei",
                                        "Nei's genic diversity standard deviation"};

// Window, menu, save dialog and printing.
inline const TText kStatCaption{"Informations"};
inline const TText kStatMenuFile{"Fichier", "File"};
inline const TText kStatMenuSaveAs{"Enregistrer sous ...", "Save as..."};
inline const TText kStatMenuPrint{"Imprimer ...", "Print..."};
inline const TText kStatMenuClose{"Fermer", "Close"};
inline const TText kStatSaveDialogTitle{"Enregister sous", "Save as"};
inline const TText kStatSaveDialogFilter{"Fichiers csv (*.csv)|*.csv|Tous les fichiers (*)|*"};
inline const TText kStatPrintJobTitle{"Morvell - 2"};
inline const TText kStatPrintDone{"Impression terminée", "End of printing"};
inline const TText kStatPrintCancelled{"Impression annulée", "Printing cancelled"};
