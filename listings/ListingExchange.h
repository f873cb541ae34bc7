#pragma once
// The listing exchange between offices (导出 and 导入 of the listing query window):
// the columns of 房屋信息 that travel through 房屋信息Exp. The owner's data, the
// structure file and the viewing notes never travel.
#include "exchange/core/Exchange.h"

// The 18 exchanged listing columns, in the order both directions copy them.
const ExchangeLayout& listingExchangeLayout();
