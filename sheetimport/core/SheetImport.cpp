#include "sheetimport/core/SheetImport.h"

#include "customers/core/CustomerEntryChecks.h"
#include "data/BulkInsert.h"
#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/RecordLog.h"
#include "data/RecycleBin.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "duplicates/core/LikelyDuplicates.h"
#include "listings/core/ListingEntryChecks.h"
#include "registers/core/ArchiveNumber.h"

#include <QHash>
#include <QSet>
#include <optional>

namespace SheetImport
{

namespace
{

const QString kNumber = QStringLiteral("档案号");
const QString kCompany = QStringLiteral("公司编号");
const QString kDate = QStringLiteral("录入日期");
const QString kSequence = QStringLiteral("序号");
const QString kAny = QStringLiteral("不限");

QString ident(const QString& s)
{
    return Dialect::identifier(s);
}

// The columns a save check names, by the check's number.
QString checkedColumn(Register r, int check)
{
    static const char* const listing[] = {"",         "小区名称", "地址",    "房屋面积", "楼层",
                                          "户型",     "信息价格", "位置",    "方式",     "权属",
                                          "房主姓名", "电话",     "最低价格"};
    static const char* const customer[] = {"", "需求方式", "权属", "客户姓名", "电话"};
    if (r == Register::Listings && check > 0 && check <= 12)
        return QString::fromUtf8(listing[check]);
    if (r == Register::Customers && check > 0 && check <= 4)
        return QString::fromUtf8(customer[check]);
    return {};
}

// Every value of each dictionary a register's columns draw on, folded as the
// dictionaries compare (letters without case).
QHash<QString, QSet<QString>> dictionaries(Connection& main, Register r)
{
    QHash<QString, QSet<QString>> out;
    for (const Target& t : targets(r)) {
        if (t.dictionary.isEmpty() || out.contains(t.dictionary)) continue;
        QSet<QString>& values = out[t.dictionary];
        Statement st(main, QStringLiteral("SELECT %1 FROM %2")
                               .arg(ident(t.dictionaryColumn), ident(t.dictionary)));
        while (st.step())
            values.insert(KeyLookup::fold(Text::trim(st.value(0).toString())));
    }
    return out;
}

struct Converted {
    QVariant value;
    QString refusal;
};

Converted convert(const Target& t, const QString& cell, const Options& o)
{
    switch (t.kind) {
    case ValueKind::Area:
    case ValueKind::Number: {
        const Value v = amount(cell, false, o.unit);
        return {v.value, v.refusal};
    }
    case ValueKind::Price: {
        const Value v = amount(cell, true, o.unit);
        return {v.value, v.refusal};
    }
    case ValueKind::Date: {
        const Value v = date(cell);
        return {v.value, v.refusal};
    }
    case ValueKind::Digits: {
        const Value v = digits(cell);
        return {v.value, v.refusal};
    }
    case ValueKind::Validity: {
        const Value v = validity(cell);
        return {v.value, v.refusal};
    }
    case ValueKind::Mode: {
        const QString s = mode(cell, t.column != QStringLiteral("方式"));
        return {s.isEmpty() ? QVariant() : QVariant(s), {}};
    }
    case ValueKind::Text:
    case ValueKind::Dictionary:
    case ValueKind::Archive:
        break;
    }
    const QString s = cleanText(cell);
    return {s.isEmpty() ? QVariant() : QVariant(s), {}};
}

QString text(const QVector<QVariant>& values, int i)
{
    return i < 0 ? QString() : values[i].toString();
}

double number(const QVector<QVariant>& values, int i)
{
    return i < 0 ? 0 : values[i].toDouble();
}

std::optional<RegisterRules::FailedCheck> saveCheck(Register r, const QStringList& cols,
                                                    const QVector<QVariant>& v)
{
    auto at = [&](const char* c) { return int(cols.indexOf(QString::fromUtf8(c))); };
    if (r == Register::Listings) {
        ListingEntry e;
        e.estate = text(v, at("小区名称"));
        e.address = text(v, at("地址"));
        e.area = number(v, at("房屋面积"));
        e.areaText = QString::number(e.area);
        e.floor = text(v, at("楼层"));
        e.houseType = text(v, at("户型"));
        e.price = number(v, at("信息价格"));
        e.priceText = QString::number(e.price);
        e.location = text(v, at("位置"));
        e.mode = text(v, at("方式"));
        e.ownership = text(v, at("权属"));
        e.owner = text(v, at("房主姓名"));
        e.phone = text(v, at("电话"));
        e.mobile = text(v, at("手机"));
        e.lowest = number(v, at("最低价格"));
        e.lowestText = QString::number(e.lowest);
        return firstFailedCheck(e);
    }
    CustomerEntry e;
    e.mode = text(v, at("需求方式"));
    e.ownership = text(v, at("权属"));
    e.name = text(v, at("客户姓名"));
    e.phone = text(v, at("电话"));
    e.mobile = text(v, at("手机"));
    return firstFailedCustomerCheck(e);
}

LikelyDuplicates::Listing listingOf(const QStringList& cols, const QVector<QVariant>& v)
{
    auto at = [&](const char* c) { return int(cols.indexOf(QString::fromUtf8(c))); };
    return {QString(),           text(v, at("小区名称")), text(v, at("地址")),
            text(v, at("电话")), text(v, at("手机")),     number(v, at("房屋面积"))};
}

LikelyDuplicates::Customer customerOf(const QStringList& cols, const QVector<QVariant>& v)
{
    auto at = [&](const char* c) { return int(cols.indexOf(QString::fromUtf8(c))); };
    return {QString(), text(v, at("客户姓名")), text(v, at("电话")), text(v, at("手机"))};
}

void step(const Options& o, int done, int total)
{
    if (o.progress && !o.progress(done, total)) throw SheetReader::Cancelled();
}

// Numbers the rows to import that have none: the next sequences of this office's
// company and each row's entry date, past numbers given away by deleted records
// and numbers the file itself keeps.
void assignNumbers(Connection& main, Plan& plan, const Options& o)
{
    const QString table = tableOf(plan.reg);
    const int noCol = int(plan.columns.indexOf(kNumber));
    const int coCol = int(plan.columns.indexOf(kCompany));
    const int dateCol = int(plan.columns.indexOf(kDate));
    const int seqCol = int(plan.columns.indexOf(kSequence));
    QSet<QString> used;
    for (const Row& r : std::as_const(plan.rows))
        if (r.action == Action::Import && !r.archive.isEmpty())
            used.insert(KeyLookup::fold(r.archive));
    QHash<QString, QString> last; // date → last sequence given
    Statement max(main, QStringLiteral("SELECT max(%1) FROM %2 WHERE %3 = ? AND %4 = ?")
                            .arg(ident(kSequence), ident(table), ident(kCompany), ident(kDate)));
    for (Row& r : plan.rows) {
        if (r.action != Action::Import || !r.archive.isEmpty()) continue;
        const QString day = r.values[dateCol].toString();
        QString sequence;
        if (last.contains(day)) {
            sequence = ArchiveNumber::nextSequence(last[day], o.company, day);
        } else {
            max.reset();
            max.bindAll({o.company, day});
            const QString stored = max.step() ? Text::trim(max.value(0).toString()) : QString();
            sequence = ArchiveNumber::nextSequence(stored, o.company, day);
        }
        QString number = ArchiveNumber::compose(o.company, day, sequence);
        while (used.contains(KeyLookup::fold(number)) ||
               RecycleBin::gaveAway(main, table, number)) {
            sequence = ArchiveNumber::nextSequence(sequence, o.company, day);
            number = ArchiveNumber::compose(o.company, day, sequence);
        }
        last[day] = sequence;
        used.insert(KeyLookup::fold(number));
        r.archive = number;
        r.values[noCol] = number;
        r.values[coCol] = o.company;
        r.values[seqCol] = sequence;
    }
}

} // namespace

QString actionText(Action a)
{
    switch (a) {
    case Action::Import:
        return QStringLiteral("导入");
    case Action::Refused:
        return QStringLiteral("拒绝");
    case Action::Duplicate:
        return QStringLiteral("可能重复，跳过");
    case Action::Exists:
        return QStringLiteral("档案号已存在，跳过");
    }
    return {};
}

int Plan::count(Action a) const
{
    int n = 0;
    for (const Row& r : rows)
        if (r.action == a) ++n;
    return n;
}

QString companyCode(Connection& main)
{
    Statement st(main,
                 QStringLiteral("SELECT %1 FROM %2")
                     .arg(ident(QStringLiteral("公司代码")), ident(QStringLiteral("公司信息"))));
    return st.step() ? Text::trim(st.value(0).toString()) : QString();
}

Plan check(Connection& main, const SheetReader::Table& t, const Mapping& m, const Options& o)
{
    if (o.company.size() != 3)
        throw DbError(QStringLiteral("公司代码“%1”不是 3 个字符，无法给导入的记录编档案号。"
                                     "请先在 基本信息 → 公司档案 中设好公司代码。")
                          .arg(o.company));
    Plan plan;
    plan.reg = o.reg;
    plan.headers = m.headers;
    const QString table = tableOf(o.reg);
    const TableInfo* info = main.table(table);
    if (!info) throw DbError(QStringLiteral("数据库中没有数据表“%1”。").arg(table));
    // Every column an import fills, then the two that come from the archive number.
    QList<const Target*> writes;
    for (const Target& x : targets(o.reg)) {
        plan.columns << x.column;
        writes << &x;
    }
    plan.columns << kCompany << kSequence;
    QVector<ColumnInfo> infos;
    for (const QString& c : std::as_const(plan.columns)) {
        const int k = info->indexOf(c);
        infos << (k < 0 ? ColumnInfo{c, ColumnInfo::Text, 0} : info->columns[k]);
    }
    // Sheet column feeding each register column (-1: none).
    QVector<int> source(plan.columns.size(), -1);
    for (int i = 0; i < m.columns.size(); ++i) {
        const int k = int(plan.columns.indexOf(m.columns[i]));
        if (!m.columns[i].isEmpty() && k >= 0 && source[k] < 0) source[k] = i;
    }
    const QHash<QString, QSet<QString>> dicts = dictionaries(main, o.reg);
    const bool customers = o.reg == Register::Customers;
    const int noCol = int(plan.columns.indexOf(kNumber));
    const int dateCol = int(plan.columns.indexOf(kDate));

    // The register as it is, for archive numbers and likely duplicates.
    LikelyDuplicates::ListingSet storedL, fileL;
    LikelyDuplicates::CustomerSet storedC, fileC;
    if (customers)
        storedC = LikelyDuplicates::storedCustomers(main);
    else
        storedL = LikelyDuplicates::storedListings(main);
    QStringList kept;
    for (int i = m.headerRow + 1; i < t.rows.size(); ++i) {
        Row row;
        row.sheetRow = t.rowNumbers[i];
        row.cells = t.rows[i];
        row.values.resize(plan.columns.size());
        auto refuse = [&](const QString& column, const QString& why) {
            if (row.action != Action::Import) return;
            row.action = Action::Refused;
            row.column = column;
            row.reason = why;
        };
        for (int k = 0; k < writes.size(); ++k) {
            QString cell =
                source[k] >= 0 && source[k] < row.cells.size() ? row.cells[source[k]] : QString();
            // A plain number under a header in 万 counts in 万.
            if (source[k] >= 0 && source[k] < m.inTenThousands.size() &&
                m.inTenThousands[source[k]]) {
                bool plain = false;
                QString(cleanText(cell)).remove(u',').toDouble(&plain);
                if (plain) cell = cleanText(cell) + QStringLiteral("万");
            }
            const Converted c = convert(*writes[k], cell, o);
            if (!c.refusal.isEmpty()) refuse(writes[k]->column, c.refusal);
            row.values[k] = c.value;
        }
        // What the entry windows give a new record that the sheet leaves empty.
        for (int k = 0; k < writes.size(); ++k) {
            const Target& x = *writes[k];
            if (!row.values[k].isNull()) continue;
            if (x.kind == ValueKind::Area || x.kind == ValueKind::Price ||
                x.kind == ValueKind::Number)
                row.values[k] = 0.0;
            else if (x.kind == ValueKind::Validity)
                row.values[k] = QStringLiteral("有效");
            else if (customers &&
                     (x.column == QStringLiteral("楼层") || x.column == QStringLiteral("户型") ||
                      x.column == QStringLiteral("位置") || x.column == QStringLiteral("地址描述")))
                row.values[k] = kAny;
        }
        if (row.values[dateCol].isNull()) row.values[dateCol] = o.today;
        // An archive number of this register's form is kept, with the company, date
        // and sequence it is made of; any other is replaced by a new one.
        const QString given = row.values[noCol].toString();
        row.values[noCol] = QVariant();
        if (!given.isEmpty()) {
            if (wellFormedArchive(given)) {
                row.archive = given;
                row.values[noCol] = given;
                row.values[plan.columns.indexOf(kCompany)] = given.left(3);
                row.values[dateCol] = given.mid(3, 6);
                row.values[plan.columns.indexOf(kSequence)] = given.right(3);
            } else {
                row.reason = QStringLiteral("原编号“%1”不是档案号的格式，将重新编号").arg(given);
            }
        }
        if (row.action == Action::Import && row.archive.isEmpty())
            row.values[plan.columns.indexOf(kCompany)] = o.company;
        // Widths: a value too long for its column is refused, never cut.
        for (int k = 0; k < plan.columns.size() && row.action == Action::Import; ++k) {
            if (row.values[k].typeId() != QMetaType::QString) continue;
            row.values[k] = Schema::storedText(infos[k], row.values[k].toString());
            if (const auto why = Schema::tooLong(infos[k], row.values[k]))
                refuse(plan.columns[k], *why);
        }
        if (row.action == Action::Import) {
            if (const auto failed = saveCheck(o.reg, plan.columns, row.values))
                refuse(checkedColumn(o.reg, failed->number), failed->message);
        }
        // Dictionary values: listed, and refused unless they are to be added.
        for (int k = 0; k < writes.size(); ++k) {
            const Target& x = *writes[k];
            if (x.dictionary.isEmpty() || row.action == Action::Refused) continue;
            const QString v = row.values[k].toString();
            if (v.isEmpty() || (customers && v == kAny && x.kind == ValueKind::Dictionary))
                continue;
            if (dicts.value(x.dictionary).contains(KeyLookup::fold(v))) continue;
            if (x.kind == ValueKind::Mode || !o.addDictionaryValues) {
                refuse(x.column, QStringLiteral("%1“%2”不在%3中").arg(x.caption, v, x.dictionary));
            }
            if (x.kind == ValueKind::Dictionary) plan.unknown[x.dictionary][v] += 1;
        }
        if (row.action == Action::Import && !row.archive.isEmpty()) kept << row.archive;
        plan.rows << row;
        if (plan.rows.size() % 500 == 0) step(o, plan.rows.size(), t.rows.size() - m.headerRow - 1);
    }

    // Archive numbers stored already or given twice in the file.
    const QSet<QString> stored = KeyLookup(main, table, kNumber).present(kept);
    QHash<QString, int> seen;
    for (Row& r : plan.rows) {
        if (r.action != Action::Import || r.archive.isEmpty()) continue;
        const QString key = KeyLookup::fold(r.archive);
        if (stored.contains(key)) {
            r.action = Action::Exists;
            r.reason = QStringLiteral("档案号 %1 已在%2中").arg(r.archive, registerName(o.reg));
        } else if (seen.contains(key)) {
            r.action = Action::Exists;
            r.reason = QStringLiteral("档案号与表格第 %1 行相同").arg(seen[key]);
        } else {
            seen.insert(key, r.sheetRow);
        }
    }
    // Likely duplicates, against the register and the rows before in the file.
    for (int i = 0; i < plan.rows.size(); ++i) {
        Row& r = plan.rows[i];
        if (r.action != Action::Import) continue;
        QString why;
        if (customers) {
            const LikelyDuplicates::Customer c = customerOf(plan.columns, r.values);
            for (const auto& m : storedC.like(c))
                if (why.isEmpty())
                    why = QStringLiteral("可能与已有客户 %1 重复：%2")
                              .arg(storedC.item(m.first).number, m.second);
            for (const auto& m : fileC.like(c))
                if (why.isEmpty())
                    why = QStringLiteral("可能与表格第 %1 行重复：%2")
                              .arg(plan.rows[m.first].sheetRow)
                              .arg(m.second);
            fileC.add(c, i);
        } else {
            const LikelyDuplicates::Listing l = listingOf(plan.columns, r.values);
            for (const auto& m : storedL.like(l))
                if (why.isEmpty())
                    why = QStringLiteral("可能与已有房源 %1 重复：%2")
                              .arg(storedL.item(m.first).number, m.second);
            for (const auto& m : fileL.like(l))
                if (why.isEmpty())
                    why = QStringLiteral("可能与表格第 %1 行重复：%2")
                              .arg(plan.rows[m.first].sheetRow)
                              .arg(m.second);
            fileL.add(l, i);
        }
        if (why.isEmpty()) continue;
        if (o.keepDuplicates) {
            r.reason = why;
        } else {
            r.action = Action::Duplicate;
            r.reason = why;
        }
    }
    return plan;
}

void previewNumbers(Connection& main, Plan& plan, const Options& o)
{
    assignNumbers(main, plan, o);
}

int write(Connection& main, Plan& plan, const Options& o)
{
    const QString table = tableOf(plan.reg);
    const int total = plan.count(Action::Import);
    if (total == 0) return 0;
    step(o, 0, total);
    Connection::BulkScope bulk(main);
    Connection::Transaction t(main);
    // Numbering of the same table (entry windows, other imports) waits here.
    main.lockWriters(table);
    QStringList kept;
    for (const Row& r : std::as_const(plan.rows))
        if (r.action == Action::Import && !r.archive.isEmpty()) kept << r.archive;
    const QSet<QString> meanwhile = KeyLookup(main, table, kNumber).present(kept);
    for (Row& r : plan.rows)
        if (r.action == Action::Import && meanwhile.contains(KeyLookup::fold(r.archive))) {
            r.action = Action::Exists;
            r.reason = QStringLiteral("档案号 %1 已在%2中").arg(r.archive, registerName(plan.reg));
        }
    if (o.addDictionaryValues) {
        for (auto d = plan.unknown.cbegin(); d != plan.unknown.cend(); ++d) {
            QString column;
            for (const Target& x : targets(plan.reg))
                if (x.dictionary == d.key()) column = x.dictionaryColumn;
            const TableInfo* dict = main.table(d.key());
            const int k = dict ? dict->indexOf(column) : -1;
            const QSet<QString> present =
                KeyLookup(main, d.key(), column).present(d.value().keys());
            BulkInsert add(main, d.key(), {column});
            for (const QString& v : d.value().keys()) {
                if (present.contains(KeyLookup::fold(v))) continue;
                if (k >= 0)
                    if (const auto why = Schema::tooLong(dict->columns[k], v))
                        throw DbError(QStringLiteral("%1“%2”：%3").arg(d.key(), v, *why));
                add.add({v});
            }
            add.finish();
        }
    }
    assignNumbers(main, plan, o);
    BulkInsert ins(main, table, plan.columns);
    std::optional<RecordLog::Imports> log;
    if (RecordLog::keeps(main, table)) log.emplace(main, table, o.source);
    int n = 0;
    for (const Row& r : std::as_const(plan.rows)) {
        if (r.action != Action::Import) continue;
        ins.add(r.values);
        if (log) log->add(r.archive);
        if (++n % 500 == 0) step(o, n, total);
    }
    ins.finish();
    if (log) log->finish();
    step(o, n, total);
    t.commit();
    return n;
}

} // namespace SheetImport
