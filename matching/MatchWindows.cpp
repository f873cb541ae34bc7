#include "matching/MatchWindows.h"

#include "matching/Frm_ppjg.h"
#include "registers/RegisterWiring.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"

namespace
{

// Shows the result window for `subject`; a double click opens the record of
// `otherTable` on its register's card.
template <typename Subject>
void showResult(const Subject& subject, const QString& otherTable, QWidget* parent)
{
    TFrmPPJG result(subject, parent);
    onSignal(&result, &TFrmPPJG::recordRequested, &result,
             [&result, otherTable](const QString& archive) {
                 RegisterWiring::openCard(otherTable, archive, &result);
                 result.refresh(); // the card may have changed or deleted the record
             });
    dialogs().exec(&result);
}

} // namespace

namespace MatchWindows
{

void matchCustomers(Query& listingRow, QWidget* parent)
{
    showResult(Matching::listingFrom(listingRow), QStringLiteral("客户信息"), parent);
}

void matchListings(Query& customerRow, QWidget* parent)
{
    showResult(Matching::customerFrom(customerRow), QStringLiteral("房屋信息"), parent);
}

} // namespace MatchWindows
