#include "model/Persistent.h"

#include "base/Errors.h"
#include "model/ModelTexts.h"

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(Format(kCannotAssign(), ClassName(), dest.ClassName()));
}
