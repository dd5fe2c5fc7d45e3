// Texts of the plot window.
#pragma once

#include "base/Texts.h"

namespace ptext {

inline const TText kCaption{"Graphiques", "Plots"};
// "Graphiques - <file of the run>".
inline const TText kCaptionOf{"Graphiques - %s", "Plots - %s"};
inline const TText kKindLabel{"&Graphique :", "&Kind of plot:"};
inline const TText kSaveAs{"&Enregistrer sous ...", "&Save as..."};
inline const TText kClose{"&Fermer", "&Close"};
inline const TText kSaveTitle{"Enregistrer le graphique", "Save the plot"};
inline const TText kFilterSvg{"Image vectorielle SVG (*.svg)", "SVG vector image (*.svg)"};
inline const TText kFilterPng{"Image PNG (*.png)", "PNG image (*.png)"};
inline const TText kFilterPdf{"Document PDF (*.pdf)", "PDF document (*.pdf)"};
inline const TText kNotWritten{"Le fichier %s n'a pas pu être écrit", "The file %s could not be written"};
inline const TText kNotPrinted{"Le graphique n'a pas pu être imprimé (%s)",
                               "The plot could not be printed (%s)"};
inline const TText kNameView{"Graphique", "Plot"};
// The button of the results tab that opens a plot window.
// "P&lots...": "&Print..." beside it has the P.
inline const TText kPlotsButton{"&Graphiques ...", "P&lots..."};

} // namespace ptext
