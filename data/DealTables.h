#pragma once
// The deals (成交) an office registers: one row per deal with its listing and
// customer, and one row per agent with his share of the commission. Money is kept
// in whole fen (64-bit integers), shares in hundredths of a per cent (10000 = 100 %).
#include "data/Schema.h"

namespace Schema
{

// 成交记录 and 成交经纪人 (main database since layout 3). Copied with the rows;
// never exchanged.
const QList<TableDef>& dealTables();
// The deal tables with their indexes, and the indexes the office's figures read,
// inside the caller's transaction.
void createDealTables(Connection& c);

} // namespace Schema
