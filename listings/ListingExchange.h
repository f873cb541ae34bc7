#pragma once
// Listing exchange between offices: the 导出 and 导入 buttons of the listing query
// window. Export copies every row of the current result into 房屋信息Exp of the
// office's exchange database; import adds the listings of a chosen exchange file
// whose archive numbers are not yet in 房屋信息.
#include "common/core/Exchange.h"

class QWidget;
class Query;

// The 18 exchanged listing columns, in the order both directions copy them.
const ExchangeLayout& listingExchangeLayout();

// 导出: asks, empties 房屋信息Exp and refills it from qryFwxx (the query window's
// current result); shows the count or "导出操作失败！". Nothing happens when the
// result holds no row.
void listingExport(QWidget* parent, Query& qryFwxx);

// 导入: lets the operator choose an exchange file and adds its new listings to
// 房屋信息; shows the count or "导入操作失败！".
void listingImport(QWidget* parent);
