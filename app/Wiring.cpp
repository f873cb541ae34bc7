#include "app/Wiring.h"

#include "app/Windows.h"
#include "sheetimport/SheetWindows.h"

#include "customers/Frm_LLKH.h"
#include "customers/Frm_khcx.h"
#include "listings/Frm_LLFZ.h"
#include "listings/Frm_fycx.h"
#include "matching/MatchWindows.h"
#include "registers/RegisterWiring.h"

#include <memory>

void wireWindows()
{
    RegisterWiring::add({TFrmFYCX::queryConfig().table, &TFrmFYCX::queryConfig(),
                         [](RecordRows& rows, QWidget* parent) -> std::unique_ptr<QDialog> {
                             return std::make_unique<TFrmLLFZ>(rows, parent);
                         },
                         &MatchWindows::matchCustomers});
    RegisterWiring::add({TFrmKHCX::queryConfig().table, &TFrmKHCX::queryConfig(),
                         [](RecordRows& rows, QWidget* parent) -> std::unique_ptr<QDialog> {
                             return std::make_unique<TFrmLLKH>(rows, parent);
                         },
                         &MatchWindows::matchListings});
    // 成交登记 on the record cards and the match result.
    installFeatureHooks();
}

void wireSheetTools()
{
    SheetWindows::install();
}
