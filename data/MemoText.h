#pragma once
// Memo columns in database files keep what was typed, as text. A file's memo
// columns were once declared with a type name that gave them numeric affinity:
// the file engine then stored a remark or a history value that looked like a
// number as that number, so "0571888" came back as 571888 and "1.50" as 1.5.
// Such tables are rebuilt with a declaration of text affinity; the values already
// stored as numbers become their text (leading zeros lost before cannot come back).
#include "data/Connection.h"

namespace Schema
{

// The declaration of a memo column in a file (before its collation and check).
inline constexpr const char* kMemoType = "MEMO TEXT";

// Rebuilds every table of the file whose memo columns lack text affinity, with its
// rows, numbers and indexes; inside the caller's transaction. Nothing on a server,
// whose memo columns are text already, or when every table is right.
void keepMemosAsText(Connection& c);

} // namespace Schema
