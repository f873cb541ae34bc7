#pragma once
// The 导出 and 导入 runs of a query window for any exchanged table: the question,
// the progress window, the shared exchange core and the closing messages
// ("有n条信息成功导出。", "导出操作失败！" with its cause on a second line, and
// their import twins).
#include "exchange/core/Exchange.h"

class QWidget;
class Query;

namespace ExchangeRun
{

// 导出: nothing when the result holds no row; otherwise asks "是否导出当前的记录？",
// empties the exchange table of the office's exchange database and refills it from
// every row of the result. `exchangeQuery` is the data module's query over that
// table; it is pointed at the exchange connection and left closed.
void exportResult(QWidget* parent, Query& result, const ExchangeLayout& layout,
                  Query& exchangeQuery);

// 导入: lets the operator choose an exchange file (nothing on cancel) and adds its
// rows whose archive number is not yet in the main table. `exchangeQuery` is
// pointed at the chosen file's connection and left closed.
void importFile(QWidget* parent, const ExchangeLayout& layout, Query& exchangeQuery);

} // namespace ExchangeRun
