// The step to layout 4 at the first login after the update: a file of 100,000
// listings, 100,000 customers, 200,000 follow-up notes and 300,000 history rows
// whose memo columns are declared as before (numeric affinity), brought up to date
// (time, file size before and after).
//   bench_upgrade [--listings N]
#include "bench/BenchSupport.h"
#include "data/BulkInsert.h"
#include "data/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

std::unique_ptr<Connection> openFile(const QString& path)
{
    auto c = std::make_unique<Connection>(DbKind::Main);
    c->setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c->openRaw();
    return c;
}

// History rows, as saves of changed listings leave them.
void addHistory(Connection& c, int rows)
{
    Connection::BulkScope bulk(c);
    Connection::Transaction t(c);
    BulkInsert ins(c, QStringLiteral("修改记录"),
                   {QStringLiteral("表名"), QStringLiteral("档案号"), QStringLiteral("时间"),
                    QStringLiteral("操作员"), QStringLiteral("操作"), QStringLiteral("字段"),
                    QStringLiteral("旧值"), QStringLiteral("新值")});
    for (int i = 0; i < rows; ++i)
        ins.add({QStringLiteral("房屋信息"),
                 QStringLiteral("001%1").arg(i % 100000, 9, 10, QLatin1Char('0')),
                 QStringLiteral("2026-12-01 09:00:00"), QStringLiteral("001"),
                 QStringLiteral("修改"), QStringLiteral("信息价格"), QString::number(100 + i % 50),
                 QStringLiteral("面议，业主急售 %1").arg(i)});
    ins.finish();
    t.commit();
}

// The memo columns declared as files before layout 4 had them.
void declareAsBefore(Connection& c)
{
    Statement v(c, QStringLiteral("PRAGMA schema_version"));
    v.step();
    const qlonglong version = v.value(0).toLongLong();
    c.run(QStringLiteral("PRAGMA writable_schema=ON"));
    c.run(QStringLiteral("UPDATE sqlite_master SET sql=replace(sql, ' MEMO TEXT COLLATE ', "
                         "' MEMO COLLATE ') WHERE type='table'"));
    c.run(QStringLiteral("PRAGMA schema_version=%1").arg(version + 1));
    c.run(QStringLiteral("PRAGMA writable_schema=OFF"));
    c.run(QStringLiteral("UPDATE 数据库版本 SET 版本=3"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--listings")));
    const int listings = at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : 100000;
    try {
        QTemporaryDir dir;
        DemoData::Options o;
        o.listings = listings;
        o.customers = listings;
        o.notes = 2 * listings;
        std::printf("making %d listings, %d customers, %d notes ...\n", o.listings, o.customers,
                    o.notes);
        DemoData::createDemoPair(dir.path(), o);
        const QString path = dir.filePath(QStringLiteral("fybase.mdb"));
        {
            auto c = openFile(path);
            addHistory(*c, 3 * listings);
            declareAsBefore(*c);
        }
        const double before = QFileInfo(path).size() / 1048576.0;
        auto c = openFile(path);
        QElapsedTimer t;
        t.start();
        const int found = SchemaUpgrade::upgrade(*c);
        const double took = t.nsecsElapsed() / 1e9;
        c.reset();
        std::printf("layout %d → %d: %.1f s; file %.0f MB before, %.0f MB after\n", found,
                    Schema::kLayoutVersion, took, before, QFileInfo(path).size() / 1048576.0);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
