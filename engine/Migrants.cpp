#include "engine/Migrants.h"

#include "engine/Match.h"
#include "engine/ResultTables.h"

bool DetectMigrantsHome(const TPGDSStructure&, std::unique_ptr<TMatchPGDS>, const TMigrantParams&,
                        std::unique_ptr<TTableResultats>&, std::int32_t& flagged) {
  flagged = 0;
  return false;
}

bool DetectMigrantsRatio(const TPGDSStructure&, const TMigrantParams&, bool,
                         std::unique_ptr<TTableResultats>&, std::int32_t& flagged) {
  flagged = 0;
  return false;
}
