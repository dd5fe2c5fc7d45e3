// Message texts of the data sets, their readers and their writers.
#pragma once

#include "base/Texts.h"

inline const TText kOperationInterrupted{"L'opération a été interrompue par l'utilisateur",
                                         "User interrupted operation"};

// Format names.
inline const TText kFormatXMLGenotypes{"XML génotypes", "XML genotypes"};
inline const TText kFormatGenePop2{"GenePop 2"};
inline const TText kFormatGenePop3{"GenePop 3"};
inline const TText kFormatGenePopHaploid{"GenePop Haploïde", "Haploid GenePop"};
inline const TText kFormatFstat{"Fstat"};
inline const TText kFormatGenetix{"Genetix"};
inline const TText kFormatQUAV{"QUAV"};
inline const TText kFormatMNE{"MNE"};
inline const TText kFormatArlequin{"Arlequin (microsat)"};
inline const TText kFormatMolvaPRN{"MOLVA PRN"};
inline const TText kFormatUnknown{"inconnu", "unknown"};

// Text readers.
inline const TText kMissingGenotype{"Génotype manquant", "Missing genotype"};
inline const TText kTooManyGenotypes{"Trop de génotypes", "Too many genotypes"};
inline const TText kReadError{"Erreur \"%s\" à la ligne %d colonne %d en lecture de fichier %s",
                              "Error \"%s\" line %d column %d while parsing %s file"};
inline const TText kMissingIndividual{"Individu manquant", "Missing individual"};
inline const TText kIncorrectAlleleLength{"Longueur d'allèle incorrecte",
                                          "Incorrect allele length"};
inline const TText kPrnMissingGenotype{"Génotype manquant", "Missing genotype"};
inline const TText kTooManyLoci{"Trop de locus", "Too many loci"};
inline const TText kIncorrectAllelesNumber{"Nombres d'allèles incorrect",
                                           "Incorrect alleles number"};

// Opening and loading.
inline const TText kCannotOpenFile{"Le fichier %s n'a pas pu être ouvert",
                                   "Unable to open file \"%s\""};
inline const TText kUnknownOpenError{"Erreur inconnue lors de l'ouverture de %s",
                                     "Unknown type error while opening file \"%s\""};
inline const TText kInvalidFile{"Le fichier %s n'est pas valide ou son format n'est pas reconnu",
                                "The file \"%s\" is invalid or its format is not supported"};

// Writers.
inline const TText kConversionImpossible{"Conversion de données impossible (locus %s, individu %s)",
                                         "Unable to convert data (locus %s, individual %s)"};
inline const TText kIncorrectAlleleSize{"Taille d'allèle incorrecte (locus %s, individu %s)",
                                        "Incorrect allele size (locus %s, individual %s)"};
inline const TText kIncorrectPloidy{"Ploïdie incorrecte (locus %s, individu %s)",
                                    "Incorrect ploidy (locus %s, individual %s)"};
inline const TText kFileNotWritten{"Le fichier %s n'a pas pu être écrit",
                                   "Unable to write file \"%s\""};
inline const TText kUnknownFormat{"Format inconnu.", "Format unknown."};
// The genotype XML file names the locus of every genotype: the names must tell the loci apart.
inline const TText kUnnamedLocusNotWritten{
    "Un locus sans nom ne peut pas être écrit dans un fichier XML",
    "A locus without name cannot be written to a XML file"};
inline const TText kLocusNameTwiceNotWritten{
    "Plusieurs locus s'appellent \"%s\" : ils ne peuvent pas être écrits dans un fichier XML",
    "Several loci are named \"%s\": they cannot be written to a XML file"};

// Genotype XML files.
inline const TText kNotXMLFile{"Fichier non XML.", "Not a XML file."};
inline const TText kIncorrectXMLFile{"Fichier XML incorrect : %s", "Incorrect XML file : %s"};
inline const TText kQUAVNodeMissing{"Noeud <QUAV> manquant.", "Node <QUAV> missing."};
inline const TText kNoGenotypes{"Ce fichier ne contient pas de génotypes.",
                                "This file does not contain genotypes."};
inline const TText kSampleAddedToRoot{"L'échantillon \"%s\" a été ajouté au groupe racine.",
                                      "The sample \"%s\" have been added to the root group."};

// Limits that keep a damaged or hostile file from taking the memory or the time of the machine.
// Text readers: a line longer than the line limit (kMostLineBytes, dataset/TextReader.h); a
// declared number of loci, alleles or individuals larger than the file can hold.
inline const TText kLineTooLong{"Ligne de plus de %d caractères", "Line longer than %d characters"};
inline const TText kTooManyDeclaredLoci{
    "Nombre de locus déclaré trop grand pour la taille du fichier",
    "Declared number of loci too large for the size of the file"};
inline const TText kTooManyDeclaredAlleles{
    "Nombre d'allèles déclaré trop grand pour la taille du fichier",
    "Declared number of alleles too large for the size of the file"};
inline const TText kTooManyDeclaredIndividuals{
    "Nombre d'individus déclaré trop grand pour la taille du fichier",
    "Declared number of individuals too large for the size of the file"};
// Genotype XML files: the whole file is held in memory and read with 32-bit positions; allele
// codes are 16-bit.
inline const TText kXMLFileTooLarge{
    "Le fichier dépasse %s octets, la taille maximale d'un fichier XML",
    "The file is larger than %s bytes, the largest size of a XML file"};
inline const TText kTooManyAlleles{"Le locus \"%s\" a plus de %d allèles",
                                   "Locus \"%s\" has more than %d alleles"};

// Loading: what went wrong with a file, said so that its author can mend it.
inline const TText kEmptyFile{"Le fichier est vide", "The file is empty"};
inline const TText kGenotypeCountDetail{"%s : %d génotype(s) pour %d locus déclaré(s)",
                                        "%s: %d genotype(s) for %d declared locus(loci)"};
inline const TText kGenotypeWidth{"Le génotype %s a %d chiffres au lieu de %s",
                                  "Genotype %s has %d digits instead of %s"};
inline const TText kFourOrSixDigits{"4 ou 6", "4 or 6"};
inline const TText kOneToThreeDigits{"1 à 3", "1 to 3"};
inline const TText kLineWithoutComma{
    "Ligne sans virgule : un individu s'écrit \"nom, génotypes\"",
    "Line without a comma: an individual is written \"name, genotypes\""};
inline const TText kBlankLineInside{
    "Ligne vide (ligne %d) : les lignes vides ne sont permises qu'après le dernier individu",
    "Blank line (line %d): blank lines are allowed only after the last individual"};
inline const TText kWriteOnlyFormat{"Tarvik2 écrit les fichiers %s mais ne les lit pas",
                                    "Tarvik2 writes %s files but does not read them"};
inline const TText kNoPopLine{
    "Aucune ligne \"Pop\" : chaque population commence par une ligne \"Pop\"",
    "No \"Pop\" line: every population starts with a line \"Pop\""};
inline const TText kPopWithoutIndividual{"Ligne \"Pop\" sans individu",
                                         "\"Pop\" line with no individual"};
inline const TText kFstatTooFewLocusNames{
    "L'en-tête annonce %d locus mais la ligne %d ressemble à un individu",
    "The header declares %d loci but line %d looks like an individual"};
inline const TText kFstatTooManyLocusNames{
    "L'en-tête annonce %d locus mais la ligne %d ressemble à un nom de locus",
    "The header declares %d loci but line %d looks like a locus name"};
inline const TText kRepeatedPopulationName{"Les populations %s portent le même nom %s",
                                           "Populations %s have the same name %s"};
inline const TText kAnd{" et ", " and "};
inline const TText kUtf8Converted{
    "Fichier en UTF-8 : ses noms ont été convertis en ISO-8859-1",
    "UTF-8 file: its names were converted to ISO-8859-1"};
inline const TText kUtf8NotConverted{
    "Fichier en UTF-8 : certains caractères n'existent pas en ISO-8859-1, les noms sont gardés "
    "tels quels",
    "UTF-8 file: some characters do not exist in ISO-8859-1, the names are kept as they are"};
