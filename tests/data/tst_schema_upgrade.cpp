// The layout upgrade at login: a database of layout 1 (as halvorra-db create and
// demo made them before databases carried a layout; built here from the frozen
// statements in layout1/, or the demo file that tool made) gains the record tables
// and the indexes, keeps every row and ends up laid out like a new database; a
// failing step leaves it as it was; a newer database is refused untouched.
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/DbError.h"
#include "data/Dialect.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "tests/support/TestSupport.h"
#include "tools/lib/DemoData.h"

#include <QFile>

namespace
{

QString password()
{
    return QString::fromLatin1(Schema::mainPassword());
}

QString frozen(const QString& name)
{
    QFile f(testInput(QStringLiteral("layout1/") + name));
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing test input layout1/%s", qPrintable(name));
    return QString::fromUtf8(f.readAll());
}

// A main database of layout 1 made from the frozen statements (without the two
// matching indexes, as before matching, when `matching` is false); on a new server
// database or in a new file in the test's folder.
QString layoutOne(TestDb& db, const QString& name, bool matching)
{
    const bool server = TestDb::onServer();
    const QString where = server ? db.newServerDatabase() : db.dir() + QLatin1Char('/') + name;
    QString sql = frozen(server ? QStringLiteral("server.sql") : QStringLiteral("file.sql"));
    if (!matching) {
        QStringList kept;
        for (const QString& s : sql.split(QStringLiteral(";\n")))
            if (!s.contains(QStringLiteral("_匹配"))) kept << s;
        sql = kept.join(QStringLiteral(";\n"));
    }
    Connection c(DbKind::Main);
    c.setDatabase(where, server ? QString() : password());
    c.openRaw();
    Connection::Transaction t(c);
    c.run(sql);
    t.commit();
    return where;
}

// Tables with their columns (name, kind, width) and the indexes, as text.
QStringList layoutOf(const QString& location)
{
    auto c = openMain(location);
    QStringList out;
    for (const QString& name : c->tableNames()) {
        QStringList cols;
        for (const ColumnInfo& col : c->table(name)->columns)
            cols << QStringLiteral("%1:%2:%3").arg(col.name).arg(col.type).arg(col.maxLength);
        out << name + QLatin1Char('(') + cols.join(',') + QLatin1Char(')');
    }
    Statement st(*c, TestDb::onServer()
                         ? QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = "
                                          "current_schema()")
                         : QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND "
                                          "sql IS NOT NULL"));
    while (st.step())
        out << QStringLiteral("index ") + st.value(0).toString();
    out.sort();
    return out;
}

// What can tell whether a database was changed: a file's bytes, or a server
// database's layout and rows.
QVariant state(const QString& location)
{
    if (!TestDb::onServer()) return fileHash(location);
    return QVariantList{layoutOf(location), QVariant::fromValue(everyRow(location).size())};
}

} // namespace

class TestSchemaUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void upgradeKeepsEveryRow_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<int>("listings");
        QTest::addColumn<int>("customers");
        QTest::newRow("halvorra-db create") << "create" << 0 << 0;
        QTest::newRow("halvorra-db demo") << "create" << 120 << 80;
        QTest::newRow("before the matching indexes") << "no matching" << 60 << 40;
        QTest::newRow("demo file made by the tool") << "demo.mdb" << 0 << 0;
    }
    void upgradeKeepsEveryRow()
    {
        QFETCH(QString, made);
        QFETCH(int, listings);
        QFETCH(int, customers);
        TestDb db;
        QString where;
        if (made == QLatin1String("demo.mdb")) {
            FILES_ONLY();
            where = db.dir() + QStringLiteral("/old.mdb");
            QVERIFY(QFile::copy(testInput("layout1/demo.mdb"), where));
            QFile::setPermissions(where, QFile::ReadOwner | QFile::WriteOwner);
        } else {
            where = layoutOne(db, QStringLiteral("old.mdb"), made == QLatin1String("create"));
        }
        if (listings + customers > 0) {
            DemoData::Options o;
            o.listings = listings;
            o.customers = customers;
            o.notes = 0; // layout 1 has no notes
            DemoData::fill(where, o);
        }
        const QList<QVariantList> before = everyRow(where);
        QVERIFY(before.size() >= 10 + listings + customers);

        // Two workstations log in: the first upgrades, the second finds it done.
        auto first = openMain(where), second = openMain(where);
        QCOMPARE(SchemaUpgrade::version(*first), 1);
        QCOMPARE(SchemaUpgrade::upgrade(*first), 1);
        QCOMPARE(SchemaUpgrade::version(*first), Schema::kLayoutVersion);
        QCOMPARE(SchemaUpgrade::upgrade(*second), Schema::kLayoutVersion);
        QVERIFY(second->table(QStringLiteral("跟进记录")));
        QVERIFY(second->table(QStringLiteral("下次跟进")));
        first.reset();
        second.reset();

        QCOMPARE(everyRow(where), before);
        QCOMPARE(layoutOf(where), layoutOf(db.mainPath()));
        QVERIFY(layoutOf(where).contains(QStringLiteral("index 房屋信息_匹配")));
        QVERIFY(db.isSound());
    }

    // A step that fails (a name the upgrade needs is taken) takes back the whole
    // upgrade; once the name is free the upgrade goes through.
    void failingStepChangesNothing()
    {
        TestDb db;
        const QString where = layoutOne(db, QStringLiteral("old.mdb"), false);
        DemoData::Options o;
        o.listings = 30;
        o.customers = 20;
        o.notes = 0;
        DemoData::fill(where, o);
        {
            Connection raw(DbKind::Main);
            raw.setDatabase(where, TestDb::onServer() ? QString() : password());
            raw.openRaw();
            raw.run(QStringLiteral("CREATE TABLE 跟进记录_客户档案号 (x integer)"));
        }
        const QStringList layout = layoutOf(where);
        const QList<QVariantList> rows = everyRow(where);
        auto c = openMain(where);
        QVERIFY(!errorText([&] { SchemaUpgrade::upgrade(*c); }).isEmpty());
        QCOMPARE(SchemaUpgrade::version(*c), 1);
        QVERIFY(!c->table(QStringLiteral("修改记录")));
        QCOMPARE(layoutOf(where), layout);
        QCOMPARE(everyRow(where), rows);

        c->run(QStringLiteral("DROP TABLE 跟进记录_客户档案号"));
        QCOMPARE(SchemaUpgrade::upgrade(*c), 1);
        QCOMPARE(everyRow(where), rows);
    }

    // Memo columns keep what was typed, as text, in every table that has them: in a
    // new database, and in one of the first layout that stored "0571888" typed
    // before the upgrade as a number (its text afterwards; the zero was lost then).
    void memoKeepsWhatWasTyped_data()
    {
        QTest::addColumn<bool>("upgraded");
        QTest::newRow("new database") << false;
        QTest::newRow("upgraded from layout 1") << true;
    }
    void memoKeepsWhatWasTyped()
    {
        QFETCH(bool, upgraded);
        TestDb db;
        QString where = db.mainPath();
        if (upgraded) {
            where = layoutOne(db, QStringLiteral("old.mdb"), true);
            auto old = openMain(where);
            old->run(QStringLiteral("INSERT INTO 房屋信息 (档案号, 备注) VALUES ('001261203001', "
                                    "'0571888')"));
            // A copy of it reads the number as the text it shows.
            const QString copy = db.dir() + QStringLiteral("/copy.mdb");
            DatabaseCopy::copy(where, copy);
            auto copied = openMain(copy);
            Statement st(*copied, QStringLiteral("SELECT 备注 FROM 房屋信息"));
            QVERIFY(st.step());
            QCOMPARE(st.value(0), QVariant(TestDb::onServer() ? QStringLiteral("0571888")
                                                              : QStringLiteral("571888")));
            QCOMPARE(SchemaUpgrade::upgrade(*old), 1);
        }
        auto c = openMain(where);
        QVariant before;
        {
            Statement st(*c, QStringLiteral("SELECT 备注 FROM 房屋信息"));
            if (st.step()) before = st.value(0);
        }
        if (upgraded) QCOMPARE(before.typeId(), QMetaType::QString);
        if (upgraded)
            QCOMPARE(before.toString(),
                     TestDb::onServer() ? QStringLiteral("0571888") : QStringLiteral("571888"));

        const QStringList typed = {"0571888", "1.50", "1e3", " 12", "-0", "0x1F"};
        QStringList columns;
        for (const QString& table : c->tableNames()) {
            for (const ColumnInfo& col : c->table(table)->columns) {
                if (col.type != ColumnInfo::Memo) continue;
                columns << table + QLatin1Char('.') + col.name;
                const QString name = Dialect::identifier(col.name);
                c->run(QStringLiteral("DELETE FROM %1").arg(Dialect::identifier(table)));
                Statement ins(*c, QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                                      .arg(Dialect::identifier(table), name));
                for (const QString& v : typed) {
                    ins.bind(1, v);
                    ins.step();
                    ins.reset();
                }
                QStringList back;
                Statement st(
                    *c, QStringLiteral("SELECT %1 FROM %2").arg(name, Dialect::identifier(table)));
                while (st.step()) {
                    QVERIFY2(st.value(0).typeId() == QMetaType::QString,
                             qPrintable(table + QLatin1Char('.') + col.name));
                    back << st.value(0).toString();
                }
                back.sort();
                QStringList expected = typed;
                expected.sort();
                QCOMPARE(back, expected);
            }
        }
        for (const char* known :
             {"房屋信息.备注", "房屋信息.看房情况", "客户信息.需求设施", "修改记录.旧值",
              "修改记录.新值", "回收站.内容", "跟进记录.内容", "成交记录.备注"})
            QVERIFY2(columns.contains(QString::fromUtf8(known)), known);
    }

    // A database of a newer layout: the login's check and upgrade and a copy from
    // it refuse it with a clear text and leave it as it was.
    void newerLayoutIsRefusedUntouched()
    {
        TestDb db;
        db.exec(QStringLiteral("update 数据库版本 set 版本=%1").arg(Schema::kLayoutVersion + 1));
        const QVariant before = state(db.mainPath());
        const QString expected = SchemaUpgrade::newerText(Schema::kLayoutVersion + 1);
        QVERIFY(expected.contains(QStringLiteral("新版本")));
        auto c = openMain(db.mainPath());
        QCOMPARE(errorText([&] { SchemaUpgrade::requireKnown(*c); }), expected);
        QCOMPARE(errorText([&] { SchemaUpgrade::upgrade(*c); }), expected);
        c.reset();
        const QString copy = db.dir() + QStringLiteral("/copy.mdb");
        QCOMPARE(errorText([&] { DatabaseCopy::copy(db.mainPath(), copy); }), expected);
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(state(db.mainPath()), before);
    }
};

HALVORRA_TEST_MAIN(TestSchemaUpgrade)
#include "tst_schema_upgrade.moc"
