#include "base/Errors.h"

#include "base/Texts.h"

namespace {
const TText kListIndexError{"Index de liste hors limites (%ld)", "List index out of bounds (%ld)"};
} // namespace

void ThrowListError(long index) { throw EListError(Format(kListIndexError(), index)); }
