// Message texts of the genetic data model.
#pragma once

#include "base/Texts.h"

inline const TText kIndexOutOfLimits{"Index %d en dehors des limites dans %s(%s)",
                                     "Index %d out of limits in %s(%s)"};
inline const TText kObjectNotFound{"L'objet %s n'a pas été trouvé dans %s(%s)",
                                   "Object %s not found in %s(%s)"};
inline const TText kCannotAssign{"Impossible d'affecter un %s à un %s", "Cannot assign a %s to a %s"};
inline const TText kNotAnInteger{"'%s' n'est pas une valeur entière correcte",
                                 "'%s' is not a valid integer value"};
inline const TText kNotAFloat{"'%s' n'est pas une valeur à virgule flottante correcte",
                              "'%s' is not a valid floating point value"};
inline const TText kNotABoolean{"'%s' n'est pas une valeur booléenne correcte",
                                "'%s' is not a valid boolean value"};
inline const TText kUserStoppedParsing{"Lecture du fichier arrêtée à la demande de l'utilisateur ",
                                       "User-stopped file parsing"};
inline const TText kUnknownIncludedSample{
    "Le sample \"%s\" est inconnu et n'est pas ajouté aux groupes."};
inline const TText kUnnamedLocus{"Locus non nommé.", "Unnamed locus."};
inline const TText kUnnamedAllele{"Allèle non nommé."};
inline const TText kUndeclaredLocus{"Locus \"%s\" typé mais non déclaré."};
inline const TText kIncorrectGenotype{
    "Le génotype \"%s\" est incorrect et est supprimé de l'individu \"%s\""};
