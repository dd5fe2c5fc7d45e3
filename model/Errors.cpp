#include "model/Errors.h"

#include "model/ModelTexts.h"

void ThrowListError(long index) { throw EListError(Format(kListIndexError(), index)); }
