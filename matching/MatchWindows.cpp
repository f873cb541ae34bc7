#include "matching/MatchWindows.h"

#include "common/Dialogs.h"
#include "customers/Frm_khcx.h"
#include "listings/Frm_fycx.h"
#include "matching/Frm_ppjg.h"

namespace
{

// Shows the result window for `subject`; a double click opens the other register's
// record on its card, over a query window of that register (OtherWindow) made for it.
template <typename OtherWindow, typename Subject>
void showResult(const Subject& subject, QWidget* parent)
{
    TFrmPPJG result(subject, parent);
    QObject::connect(&result, &TFrmPPJG::recordRequested, &result,
                     [&result](const QString& archive) {
                         {
                             OtherWindow other(&result);
                             other.showRecord(archive);
                         }
                         result.refresh(); // the card may have changed or deleted the record
                     });
    dialogs().exec(&result);
}

} // namespace

namespace MatchWindows
{

void matchCustomers(Query& listingRow, QWidget* parent)
{
    showResult<TFrmKHCX>(Matching::listingFrom(listingRow), parent);
}

void matchListings(Query& customerRow, QWidget* parent)
{
    showResult<TFrmFYCX>(Matching::customerFrom(customerRow), parent);
}

} // namespace MatchWindows
