#include "data/Schema.h"

#include "data/DbError.h"

#include <QFileInfo>
#include <sqlite3.h>

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

int appId(DbKind kind)
{
    return kind == DbKind::Main ? kMainAppId : kExchangeAppId;
}

static QString ident(const QString& s)
{
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString createTableSql(const TableDef& t)
{
    QStringList cols;
    for (const ColumnDef& c : t.columns) {
        const QString n = ident(QString::fromUtf8(c.name));
        switch (c.type) {
        case T::Text:
            // The constraint's name is what the engine reports when a value is too long.
            cols << QStringLiteral("%1 TEXT(%2) COLLATE NOCASE CONSTRAINT %3 CHECK (%1 IS NULL OR "
                                   "(typeof(%1)='text' AND length(%1)<=%2))")
                        .arg(n)
                        .arg(c.width)
                        .arg(ident(QStringLiteral("%1最多%2个字符")
                                       .arg(QString::fromUtf8(c.name))
                                       .arg(c.width)));
            break;
        case T::Memo:
            cols << QStringLiteral("%1 MEMO COLLATE NOCASE CONSTRAINT %2 CHECK (%1 IS NULL OR "
                                   "typeof(%1)='text')")
                        .arg(n,
                             ident(QStringLiteral("%1必须是文本").arg(QString::fromUtf8(c.name))));
            break;
        case T::Float:
            cols << QStringLiteral("%1 FLOAT CONSTRAINT %2 CHECK (%1 IS NULL OR typeof(%1) IN "
                                   "('real','integer'))")
                        .arg(n,
                             ident(QStringLiteral("%1必须是数值").arg(QString::fromUtf8(c.name))));
            break;
        case T::Other:
            cols << n;
            break;
        }
    }
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
        .arg(ident(QString::fromUtf8(t.name)), cols.join(QLatin1String(",\n  ")));
}

namespace
{

void execOrThrow(sqlite3* db, const QString& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString text = QString::fromUtf8(err ? err : "unknown error");
        sqlite3_free(err);
        throw DbError(text);
    }
}

void createFile(const QString& path, DbKind kind, const QStringList& extra)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("文件已存在，不会覆盖：%1").arg(path));
    sqlite3* db = nullptr;
    const QByteArray p = path.toUtf8();
    if (sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法创建文件 %1：%2").arg(path, text));
    }
    try {
        const QByteArray key = kind == DbKind::Main ? mainPassword() : exchangePassword();
        if (sqlite3_key(db, key.constData(), key.size()) != SQLITE_OK)
            throw DbError(QStringLiteral("无法设置数据库密码"));
        execOrThrow(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
        execOrThrow(db, QStringLiteral("PRAGMA application_id=%1").arg(appId(kind)));
        execOrThrow(db, QStringLiteral("BEGIN"));
        for (const TableDef& t : tables(kind))
            execOrThrow(db, createTableSql(t));
        for (const QString& s : extra)
            execOrThrow(db, s);
        execOrThrow(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(path);
        throw;
    }
    sqlite3_close(db);
}

} // namespace

void createMainDatabase(const QString& path)
{
    const QStringList extra = {
        // Keys and indexes: unique archive numbers and staff numbers, and the
        // daily sequence lookup (company, entry date, sequence) as an index seek.
        "CREATE UNIQUE INDEX 房屋信息_档案号 ON 房屋信息(档案号)",
        "CREATE INDEX 房屋信息_序号 ON 房屋信息(公司编号, 录入日期, 序号)",
        "CREATE INDEX 房屋信息_录入日期 ON 房屋信息(录入日期)",
        "CREATE UNIQUE INDEX 客户信息_档案号 ON 客户信息(档案号)",
        "CREATE INDEX 客户信息_序号 ON 客户信息(公司编号, 录入日期, 序号)",
        "CREATE INDEX 客户信息_录入日期 ON 客户信息(录入日期)",
        "CREATE UNIQUE INDEX 操作员档案_员工编号 ON 操作员档案(员工编号)",
        // Matching reads these columns of every valid row of one mode from the index alone;
        // the archive number third keeps new rows together at the end of their part.
        "CREATE INDEX 房屋信息_匹配 ON 房屋信息(方式, 类型, 档案号, 房屋面积, 信息价格, 户型, "
        "楼层, "
        "位置, 权属, 小区名称, 地址)",
        "CREATE INDEX 客户信息_匹配 ON 客户信息(需求方式, 类型, 档案号, 面积1, 面积2, 价格1, "
        "价格2, "
        "户型, 楼层, 位置, 权属, 地址描述)",
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
    createFile(path, DbKind::Main, extra);
}

void createExchangeDatabase(const QString& path)
{
    createFile(path, DbKind::Exchange, {});
}

} // namespace Schema
