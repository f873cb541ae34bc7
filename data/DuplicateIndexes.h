#pragma once
// The indexes that let a save find the listings and customers it probably repeats
// (same area band, same telephone or mobile) without reading the whole register.
#include "data/Connection.h"

namespace Schema
{

// Inside the caller's transaction; `ifMissing` for the upgrade of an older database.
void createDuplicateIndexes(Connection& c, bool ifMissing);

} // namespace Schema
