#include "registers/RegisterWiring.h"

#include "registers/RecordRows.h"
#include "shell/Dialogs.h"

#include <QDialog>
#include <QHash>

namespace RegisterWiring
{

namespace
{

QHash<QString, Register>& registers()
{
    static QHash<QString, Register> r;
    return r;
}

} // namespace

void add(const Register& r)
{
    registers().insert(r.table, r);
}

const Register* find(const QString& table)
{
    const auto it = registers().constFind(table);
    return it == registers().constEnd() ? nullptr : &it.value();
}

void openCard(const QString& table, const QString& archive, QWidget* parent)
{
    const Register* r = find(table);
    if (!r || !r->card || !r->query) return;
    RecordRows rows(*r->query, parent);
    rows.openRecord(archive);
    std::unique_ptr<QDialog> card = r->card(rows, parent);
    rows.setCard(card.get());
    dialogs().exec(card.get());
    card.reset();
    rows.setCard(nullptr);
    // Leaving the card discards unsaved changes without a question.
    if (rows.rows().isActive() && rows.rows().isEditing()) rows.rows().cancel();
}

} // namespace RegisterWiring
