// Statement texts written for the Jet engine: translated for each engine without
// touching values, and run unchanged against a real database.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/JetDialect.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Text.h"
#include "tests/support/TestSupport.h"

#include <QRegularExpression>

class TestDialect : public QObject
{
    Q_OBJECT

private slots:
    void translate_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("server");
        QTest::newRow("double-quoted literal") << "where 档案号<>\"\" "
                                               << "where 档案号<>'' "
                                               << "where 档案号<>'' ";
        QTest::newRow("literal with single quote") << "a=\"O'Neil\""
                                                   << "a='O''Neil'"
                                                   << "a='O''Neil'";
        QTest::newRow("doubled double quote") << "a=\"say \"\"hi\"\"\""
                                              << "a='say \"hi\"'"
                                              << "a='say \"hi\"'";
        QTest::newRow("single-quoted stays") << "a='x\"y'"
                                             << "a='x\"y'"
                                             << "a='x\"y'";
        QTest::newRow("delete star") << "DELETE * FROM 房屋信息Exp "
                                     << "DELETE FROM 房屋信息Exp "
                                     << "DELETE FROM 房屋信息Exp ";
        QTest::newRow("delete star lower") << "delete  *  from t"
                                           << "delete  from t"
                                           << "delete  from t";
        QTest::newRow("not null") << "where 户型<>null"
                                  << "where 户型 IS NOT NULL"
                                  << "where 户型 IS NOT NULL";
        QTest::newRow("not null spaced") << "where 户型 <> NULL"
                                         << "where 户型  IS NOT NULL"
                                         << "where 户型  IS NOT NULL";
        QTest::newRow("text plus") << "((小区名称+地址) like \"%a%\")"
                                   << "((小区名称||地址) like '%a%')"
                                   << "((小区名称||地址) ILIKE '%a%' ESCAPE '')";
        QTest::newRow("number plus") << "房屋面积+1>2"
                                     << "房屋面积+1>2"
                                     << "房屋面积+1>2";
        QTest::newRow("plus inside literal") << "a=\"小区名称+地址\""
                                             << "a='小区名称+地址'"
                                             << "a='小区名称+地址'";
        QTest::newRow("delete inside literal") << "a=\"DELETE * FROM x\""
                                               << "a='DELETE * FROM x'"
                                               << "a='DELETE * FROM x'";
        QTest::newRow("brackets") << "select [户型] from t"
                                  << "select \"户型\" from t"
                                  << "select \"户型\" from t";
        QTest::newRow("backslash in a pattern") << "地址 like '%a\\b%' and 地址='a\\b'"
                                                << "地址 like '%a\\b%' and 地址='a\\b'"
                                                << "地址 ILIKE '%a\\b%' ESCAPE '' and 地址='a\\b'";
        QTest::newRow("pattern in brackets, joined, or a name")
            << "a like ('%' + 地址) and b like 地址+'%' and c like 地址"
            << "a like ('%' || 地址) and b like 地址||'%' and c like 地址"
            << "a ILIKE ('%' || 地址) ESCAPE '' and b ILIKE 地址||'%' ESCAPE '' and c ILIKE 地址 "
               "ESCAPE ''";
        QTest::newRow("number column matched as text")
            << "房屋面积 like '%5%' and 房屋面积>'abc' and 房屋面积>='80'"
            << "房屋面积 like '%5%' and 房屋面积>'abc' and 房屋面积>='80'"
            << "CAST(房屋面积 AS text) ILIKE '%5%' ESCAPE '' and CAST(房屋面积 AS text)>'abc' and "
               "房屋面积>='80'";
        QTest::newRow("number against a text column") << "新旧程度>=5 and 5<地址"
                                                      << "新旧程度>=5 and 5<地址"
                                                      << "新旧程度>='5' and '5'<地址";
    }
    void translate()
    {
        QFETCH(QString, jet);
        QFETCH(QString, file);
        QFETCH(QString, server);
        const auto kind = [](const QString& c) {
            if (c == "小区名称" || c == "地址" || c == "新旧程度") return ColumnInfo::Text;
            if (c == "房屋面积") return ColumnInfo::Float;
            return ColumnInfo::Other;
        };
        QCOMPARE(JetDialect::translate(jet, engine::Flavor::SqlCipher, kind), file);
        QCOMPARE(JetDialect::translate(jet, engine::Flavor::Postgres, kind), server);
    }

    void quoting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("single quote") << "O'Neil";
        QTest::newRow("double quote") << "12\"寸";
        QTest::newRow("both") << "'\"'\"";
        QTest::newRow("statement break") << "x');DELETE FROM t;--";
    }
    // A typed value goes through the quoting helper and is stored and found literally,
    // between single quotes and between double quotes alike.
    void quoting()
    {
        QFETCH(QString, value);
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        Query q(&c);
        q.addSql("insert into 户型字典 values ('" + Text::quoted(value) + "')");
        q.execSql();
        q.close();
        q.clearSql();
        q.addSql("select * from 户型字典 ");
        q.addSql("where 户型= \"" + Text::quoted(value, '"') + "\"");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.text("户型"), value);
        q.close();
        q.clearSql();
        q.addSql("select * from 户型字典 where 户型='" + Text::quoted(value) + "'");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QVERIFY(db.scalar("select count(*) from 户型字典").toInt() > 1);
    }

    // Every statement form the windows rely on runs as written.
    void statementForms()
    {
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        auto exec = [&](const QStringList& lines) {
            Query q(&c);
            q.setSql(lines);
            q.execSql();
        };
        auto count = [&](const QStringList& lines) {
            Query q(&c);
            q.setSql(lines);
            q.open();
            return q.recordCount();
        };
        exec({"insert into 房屋信息 "
              "(档案号,小区名称,地址,公司编号,录入日期,序号,类型,房屋面积,信息价格) "
              "values "
              "(\"001261201001\",\"阳光\",\"花园路1号\",\"001\",\"261201\",\"001\",\"有效\",80,"
              "500000)"});
        exec({"insert into 房屋信息 "
              "(档案号,小区名称,地址,公司编号,录入日期,序号,类型,房屋面积,信息价格) "
              "values ('001261215002','翠湖',null,'001','261215','002','无效',120,900000)"});
        QCOMPARE(count({"select * from 房屋信息 ", "where 档案号<>\"\" ",
                        "and 录入日期>=\"261201\" ", "and 录入日期<=\"261209\" "}),
                 1);
        QCOMPARE(count({"select distinct 类型 from 房屋信息", "where 类型<>null"}), 2);
        {
            Query q(&c);
            q.setSql({"select max(序号) as xh from 房屋信息 ", "where 公司编号=\"001\" ",
                      "and 录入日期=\"261215\""});
            q.open();
            QCOMPARE(q.text("xh"), QStringLiteral("002"));
        }
        // Texts compare without letter case, as Jet does.
        exec({"insert into 户型字典 values ('Loft')"});
        QCOMPARE(count({"select * from 户型字典 where 户型='LOFT'"}), 1);
        QCOMPARE(count({"select * from 户型字典 where 户型 like '%OF%'"}), 1);
        // "+" joins the two texts; a null part makes the whole null, so it never matches.
        QCOMPARE(count({"select * from 房屋信息 ", "where ((小区名称+地址) like \"%光花%\") "}), 1);
        QCOMPARE(count({"select * from 房屋信息 where ((小区名称+地址) like \"%翠湖%\") "}), 0);
        QCOMPARE(count({"select * from 房屋信息 where 房屋面积>=100 and 信息价格<=900000"}), 1);
        QCOMPARE(count({"select * from 房屋信息 where 新旧程度>='5'"}), 0);
        exec({" UPDATE 操作员档案 SET 功能组='#',登录密码='#',操作人员='否' WHERE "
              "员工编号='admin' "});
        QCOMPARE(db.scalar("select 功能组 || 登录密码 || 操作人员 from 操作员档案").toString(),
                 QStringLiteral("##否"));
        exec({"DELETE * FROM 房屋信息 "});
        QCOMPARE(db.scalar("select count(*) from 房屋信息").toInt(), 0);
    }

    void textComparesWithoutCase_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("=") << "户型='LOFT'" << QStringList{"Loft"};
        QTest::newRow("<>") << "户型<>'LOFT' and 户型 like 'L%'" << QStringList{"lab"};
        QTest::newRow("like") << "户型 like '%OF%'" << QStringList{"Loft"};
        QTest::newRow("like on joined texts") << "(户型+'x') like '%FTX%'" << QStringList{"Loft"};
        QTest::newRow("range") << "户型>='LA' and 户型<'LP'" << QStringList{"lab", "Loft"};
        QTest::newRow("backslash literally") << "户型 like 'A\\%'" << QStringList{"a\\b"};
    }
    // Letters compare without case on every engine, in where clauses, order and keys.
    void textComparesWithoutCase()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, found);
        TestDb db;
        db.exec("DELETE * FROM 户型字典");
        for (const char* v : {"Loft", "lab", "a\\b", "室"})
            db.exec(QStringLiteral("insert into 户型字典 values ('%1')").arg(QString::fromUtf8(v)));
        QStringList got;
        for (const QVariantList& r :
             db.rows("select 户型 from 户型字典 where " + where + " order by 户型"))
            got << r.value(0).toString();
        QCOMPARE(got, found);
    }

    void likePatternsAlike_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("backslash inside") << "a\\b" << QStringList{"a\\b"};
        QTest::newRow("backslash alone") << "\\" << QStringList{"a\\\\b", "a\\b", "x\\"};
        QTest::newRow("backslash last") << "x\\" << QStringList{"x\\"};
        QTest::newRow("backslash before %") << "\\%" << QStringList{"a\\\\b", "a\\b", "x\\"};
        QTest::newRow("backslash before _") << "\\_" << QStringList{"a\\\\b", "a\\b"};
        QTest::newRow("% typed stays a wildcard") << "5%折" << QStringList{"50%折", "5折"};
        QTest::newRow("_ typed is one character") << "a_b" << QStringList{"a\\b", "a_b", "axb"};
        QTest::newRow("letters without case") << "A\\B" << QStringList{"a\\b"};
        QTest::newRow("single quote") << "O'N" << QStringList{"O'Neil"};
        QTest::newRow("double quote") << "12\"" << QStringList{"12\"寸"};
    }
    // A typed search text finds the same rows on both engines, in both quote forms
    // the windows use, on a column and on two joined columns: a backslash is a
    // backslash (the file's like has no escape character), % and _ stay wildcards.
    void likePatternsAlike()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        TestDb db;
        for (const char* v :
             {"a\\b", "ab", "x\\", "50%折", "5折", "O'Neil", "12\"寸", "a_b", "axb", "a\\\\b"})
            db.exec(
                QStringLiteral("insert into 房屋信息 (档案号, 小区名称, 地址) values (%1, %1, '')")
                    .arg(Text::literal(QString::fromUtf8(v))));
        const QStringList forms = {
            "小区名称 like '%" + Text::quoted(typed) + "%'",
            "((小区名称+地址) like \"%" + Text::quoted(typed, '"') + "%\")",
        };
        for (const QString& where : forms) {
            QStringList got;
            for (const QVariantList& r :
                 db.rows("select 档案号 from 房屋信息 where " + where + " order by 档案号"))
                got << r.value(0).toString();
            QCOMPARE(got, found);
        }
    }

    void controlCharacters_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("NUL") << QStringLiteral("花园") + QChar(0) + QStringLiteral("路");
        QTest::newRow("NUL last") << QStringLiteral("花园路") + QChar(0);
        QTest::newRow("tab and line feed") << QStringLiteral("花园\t路\n");
        QTest::newRow("unit separator")
            << QStringLiteral("花") + QChar(0x1F) + QStringLiteral("园路");
        QTest::newRow("DEL and NEL")
            << QStringLiteral("花园") + QChar(0x7F) + QChar(0x85) + QStringLiteral("路");
    }
    // A control character pasted into a search never reaches a statement: it is
    // dropped where values are quoted and where a row set stores a value, so the
    // search and the stored text agree on both engines, and no engine error shows.
    void controlCharacters()
    {
        QFETCH(QString, pasted);
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        Query row(&c);
        row.addSql("select * from 房屋信息 where 档案号=''");
        row.open();
        row.append();
        row.setValue("档案号", "001261201001");
        row.setValue("地址", pasted);
        row.setValue("备注", pasted);
        row.post();
        QCOMPARE(db.scalar("select 地址 from 房屋信息").toString(), QStringLiteral("花园路"));
        QString memo = pasted;
        memo.remove(QRegularExpression("[^\\t\\n\\r\\x{20}-\\x{7E}\\x{A0}-\\x{FFFF}]"));
        QCOMPARE(db.scalar("select 备注 from 房屋信息").toString(), memo);
        for (const QString& where : {"地址 like \"%" + Text::quoted(pasted, '"') + "%\"",
                                     "地址='" + Text::quoted(pasted) + "'",
                                     "(小区名称+地址) like '%" + Text::quoted(pasted) +
                                         "%' or 地址=" + Text::literal(pasted)}) {
            QVERIFY(!where.contains(QChar(0)));
            Query q(&c);
            q.addSql("select * from 房屋信息 ");
            q.addSql("where " + where);
            q.open();
            QVERIFY2(q.recordCount() == 1, qPrintable(where));
        }
    }

    void widthsInCodePoints_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("CJK") << QStringLiteral("室");
        QTest::newRow("rare CJK of a supplementary plane") << QString::fromUcs4(U"\U00020BB7");
        QTest::newRow("emoji") << QString::fromUcs4(U"\U0001F3E0");
    }
    // A column of width n holds n characters of any plane, on both engines, through
    // the row set and through a statement; one more is refused in the same words.
    void widthsInCodePoints()
    {
        QFETCH(QString, character);
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        const QString ten = character.repeated(10), eleven = character.repeated(11);
        Query row(&c);
        row.addSql("select * from 客户信息 where 档案号=''");
        row.open();
        row.append();
        row.setValue("档案号", "001261201001");
        row.setValue("客户姓名", ten);
        row.post();
        QCOMPARE(db.scalar("select 客户姓名 from 客户信息").toString(), ten);
        row.edit();
        row.setValue("客户姓名", eleven);
        QVERIFY_THROWS_EXCEPTION(DbError, row.post());
        row.cancel();
        try {
            c.execute("update 客户信息 set 客户姓名=" + Text::literal(eleven));
            QFAIL("an eleventh character was stored");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), Schema::tooLongText("客户姓名", 10));
        }
        QCOMPARE(db.scalar("select 客户姓名 from 客户信息").toString(), ten);
    }

    void orderAndKeysWithoutCase()
    {
        TestDb db;
        db.exec("DELETE * FROM 户型字典");
        for (const char* v : {"b", "A", "室", "B", "a"})
            db.exec(QStringLiteral("insert into 户型字典 values ('%1')").arg(v));
        QStringList folded;
        for (const QVariantList& r : db.rows("select 户型 from 户型字典 order by 户型"))
            folded << r.value(0).toString().toLower();
        QCOMPARE(folded, (QStringList{"a", "a", "b", "b", "室"}));
        // A unique key takes a value once, whatever the letters' case.
        QVERIFY_THROWS_EXCEPTION(
            DbError, db.exec("insert into 操作员档案 (员工编号, 操作人员) values ('ADMIN', '否')"));
        QCOMPARE(db.scalar("select count(*) from 操作员档案").toInt(), 1);
    }

    void overLongValueRefused()
    {
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        Query q(&c);
        // Refused by the engine in the words the row set uses before it writes.
        const auto refusal = [&](const QString& sql) {
            q.clearSql();
            q.addSql(sql);
            try {
                q.execSql();
            } catch (const DbError& e) {
                return e.text();
            }
            return QStringLiteral("(accepted)");
        };
        QCOMPARE(refusal("insert into 公司信息 (公司代码) values ('ABCD')"),
                 QStringLiteral("“公司代码”最多只能有 3 个字符，输入的内容太长。"));
        QCOMPARE(refusal("UPDATE 操作员档案 SET 登录密码='12345678901' WHERE 员工编号='admin'"),
                 QStringLiteral("“登录密码”最多只能有 10 个字符，输入的内容太长。"));
        // Exactly the width, in Chinese characters, is accepted; never cut.
        q.clearSql();
        q.addSql("insert into 户型字典 values ('" + QString(20, QChar(0x5BA4)) + "')");
        q.execSql();
        QCOMPARE(refusal("insert into 户型字典 values ('" + QString(21, QChar(0x5BA4)) + "')"),
                 QStringLiteral("“户型”最多只能有 20 个字符，输入的内容太长。"));
        QCOMPARE(db.scalar("select max(length(户型)) from 户型字典").toInt(), 20);
        // A float column takes no text.
        q.clearSql();
        q.addSql("insert into 房屋信息 (档案号, 房屋面积) values ('x', 'abc')");
        QVERIFY_THROWS_EXCEPTION(DbError, q.execSql());
    }

    void oneStatementPerQuery()
    {
        TestDb db;
        Connection c(DbKind::Main);
        c.setDatabase(db.mainPath(), Schema::mainPassword());
        c.open();
        Query q(&c);
        q.addSql("delete from 户型字典; delete from 楼层字典");
        QVERIFY_THROWS_EXCEPTION(DbError, q.execSql());
        QVERIFY(db.scalar("select count(*) from 户型字典").toInt() > 0);
    }
};

HALVORRA_TEST_MAIN(TestDialect)
#include "tst_dialect.moc"
