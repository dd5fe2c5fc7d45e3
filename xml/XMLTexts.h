// Syntax messages of the XML reader.
#pragma once

#include "base/Texts.h"

inline const TText kXmlAttributeWithoutEquals{"Attribut sans signe \"=\"",
                                              "Attribute without sign \"=\""};
inline const TText kXmlAttributeWithoutValue{"Attribut \"%s\" sans valeur",
                                             "Attribute \"%s\" empty"};
inline const TText kXmlInvalidAttributeChar{"Caractère \"%s\" invalide dans la valeur de l'atribut",
                                            "Character \"%s\" invalid in attribute value"};
inline const TText kXmlDataWithCDataEnd{"Les données ne peuvent pas contenir \"]]>\"",
                                        "Data must not contain \"]]>\""};
inline const TText kXmlCommentTripleDash{"Les commentaires ne peuvent pas finir par  \"--->\"",
                                         "Comments must not end with  \"--->\""};
inline const TText kXmlMissingElement{"Elément manquant", "Missing element"};
inline const TText kXmlIncorrectTagEnd{"Fin de tag incorrecte", "Incorrect end of tag"};
inline const TText kXmlMissingEndTag{"Tag de fin manquant pour %s", "End tag missing for %s"};
inline const TText kXmlEndTagMismatch{
    "Le nom du tag de fin \"%s\" ne correspond pas au nom du tag de début \"%s\"",
    "End tag \"%s\" and begin tag \"%s\" does not match"};
inline const TText kXmlEndTagWithoutGt{"Tag de fin sans \">\"", "End tag without \">\""};
inline const TText kXmlInvalidInstructionName{"L'instruction n'a pas de nom valide",
                                              "Invalid instruction name"};
inline const TText kXmlReservedInstructionName{
    "Une instruction ne peut pas contenir le mot réservé \"xml\"",
    "An instruction must not contain reserved word \"xml\""};
inline const TText kXmlUnterminatedInstruction{"Traitement de l'instruction non terminé",
                                               "Intruction treatment not ended."};
inline const TText kXmlReferenceWithoutAmpersand{"Les références doivent commencer par \"&\"",
                                                 "References must begin with \"&\""};
inline const TText kXmlIncorrectReferenceInteger{"Entier incorrect dans la référence &%s;",
                                                 "Incorrect integer in reference &%s;"};
inline const TText kXmlUnknownReference{"Référence non reconnue", "Unknown reference"};
inline const TText kXmlDeclarationUnterminated{"La déclaration XML ne se termine pas par \"?>\"",
                                               "XML Declaration does not end with \"?>\""};
inline const TText kXmlUnexpectedEnd{"Fin prématurée des données", "Unexpected end of data"};
inline const TText kXmlNestedTooDeeply{"Imbrication trop profonde des éléments",
                                       "Elements nested too deeply"};
