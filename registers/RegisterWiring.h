#pragma once
// What the shared frames need of each register that only the program as a whole
// knows: the register's record card, and the matching of one of its rows against
// the other register. The registers and matching sit side by side and never include
// each other; app/ wires them together once at start-up (wireWindows).
#include <QString>
#include <memory>

class QDialog;
class QWidget;
class Query;
class RecordRows;
struct QueryWindowConfig;

namespace RegisterWiring
{

struct Register {
    QString table; // 房屋信息 / 客户信息
    const QueryWindowConfig* query = nullptr;
    // The register's record card over these rows, modal over `parent`.
    std::unique_ptr<QDialog> (*card)(RecordRows& rows, QWidget* parent) = nullptr;
    // Shows the match result for the current row of `row` over `parent`.
    void (*match)(Query& row, QWidget* parent) = nullptr;
};

// Adds or replaces the register of r.table.
void add(const Register& r);
// The register of `table`; null when none is wired.
const Register* find(const QString& table);

// Opens the record with this archive number of `table` on its register's record
// card, modal over `parent`, over rows of its own (the card saves and deletes as
// anywhere). Returns once the card has closed; nothing when the register is not
// wired.
void openCard(const QString& table, const QString& archive, QWidget* parent);

} // namespace RegisterWiring
