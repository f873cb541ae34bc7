#pragma once
// The field panel of the customer's 档案卡 windows, described once for 客户输入 and
// the customer record card: what the customer asks for above the divider, the
// customer's name and phones below it.
#include "registers/CardFrame.h"

namespace CustomerPanel
{

// Title band "客户信息档案卡", 585 × 390 pixels, the panel's place and contents
// (the tab order is that of the window being built).
CardLayout layout();

} // namespace CustomerPanel
