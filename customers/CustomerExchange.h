#pragma once
// The customer exchange between offices (导出 and 导入 of the customer query
// window): the columns of 客户信息 that travel through 客户信息Exp. The customer's
// name and phones never travel.
#include "exchange/core/Exchange.h"

// The 16 exchanged customer columns, in the order both directions copy them.
const ExchangeLayout& customerExchangeLayout();
