#pragma once
// The field panel of the listing's 档案卡 windows, described once for 房源输入 and
// the listing record card: the public description of the flat above the divider,
// the owner's block below it.
#include "registers/CardFrame.h"

namespace ListingPanel
{

// Title band "房源信息档案卡", 650 × 450 pixels, the panel's place and contents
// (the tab order is that of the window being built).
CardLayout layout();

} // namespace ListingPanel
