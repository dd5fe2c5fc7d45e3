// Texts of the splash window, which is also the "A propos" box.
#pragma once

#include "base/Texts.h"

namespace wtext {

inline const TText kSplashCaption{"Information"};
inline const TText kSplashVersion{"Version %s"};
inline const TText kSplashTheory{"Bases théoriques : ", "Theoretical basis: "};
inline const TText kSplashDevelopment{"Développement : ", "Developement: "};
// The authors of the methods the program implements, as its references cite them.
inline const TText kSplashAuthors{
    "Rannala & Mountain (1997), Baudouin & Lebrun (2000), Paetkau et al. (1995, 2004), "
    "Nei (1972, 1973), Nei et al. (1983), Cavalli-Sforza & Edwards (1967), Goldstein et al. "
    "(1995), Rogers (1972), Cornuet et al. (1999)"};
inline const TText kSplashDevelopers{"Tarvik2 developers"};
inline const TText kSplashSite{"Page d'accueil de Tarvik2", "Tarvik2 home page"};
inline const TText kSplashHint{"Cliquez pour fermer", "Clic to close"};
inline const TText kSplashSiteHint{"Cliquez pour ouvrir la page ...", "Clic to open the page ..."};

} // namespace wtext
