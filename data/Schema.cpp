#include "data/Schema.h"

#include "data/DbError.h"
#include "data/DbLocation.h"
#include "data/DealTables.h"
#include "data/DuplicateIndexes.h"
#include "data/MemoText.h"
#include "data/PhotoTables.h"
#include "data/Reminders.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "data/engine/Engine.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

namespace Schema
{

using T = ColumnInfo::Type;

const QList<TableDef>& mainTables()
{
    static const QList<TableDef> defs = {
        {"房屋信息",
         {{"档案号", T::Text, 12},   {"小区名称", T::Text, 30},      {"地址", T::Text, 50},
          {"楼层", T::Text, 10},     {"户型", T::Text, 20},          {"位置", T::Text, 20},
          {"方式", T::Text, 10},     {"权属", T::Text, 10},          {"房主姓名", T::Text, 20},
          {"电话", T::Text, 12},     {"手机", T::Text, 15},          {"类型", T::Text, 4},
          {"期限", T::Text, 10},     {"备注", T::Memo, 0},           {"公司编号", T::Text, 3},
          {"录入日期", T::Text, 6},  {"序号", T::Text, 3},           {"新旧程度", T::Text, 4},
          {"公交线路", T::Text, 60}, {"房屋结构文件", T::Text, 100}, {"产权证号", T::Text, 20},
          {"看房情况", T::Memo, 0},  {"设施", T::Text, 40},          {"房屋面积", T::Float, 0},
          {"信息价格", T::Float, 0}, {"最低价格", T::Float, 0}}},
        {"客户信息",
         {{"档案号", T::Text, 12},
          {"地址描述", T::Text, 40},
          {"需求方式", T::Text, 10},
          {"权属", T::Text, 10},
          {"需求设施", T::Memo, 0},
          {"客户姓名", T::Text, 10},
          {"电话", T::Text, 12},
          {"手机", T::Text, 15},
          {"公司编号", T::Text, 3},
          {"录入日期", T::Text, 6},
          {"序号", T::Text, 3},
          {"楼层", T::Text, 10},
          {"户型", T::Text, 20},
          {"位置", T::Text, 20},
          {"类型", T::Text, 4},
          {"面积1", T::Float, 0},
          {"面积2", T::Float, 0},
          {"价格1", T::Float, 0},
          {"价格2", T::Float, 0}}},
        {"操作员档案",
         {{"员工编号", T::Text, 5},
          {"员工姓名", T::Text, 20},
          {"员工职务", T::Text, 20},
          {"联系电话", T::Text, 15},
          {"登录密码", T::Text, 10},
          {"操作人员", T::Text, 2},
          {"功能组", T::Text, 10}}},
        {"公司信息",
         {{"公司代码", T::Text, 3},
          {"公司名称", T::Text, 30},
          {"公司地址", T::Text, 50},
          {"公司电话", T::Text, 12}}},
        {"户型字典", {{"户型", T::Text, 20}}},
        {"楼层字典", {{"楼层", T::Text, 10}}},
        {"权属字典", {{"权属", T::Text, 10}}},
        {"位置字典", {{"位置", T::Text, 20}}},
        {"供应方式字典", {{"供应方式", T::Text, 10}}},
        {"需求方式字典", {{"需求方式", T::Text, 10}}},
    };
    return defs;
}

const QList<TableDef>& recordTables()
{
    // 表名 and 档案号 name the listing (房屋信息) or customer (客户信息); times are
    // "yyyy-MM-dd HH:mm:ss"; 操作员 is the operator's staff number.
    static const QList<TableDef> defs = {
        // One row per event: 新增, 导入, 删除, 恢复, 彻底删除, and per changed column of
        // a save 修改 (作废 / 重新生效 when the validity turns), with old and new value.
        {"修改记录",
         {{"编号", T::Integer, 0},
          {"表名", T::Text, 10},
          {"档案号", T::Text, 12},
          {"时间", T::Text, 19},
          {"操作员", T::Text, 5},
          {"工作站", T::Text, 100},
          {"操作", T::Text, 10},
          {"字段", T::Text, 20},
          {"旧值", T::Memo, 0},
          {"新值", T::Memo, 0}},
         true},
        // A deleted row, whole (every column and value in 内容), until it is restored or
        // erased for good.
        {"回收站",
         {{"编号", T::Integer, 0},
          {"表名", T::Text, 10},
          {"档案号", T::Text, 12},
          {"删除时间", T::Text, 19},
          {"删除人", T::Text, 5},
          {"工作站", T::Text, 100},
          {"内容", T::Memo, 0}},
         true},
        // Calls, viewings and visits; a listing's viewing may name a customer.
        {"跟进记录",
         {{"编号", T::Integer, 0},
          {"表名", T::Text, 10},
          {"档案号", T::Text, 12},
          {"时间", T::Text, 19},
          {"操作员", T::Text, 5},
          {"跟进方式", T::Text, 4},
          {"内容", T::Memo, 0},
          {"客户档案号", T::Text, 12}},
         true},
    };
    return defs;
}

const QList<TableDef>& exchangeTables()
{
    static const QList<TableDef> defs = {
        {"房屋信息Exp",
         {{"档案号", T::Text, 12},
          {"小区名称", T::Text, 30},
          {"地址", T::Text, 50},
          {"房屋面积", T::Float, 0},
          {"楼层", T::Text, 10},
          {"户型", T::Text, 20},
          {"信息价格", T::Float, 0},
          {"设施", T::Text, 40},
          {"位置", T::Text, 20},
          {"方式", T::Text, 10},
          {"权属", T::Text, 10},
          {"类型", T::Text, 4},
          {"期限", T::Text, 10},
          {"公司编号", T::Text, 3},
          {"录入日期", T::Text, 6},
          {"序号", T::Text, 3},
          {"新旧程度", T::Text, 4},
          {"公交线路", T::Text, 60}}},
        {"客户信息Exp",
         {{"档案号", T::Text, 12},
          {"地址描述", T::Text, 40},
          {"需求方式", T::Text, 10},
          {"权属", T::Text, 10},
          {"面积1", T::Float, 0},
          {"面积2", T::Float, 0},
          {"价格1", T::Float, 0},
          {"价格2", T::Float, 0},
          {"需求设施", T::Memo, 0},
          {"公司编号", T::Text, 3},
          {"录入日期", T::Text, 6},
          {"序号", T::Text, 3},
          {"楼层", T::Text, 10},
          {"户型", T::Text, 20},
          {"类型", T::Text, 4},
          {"位置", T::Text, 20}}},
    };
    return defs;
}

const QList<TableDef>& tables(DbKind kind)
{
    return kind == DbKind::Main ? mainTables() : exchangeTables();
}

QString uniqueKey(const QString& table)
{
    if (table == QStringLiteral("房屋信息") || table == QStringLiteral("客户信息"))
        return QStringLiteral("档案号");
    if (table == QStringLiteral("操作员档案")) return QStringLiteral("员工编号");
    return {};
}

int appId(DbKind kind)
{
    return kind == DbKind::Main ? kMainAppId : kExchangeAppId;
}

namespace
{

QString ident(const char* s)
{
    return Dialect::identifier(QString::fromUtf8(s));
}

QString tooLongName(const ColumnDef& c)
{
    return QStringLiteral("%1最多%2个字符").arg(QString::fromUtf8(c.name)).arg(c.width);
}

// The column on the server: citext compares letters without case (=, <>, like,
// order by and unique keys alike); the "C" collation orders texts by their
// characters as the file does. A check named as in the file limits the width.
QString serverColumn(const ColumnDef& c)
{
    const QString n = ident(c.name);
    switch (c.type) {
    case T::Text:
        return QStringLiteral("%1 citext COLLATE \"C\" CONSTRAINT %2 CHECK (char_length(%1) <= %3)")
            .arg(n, Dialect::identifier(tooLongName(c)))
            .arg(c.width);
    case T::Memo:
        return n + QStringLiteral(" citext COLLATE \"C\"");
    case T::Float:
        return n + QStringLiteral(" double precision");
    case T::Integer:
        return n + QStringLiteral(" bigint");
    case T::Binary:
        return n + QStringLiteral(" bytea");
    case T::Other:
        break;
    }
    return n + QStringLiteral(" text");
}

QString createTableSql(const TableDef& t, engine::Flavor f)
{
    if (f == engine::Flavor::SqlCipher) return createTableSql(t);
    QStringList cols;
    for (const ColumnDef& c : t.columns)
        cols << (t.numbered && cols.isEmpty()
                     ? ident(c.name) + QStringLiteral(" bigint GENERATED BY DEFAULT AS IDENTITY "
                                                      "PRIMARY KEY")
                     : serverColumn(c));
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
        .arg(ident(t.name), cols.join(QLatin1String(",\n  ")));
}

const char* const kMainIndexes[] = {
    // Unique archive numbers and staff numbers, and the daily sequence lookup
    // (company, entry date, sequence) as an index seek.
    "CREATE UNIQUE INDEX 房屋信息_档案号 ON 房屋信息(档案号)",
    "CREATE INDEX 房屋信息_序号 ON 房屋信息(公司编号, 录入日期, 序号)",
    "CREATE INDEX 房屋信息_录入日期 ON 房屋信息(录入日期)",
    "CREATE UNIQUE INDEX 客户信息_档案号 ON 客户信息(档案号)",
    "CREATE INDEX 客户信息_序号 ON 客户信息(公司编号, 录入日期, 序号)",
    "CREATE INDEX 客户信息_录入日期 ON 客户信息(录入日期)",
    "CREATE UNIQUE INDEX 操作员档案_员工编号 ON 操作员档案(员工编号)",
};

// Matching seeks the valid rows of one mode here and tests its conditions on the
// columns after them before it reads a row of the table; the archive number third
// keeps new rows together at the end of their part and leads to the table's rows in
// archive order, the order an office enters them.
const char* const kMatchingIndexes[] = {
    "CREATE INDEX %1房屋信息_匹配 ON 房屋信息(方式, 类型, 档案号, 房屋面积, 信息价格, 户型, 楼层, "
    "位置, 权属, 小区名称, 地址)",
    "CREATE INDEX %1客户信息_匹配 ON 客户信息(需求方式, 类型, 档案号, 面积1, 面积2, 价格1, 价格2, "
    "户型, 楼层, 位置, 权属, 地址描述)",
};

// A record's history and notes are read by table and archive number, newest first;
// the last note of every record of a register is read from the index alone.
const char* const kRecordIndexes[] = {
    "CREATE INDEX 修改记录_档案号 ON 修改记录(表名, 档案号, 编号)",
    "CREATE INDEX 回收站_档案号 ON 回收站(表名, 档案号)",
    "CREATE INDEX 跟进记录_档案号 ON 跟进记录(表名, 档案号, 时间)",
    "CREATE INDEX 跟进记录_客户档案号 ON 跟进记录(客户档案号, 时间)",
};

const TableDef kVersionTable{"数据库版本", {{"版本", T::Integer, 0}}};

const char* const kFirstRows[] = {
    "INSERT INTO 公司信息 VALUES ('001', '本公司', '', '')",
    "INSERT INTO 供应方式字典 VALUES ('出售')",
    "INSERT INTO 供应方式字典 VALUES ('出租')",
    "INSERT INTO 需求方式字典 VALUES ('求购')",
    "INSERT INTO 需求方式字典 VALUES ('求租')",
    "INSERT INTO 户型字典 VALUES ('一室一厅'), ('两室一厅'), ('两室两厅'), ('三室一厅'), "
    "('三室两厅'), ('四室两厅'), ('复式'), ('别墅')",
    "INSERT INTO 楼层字典 VALUES ('底层'), ('低层'), ('中层'), ('高层'), ('顶层'), ('跃层')",
    "INSERT INTO 权属字典 VALUES ('商品房'), ('房改房'), ('经济适用房'), ('私房'), ('集资房')",
    "INSERT INTO 位置字典 VALUES ('市中心'), ('城东'), ('城西'), ('城南'), ('城北'), "
    "('开发区'), ('郊区')",
    "INSERT INTO 操作员档案 VALUES ('admin', '系统管理员', '系统管理员', '', 'admin', '是', "
    "'系统管理员')",
};

// A new file, claimed exclusively first so that no existing file (nor one made by
// someone else at the same moment) is ever overwritten; removed again on failure.
void createFile(const QString& path, DbKind kind, const QString& password, const Fill& fill)
{
    {
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw DbError(
                QFileInfo::exists(path)
                    ? QStringLiteral("文件已存在，不会覆盖：%1").arg(path)
                    : QStringLiteral("无法创建文件 %1：%2").arg(path, claim.errorString()));
    }
    try {
        Connection c(kind);
        c.setDatabase(path, password);
        c.openRaw();
        c.run(QStringLiteral("PRAGMA journal_mode=DELETE"));
        c.run(QStringLiteral("PRAGMA application_id=%1").arg(appId(kind)));
        Connection::Transaction t(c);
        fill(c);
        t.commit();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

} // namespace

QString createTableSql(const TableDef& t)
{
    QStringList cols;
    for (const ColumnDef& c : t.columns) {
        const QString n = ident(c.name);
        if (t.numbered && cols.isEmpty()) {
            // The row identity itself: the next number up for each new row.
            cols << n + QStringLiteral(" INTEGER PRIMARY KEY");
            continue;
        }
        switch (c.type) {
        case T::Text:
            // The constraint's name is what the engine reports when a value is too long.
            cols << QStringLiteral("%1 TEXT(%2) COLLATE NOCASE CONSTRAINT %3 CHECK (%1 IS NULL OR "
                                   "(typeof(%1)='text' AND length(%1)<=%2))")
                        .arg(n)
                        .arg(c.width)
                        .arg(Dialect::identifier(tooLongName(c)));
            break;
        case T::Memo:
            // A type name with TEXT in it: the file engine keeps "0571888" as typed.
            cols << QStringLiteral("%1 %2 COLLATE NOCASE CONSTRAINT %3 CHECK (%1 IS NULL OR "
                                   "typeof(%1)='text')")
                        .arg(n, QLatin1String(kMemoType),
                             Dialect::identifier(
                                 QStringLiteral("%1必须是文本").arg(QString::fromUtf8(c.name))));
            break;
        case T::Float:
            cols << QStringLiteral("%1 FLOAT CONSTRAINT %2 CHECK (%1 IS NULL OR typeof(%1) IN "
                                   "('real','integer'))")
                        .arg(n, Dialect::identifier(
                                    QStringLiteral("%1必须是数值").arg(QString::fromUtf8(c.name))));
            break;
        case T::Integer:
            cols << n + QStringLiteral(" INTEGER");
            break;
        case T::Binary:
            cols << n + QStringLiteral(" BLOB");
            break;
        case T::Other:
            cols << n;
            break;
        }
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
        .arg(ident(t.name), cols.join(QLatin1String(",\n  ")));
}

QString createTableSql(const TableDef& t, const Connection& c)
{
    return createTableSql(t, c.requireEngine().flavor());
}

QString tooLongText(const QString& column, int width)
{
    return QStringLiteral("“%1”最多只能有 %2 个字符，输入的内容太长。").arg(column).arg(width);
}

QVariant storedText(const ColumnInfo& column, const QString& text)
{
    const QString s = Text::withoutControls(
        text, column.type == ColumnInfo::Memo ? Text::Lines::Keep : Text::Lines::Drop);
    return s.isEmpty() ? QVariant() : QVariant(s);
}

std::optional<QString> tooLong(const ColumnInfo& column, const QVariant& value)
{
    if (column.type != ColumnInfo::Text || column.maxLength <= 0 || value.isNull() ||
        Text::charCount(value.toString()) <= column.maxLength)
        return std::nullopt;
    return tooLongText(column.name, column.maxLength);
}

WidthCheck widthCheck(const QString& constraintName)
{
    static const QRegularExpression re(QStringLiteral("^(.+)最多(\\d+)个字符$"));
    const auto m = re.match(constraintName);
    if (!m.hasMatch()) return {};
    return {m.captured(1), m.captured(2).toInt()};
}

QString violationText(const QString& constraintName)
{
    const WidthCheck w = widthCheck(constraintName);
    if (w.width > 0) return tooLongText(w.column, w.width);
    for (const char* kind : {"必须是文本", "必须是数值"}) {
        const QString tail = QString::fromUtf8(kind);
        if (constraintName.endsWith(tail) && constraintName.size() > tail.size())
            return QStringLiteral("“%1”%2。").arg(constraintName.chopped(tail.size()), tail);
    }
    return {};
}

void createMainTables(Connection& c, bool firstRows)
{
    const engine::Flavor f = c.requireEngine().flavor();
    // Texts compare without letter case through the citext type.
    if (f == engine::Flavor::Postgres) {
        try {
            c.run(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
        } catch (const DbError& e) {
            throw DbError(QStringLiteral("无法在数据库中启用 citext 扩展：请用数据库的所有者"
                                         "（createdb -O 用户名）或超级用户来建立数据表。\n%1")
                              .arg(e.text()));
        }
    }
    for (const TableDef& t : mainTables())
        c.run(createTableSql(t, f));
    for (const char* s : kMainIndexes)
        c.run(QString::fromUtf8(s));
    createMatchingIndexes(c, false);
    createRecordTables(c);
    createSecurityTables(c);
    createReminderTables(c);
    createPhotoTables(c);
    createDuplicateIndexes(c, false);
    createDealTables(c);
    createQuietIndexes(c, false);
    markVersion(c, kLayoutVersion);
    if (firstRows) {
        for (const char* s : kFirstRows)
            c.run(QString::fromUtf8(s));
        OperatorPasswords::hashPlainPasswords(c);
    }
    c.reloadSchema();
}

void createTables(Connection& c, const QList<TableDef>& defs)
{
    const engine::Flavor f = c.requireEngine().flavor();
    for (const TableDef& t : defs)
        c.run(createTableSql(t, f));
}

void createRecordTables(Connection& c)
{
    const engine::Flavor f = c.requireEngine().flavor();
    for (const TableDef& t : recordTables())
        c.run(createTableSql(t, f));
    for (const char* s : kRecordIndexes)
        c.run(QString::fromUtf8(s));
}

void createTable(Connection& c, const TableDef& t)
{
    c.run(createTableSql(t, c.requireEngine().flavor()));
}

void createMatchingIndexes(Connection& c, bool ifMissing)
{
    for (const char* s : kMatchingIndexes)
        c.run(QString::fromUtf8(s).arg(ifMissing ? QStringLiteral("IF NOT EXISTS ") : QString()));
}

void markVersion(Connection& c, int version)
{
    const QString table = ident(kVersionTable.name);
    c.run(QStringLiteral("CREATE TABLE IF NOT EXISTS ") +
          createTableSql(kVersionTable, c.requireEngine().flavor())
              .mid(QStringLiteral("CREATE TABLE ").size()));
    c.run(QStringLiteral("DELETE FROM %1").arg(table));
    c.run(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table).arg(version));
}

void continueNumbering(Connection& c)
{
    if (c.requireEngine().flavor() != engine::Flavor::Postgres) return;
    for (const TableDef& t :
         recordTables() + securityTables() + reminderTables() + photoTables() + dealTables()) {
        if (!t.numbered) continue;
        const QString table = ident(t.name), key = ident(t.columns.first().name);
        c.run(QStringLiteral("SELECT setval(pg_get_serial_sequence(%1, %2), coalesce(max(%3), 0) "
                             "+ 1, false) FROM %4")
                  .arg(Text::literal(table), Text::literal(t.columns.first().name), key, table));
    }
}

void createMainDatabase(const QString& location, bool firstRows, const Fill& fill)
{
    const auto build = [&](Connection& c) {
        createMainTables(c, firstRows);
        if (fill) fill(c);
    };
    if (engine::flavorOf(location) == engine::Flavor::SqlCipher) {
        createFile(location, DbKind::Main, QString::fromLatin1(mainPassword()), build);
        return;
    }
    Connection c(DbKind::Main);
    c.setDatabase(location, QString());
    c.openRaw();
    if (!c.tableNames().isEmpty())
        throw DbError(QStringLiteral("数据库中已经有数据表，不会改动它：%1")
                          .arg(DbLocation::display(location)));
    Connection::Transaction t(c);
    build(c);
    t.commit();
}

void createMainFile(const QString& path, const QString& password, const Fill& fill)
{
    createFile(path, DbKind::Main, password, [&](Connection& c) {
        createMainTables(c, false);
        if (fill) fill(c);
    });
}

void createExchangeDatabase(const QString& path)
{
    if (engine::flavorOf(path) != engine::Flavor::SqlCipher)
        throw DbError(QStringLiteral("交换数据库必须是文件，不能放在数据库服务器上：%1")
                          .arg(DbLocation::display(path)));
    createFile(path, DbKind::Exchange, QString::fromLatin1(exchangePassword()), [](Connection& c) {
        for (const TableDef& t : exchangeTables())
            c.run(createTableSql(t));
    });
}

} // namespace Schema
