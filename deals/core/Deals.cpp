#include "deals/core/Deals.h"

#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/KeyLookup.h"
#include "data/RecordLog.h"
#include "data/Text.h"
#include "deals/core/Money.h"
#include "session/PubVars.h"

#include <QSet>

namespace Deals
{

namespace
{

const QString kListings = QStringLiteral("房屋信息");
const QString kCustomers = QStringLiteral("客户信息");
const QString kValid = QStringLiteral("有效");
const QString kInvalid = QStringLiteral("无效");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString id(const char* name)
{
    return Dialect::identifier(QString::fromUtf8(name));
}

QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// Held by every writer of deals until its transaction ends: the check for a standing
// deal and the deal's insert happen as one, also across workstations.
void lockDeals(Connection& c)
{
    c.lockWriters(Table);
}

// The stored record a deal names, as its register holds it.
struct Record {
    QString number, validity, mode, location;
};

std::optional<Record> record(Connection& c, const QString& table, const QString& number)
{
    const bool listing = table == kListings;
    Statement st(c, QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 WHERE %1=?")
                        .arg(id("档案号"), id("类型"), listing ? id("方式") : id("需求方式"),
                             id("位置"), Dialect::identifier(table)));
    st.bind(1, Text::trim(number));
    if (!st.step()) return std::nullopt;
    return Record{st.value(0).toString(), Text::trim(st.value(1).toString()),
                  Text::trim(st.value(2).toString()), Text::trim(st.value(3).toString())};
}

// Sets a record's validity and keeps the change in its history.
void setValidity(Connection& c, const QString& table, const QString& number, const QString& from,
                 const QString& to)
{
    Statement st(c, QStringLiteral("UPDATE %1 SET %2=? WHERE %3=?")
                        .arg(Dialect::identifier(table), id("类型"), id("档案号")));
    st.bindAll({to, number});
    st.step();
    if (RecordLog::keeps(c, table))
        RecordLog::changed(c, table, number, {{QStringLiteral("类型"), from, to}});
}

QString dealNumber(qlonglong deal)
{
    return QString::number(deal);
}

// The modes that belong together; other modes of an office's dictionaries pass.
bool modesPair(const QString& supply, const QString& demand)
{
    if (supply == QStringLiteral("出售")) return demand != QStringLiteral("求租");
    if (supply == QStringLiteral("出租")) return demand != QStringLiteral("求购");
    return true;
}

// The name of each staff number in the register, by folded number.
QHash<QString, QString> staffNames(Connection& c)
{
    QHash<QString, QString> out;
    Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3")
                        .arg(id("员工编号"), id("员工姓名"), id("操作员档案")));
    while (st.step())
        out.insert(KeyLookup::fold(Text::trim(st.value(0).toString())),
                   Text::trim(st.value(1).toString()));
    return out;
}

// Every agent named by the register (or, with `kept`, by the stored deal): his name
// filled in, his commission computed. Throws the refusal for an unknown number.
void settleAgents(Connection& c, Deal& deal, const QList<Agent>& kept = {})
{
    const QHash<QString, QString> names = staffNames(c);
    QHash<QString, QString> keptNames;
    for (const Agent& a : kept)
        keptNames.insert(KeyLookup::fold(a.staff), a.name);
    QList<int> shares;
    for (Agent& a : deal.agents) {
        a.staff = Text::trim(a.staff);
        const QString key = KeyLookup::fold(a.staff);
        if (keptNames.contains(key))
            a.name = keptNames.value(key);
        else if (names.contains(key))
            a.name = names.value(key);
        else
            throw DbError(QStringLiteral("人员档案中没有编号为“%1”的员工。").arg(a.staff));
        shares << a.share;
    }
    const QList<qint64> parts = Money::split(deal.commission(), shares);
    for (int i = 0; i < deal.agents.size(); ++i)
        deal.agents[i].commission = parts[i];
}

void writeAgents(Connection& c, const Deal& deal)
{
    Statement del(
        c, QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(id("成交经纪人"), id("成交编号")));
    del.bind(1, deal.id);
    del.step();
    Statement ins(c, Dialect::insertInto(QStringLiteral("成交经纪人"),
                                         {QStringLiteral("成交编号"), QStringLiteral("员工编号"),
                                          QStringLiteral("员工姓名"), QStringLiteral("比例"),
                                          QStringLiteral("佣金")}));
    for (const Agent& a : deal.agents) {
        ins.bindAll({deal.id, a.staff, orNull(a.name), a.share, a.commission});
        ins.step();
        ins.reset();
    }
}

QList<Agent> readAgents(Connection& c, qlonglong deal)
{
    Statement st(c, QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 WHERE %6=? ORDER BY %7")
                        .arg(id("员工编号"), id("员工姓名"), id("比例"), id("佣金"),
                             id("成交经纪人"), id("成交编号"), id("编号")));
    st.bind(1, deal);
    QList<Agent> out;
    while (st.step())
        out << Agent{st.value(0).toString(), st.value(1).toString(), st.value(2).toInt(),
                     st.value(3).toLongLong()};
    return out;
}

Deal requireStanding(Connection& c, qlonglong deal)
{
    const std::optional<Deal> d = load(c, deal);
    if (!d) throw DbError(QStringLiteral("这笔成交已不存在。"));
    if (d->status != Standing)
        throw DbError(QStringLiteral("这笔成交已经撤销，不能再修改或撤销。"));
    return *d;
}

// One history row of the deal per item that differs between two versions.
QList<RecordLog::ColumnChange> differences(const Deal& a, const Deal& b)
{
    QList<RecordLog::ColumnChange> out;
    const auto item = [&](const char* name, const QString& x, const QString& y) {
        if (x != y) out << RecordLog::ColumnChange{QString::fromUtf8(name), x, y};
    };
    item("成交日期", a.date.toString(kDateFormat), b.date.toString(kDateFormat));
    // Amounts with their unit: the history keeps them as texts, exactly as shown.
    const auto yuan = [](qint64 fen) { return Money::yuanText(fen) + QStringLiteral("元"); };
    item("成交价格", yuan(a.price), yuan(b.price));
    item("业主佣金", yuan(a.ownerCommission), yuan(b.ownerCommission));
    item("客户佣金", yuan(a.customerCommission), yuan(b.customerCommission));
    item("合同编号", a.contract, b.contract);
    item("备注", a.remarks, b.remarks);
    item("经纪人", agentsText(a.agents), agentsText(b.agents));
    return out;
}

const QString kRegistered = QStringLiteral("登记");
const QString kCancelled = QStringLiteral("撤销");

} // namespace

std::optional<Refusal> refusal(const Deal& deal, const QDate& today)
{
    if (!deal.date.isValid()) return Refusal{Refusal::Date, QStringLiteral("请输入成交日期")};
    if (deal.date > today) return Refusal{Refusal::Date, QStringLiteral("成交日期不能晚于今天")};
    if (deal.price <= 0) return Refusal{Refusal::Price, QStringLiteral("成交价格必须大于零")};
    if (deal.ownerCommission < 0)
        return Refusal{Refusal::OwnerCommission, QStringLiteral("业主佣金不能为负数")};
    if (deal.customerCommission < 0)
        return Refusal{Refusal::CustomerCommission, QStringLiteral("客户佣金不能为负数")};
    if (deal.commission() > deal.price)
        return Refusal{Refusal::OwnerCommission, QStringLiteral("佣金合计不能高于成交价格")};
    if (deal.agents.isEmpty()) return Refusal{Refusal::Agents, QStringLiteral("请选择经纪人")};
    QSet<QString> seen;
    int sum = 0;
    for (const Agent& a : deal.agents) {
        const QString key = KeyLookup::fold(Text::trim(a.staff));
        if (key.isEmpty()) return Refusal{Refusal::Agents, QStringLiteral("请选择经纪人")};
        if (seen.contains(key))
            return Refusal{Refusal::Agents,
                           QStringLiteral("经纪人“%1”重复出现").arg(Text::trim(a.staff))};
        seen.insert(key);
        if (a.share <= 0)
            return Refusal{
                Refusal::Agents,
                QStringLiteral("经纪人“%1”的分成比例必须大于零").arg(Text::trim(a.staff))};
        sum += a.share;
    }
    if (sum != Money::kWhole)
        return Refusal{
            Refusal::Agents,
            QStringLiteral("经纪人的分成比例合计必须是100%，现在是%1%").arg(Money::shareText(sum))};
    return std::nullopt;
}

bool mayChange(const QString& role)
{
    return role == Roles::Senior || role == Roles::Admin;
}

QString notAllowedText()
{
    return QStringLiteral("只有高级操作员或系统管理员才能修改或撤销成交记录。");
}

qlonglong add(Connection& c, Deal deal, const QDate& today)
{
    if (const auto why = refusal(deal, today)) throw DbError(why->text);
    Connection::Transaction t(c);
    lockDeals(c);
    const auto listing = record(c, kListings, deal.listing);
    if (!listing)
        throw DbError(
            QStringLiteral("房源“%1”已不存在（可能已被删除）。").arg(Text::trim(deal.listing)));
    const auto customer = record(c, kCustomers, deal.customer);
    if (!customer)
        throw DbError(
            QStringLiteral("客户“%1”已不存在（可能已被删除）。").arg(Text::trim(deal.customer)));
    if (standingDealOf(c, kListings, listing->number))
        throw DbError(QStringLiteral("房源“%1”已经成交（可能另一台电脑刚刚登记了它的成交），"
                                     "不能再登记一次。")
                          .arg(listing->number));
    if (standingDealOf(c, kCustomers, customer->number))
        throw DbError(QStringLiteral("客户“%1”已经成交（可能另一台电脑刚刚登记了他的成交），"
                                     "不能再登记一次。")
                          .arg(customer->number));
    if (listing->validity != kValid)
        throw DbError(QStringLiteral("房源“%1”是无效信息，不能登记成交。").arg(listing->number));
    if (customer->validity != kValid)
        throw DbError(QStringLiteral("客户“%1”是无效信息，不能登记成交。").arg(customer->number));
    if (!modesPair(listing->mode, customer->mode))
        throw DbError(QStringLiteral("房源的供应方式（%1）与客户的需求方式（%2）不对应。")
                          .arg(listing->mode, customer->mode));
    settleAgents(c, deal);
    deal.listing = listing->number;
    deal.customer = customer->number;
    deal.mode = listing->mode;
    deal.location = listing->location;
    deal.status = Standing;
    deal.listingVoided = deal.customerVoided = true;
    Statement ins(
        c, Dialect::insertInto(
               Table,
               {QStringLiteral("房源档案号"), QStringLiteral("客户档案号"), QStringLiteral("方式"),
                QStringLiteral("位置"), QStringLiteral("成交日期"), QStringLiteral("成交价格"),
                QStringLiteral("业主佣金"), QStringLiteral("客户佣金"), QStringLiteral("合同编号"),
                QStringLiteral("备注"), QStringLiteral("状态"), QStringLiteral("房源作废"),
                QStringLiteral("客户作废"), QStringLiteral("登记时间"), QStringLiteral("登记人")}));
    ins.bindAll({deal.listing, deal.customer, orNull(deal.mode), orNull(deal.location),
                 deal.date.toString(kDateFormat), deal.price, deal.ownerCommission,
                 deal.customerCommission, orNull(Text::trim(deal.contract)), orNull(deal.remarks),
                 Standing, 1, 1, RecordLog::now(), c.actor().storedOperator()});
    ins.step();
    Statement last(c, QStringLiteral("SELECT max(%1) FROM %2").arg(id("编号"), id("成交记录")));
    last.step();
    deal.id = last.value(0).toLongLong();
    writeAgents(c, deal);
    setValidity(c, kListings, deal.listing, kValid, kInvalid);
    setValidity(c, kCustomers, deal.customer, kValid, kInvalid);
    RecordLog::event(c, Table, dealNumber(deal.id), kRegistered,
                     QStringLiteral("房源 %1，客户 %2").arg(deal.listing, deal.customer));
    t.commit();
    return deal.id;
}

void change(Connection& c, Deal deal, const QString& role, const QDate& today)
{
    if (!mayChange(role)) throw DbError(notAllowedText());
    Connection::Transaction t(c);
    lockDeals(c);
    const Deal stored = requireStanding(c, deal.id);
    // A deal may be dated before today's check moved on; an unchanged date stays valid.
    if (const auto why = refusal(deal, std::max(today, stored.date))) throw DbError(why->text);
    settleAgents(c, deal, stored.agents);
    const QList<RecordLog::ColumnChange> changes = differences(stored, deal);
    if (changes.isEmpty()) return;
    Statement st(c, QStringLiteral("UPDATE %1 SET %2=?, %3=?, %4=?, %5=?, %6=?, %7=? WHERE %8=?")
                        .arg(id("成交记录"), id("成交日期"), id("成交价格"), id("业主佣金"),
                             id("客户佣金"), id("合同编号"), id("备注"), id("编号")));
    st.bindAll({deal.date.toString(kDateFormat), deal.price, deal.ownerCommission,
                deal.customerCommission, orNull(Text::trim(deal.contract)), orNull(deal.remarks),
                deal.id});
    st.step();
    writeAgents(c, deal);
    RecordLog::changed(c, Table, dealNumber(deal.id), changes);
    t.commit();
}

void cancel(Connection& c, qlonglong deal, const QString& reason, const QString& role)
{
    if (!mayChange(role)) throw DbError(notAllowedText());
    const QString why = Text::trim(reason);
    if (why.isEmpty()) throw DbError(QStringLiteral("请输入撤销原因"));
    Connection::Transaction t(c);
    lockDeals(c);
    const Deal stored = requireStanding(c, deal);
    Statement st(c, QStringLiteral("UPDATE %1 SET %2=?, %3=?, %4=?, %5=? WHERE %6=?")
                        .arg(id("成交记录"), id("状态"), id("撤销时间"), id("撤销人"),
                             id("撤销原因"), id("编号")));
    st.bindAll({Cancelled, RecordLog::now(), c.actor().storedOperator(), why, deal});
    st.step();
    // Only what this deal made invalid, and only while it still is.
    const auto restore = [&](bool voided, const QString& table, const QString& number) {
        if (!voided) return;
        const auto r = record(c, table, number);
        if (r && r->validity == kInvalid) setValidity(c, table, r->number, kInvalid, kValid);
    };
    restore(stored.listingVoided, kListings, stored.listing);
    restore(stored.customerVoided, kCustomers, stored.customer);
    RecordLog::event(c, Table, dealNumber(deal), kCancelled, why);
    t.commit();
}

std::optional<Deal> load(Connection& c, qlonglong deal)
{
    Statement st(c, QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, "
                                   "%13, %14, %15, %16, %17, %18, %19 FROM %20 WHERE %1=?")
                        .arg(id("编号"), id("房源档案号"), id("客户档案号"), id("方式"), id("位置"),
                             id("成交日期"), id("成交价格"), id("业主佣金"), id("客户佣金"))
                        .arg(id("合同编号"), id("备注"), id("状态"), id("房源作废"), id("客户作废"),
                             id("登记时间"), id("登记人"), id("撤销时间"), id("撤销人"))
                        .arg(id("撤销原因"), id("成交记录")));
    st.bind(1, deal);
    if (!st.step()) return std::nullopt;
    Deal d;
    d.id = st.value(0).toLongLong();
    d.listing = st.value(1).toString();
    d.customer = st.value(2).toString();
    d.mode = st.value(3).toString();
    d.location = st.value(4).toString();
    d.date = QDate::fromString(st.value(5).toString(), kDateFormat);
    d.price = st.value(6).toLongLong();
    d.ownerCommission = st.value(7).toLongLong();
    d.customerCommission = st.value(8).toLongLong();
    d.contract = st.value(9).toString();
    d.remarks = st.value(10).toString();
    d.status = st.value(11).toString();
    d.listingVoided = st.value(12).toInt() != 0;
    d.customerVoided = st.value(13).toInt() != 0;
    d.registeredAt = st.value(14).toString();
    d.registeredBy = st.value(15).toString();
    d.cancelledAt = st.value(16).toString();
    d.cancelledBy = st.value(17).toString();
    d.reason = st.value(18).toString();
    d.agents = readAgents(c, d.id);
    return d;
}

std::optional<qlonglong> standingDealOf(Connection& c, const QString& table, const QString& number)
{
    // The state as a literal, so the engine seeks the index of standing deals.
    Statement st(c, QStringLiteral("SELECT %1 FROM %2 WHERE %3=? AND %4=%5")
                        .arg(id("编号"), id("成交记录"),
                             table == kListings ? id("房源档案号") : id("客户档案号"), id("状态"),
                             Text::literal(Standing)));
    st.bind(1, Text::trim(number));
    if (!st.step()) return std::nullopt;
    return st.value(0).toLongLong();
}

QList<Staff> staff(Connection& c)
{
    Statement st(c, QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1<>? ORDER BY %1")
                        .arg(id("员工编号"), id("员工姓名"), id("操作员档案")));
    st.bind(1, QStringLiteral("admin"));
    QList<Staff> out;
    while (st.step())
        out << Staff{Text::trim(st.value(0).toString()), Text::trim(st.value(1).toString())};
    return out;
}

QString agentsText(const QList<Agent>& agents)
{
    QStringList parts;
    for (const Agent& a : agents)
        parts << QStringLiteral("%1 %2%").arg(a.name.isEmpty() ? a.staff : a.name,
                                              Money::shareText(a.share));
    return parts.join(QStringLiteral("，"));
}

} // namespace Deals
