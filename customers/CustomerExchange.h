#pragma once
// Customer exchange between offices: the 导出 and 导入 buttons of the customer
// query window. Export copies every row of the current result into 客户信息Exp of
// the office's exchange database; import adds the customers of a chosen exchange
// file whose archive numbers are not yet in 客户信息. The customer's name and
// phones never travel.
#include "common/core/Exchange.h"

class QWidget;
class Query;

// The 16 exchanged customer columns, in the order both directions copy them.
const ExchangeLayout& customerExchangeLayout();

// 导出: asks, empties 客户信息Exp and refills it from qrykhxx (the query window's
// current result); shows the count or "导出操作失败！". Nothing happens when the
// result holds no row.
void customerExport(QWidget* parent, Query& qrykhxx);

// 导入: lets the operator choose an exchange file and adds its new customers to
// 客户信息; shows the count or "导入操作失败！".
void customerImport(QWidget* parent);
