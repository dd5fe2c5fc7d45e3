#include "base/Logger.h"

bool TLogger::DoEvent() {
  if (!OnEvent) return false;
  OnEvent(*this, Progression, Stop);
  return Stop;
}
