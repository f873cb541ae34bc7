// Passwords kept as hashes: the hash itself (odd passwords, damaged hashes), the
// upgrade of a database of the old layout (no plain password left in the file,
// free pages included), the lock after wrong passwords as two workstations see
// it, the login attempt and its log, and the copy of an old database.
#include "app/core/LoginCheck.h"
#include "data/Connection.h"
#include "data/DatabaseCopy.h"
#include "data/PasswordHash.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/SecurityTables.h"
#include "data/ServerCheck.h"
#include "data/Text.h"
#include "security/core/LoginGuard.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <openssl/evp.h>

namespace
{

// The old layout's operators and their plain passwords (tests/data/layout2, made
// by scripts/make-layout2-testdb.sh), with whether each must choose a new one.
struct OldOperator {
    const char* number;
    const char* password;
    bool mustChange;
};
const OldOperator kOld[] = {
    {"admin", "admin", true},        {"10001", "10001", true},       {"10002", "Q'u o\"te9", false},
    {"10003", "密码钥匙🔑x7", false}, {"10004", "ZhaoLiu#42", false},
};

// Every page of a keyed file decrypted (page size 1024, 48 reserved bytes at the
// end of each page holding the IV and the MAC, the salt in front of page 1).
QByteArray decrypted(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray d = f.readAll();
    const QByteArray pass(Schema::mainPassword());
    unsigned char key[32];
    PKCS5_PBKDF2_HMAC_SHA1(pass.constData(), int(pass.size()),
                           reinterpret_cast<const unsigned char*>(d.constData()), 16, 64000, 32,
                           key);
    const int page = 1024, reserve = 48;
    QByteArray out;
    for (qsizetype at = 0; at + page <= d.size(); at += page) {
        const auto* pg = reinterpret_cast<const unsigned char*>(d.constData() + at);
        const int skip = at == 0 ? 16 : 0;
        EVP_CIPHER_CTX* c = EVP_CIPHER_CTX_new();
        EVP_DecryptInit_ex(c, EVP_aes_256_cbc(), nullptr, key, pg + page - reserve);
        EVP_CIPHER_CTX_set_padding(c, 0);
        QByteArray plain(page, '\0');
        int n = 0;
        EVP_DecryptUpdate(c, reinterpret_cast<unsigned char*>(plain.data()), &n, pg + skip,
                          page - reserve - skip);
        EVP_CIPHER_CTX_free(c);
        out += plain.left(n);
    }
    return out;
}

// The plain passwords of the old database found in `bytes`.
QStringList passwordsIn(const QByteArray& bytes, bool withSpilled)
{
    QStringList found;
    for (const OldOperator& o : kOld)
        if (QByteArray(o.password) != QByteArray(o.number) && bytes.contains(o.password))
            found << QString::fromUtf8(o.password);
    if (withSpilled)
        for (int i = 100; i < 400; ++i)
            if (bytes.contains(QStringLiteral("Spill%1").arg(i).toUtf8()))
                found << QStringLiteral("Spill%1").arg(i);
    return found;
}

QDateTime at(int minutes, int seconds = 0)
{
    return QDateTime(QDate(2026, 3, 2), QTime(9, 0)).addSecs(minutes * 60 + seconds);
}

void storeOperator(Connection& c, const QString& number, const QString& password)
{
    c.run(
        QStringLiteral("INSERT INTO 操作员档案 (员工编号, 员工姓名, 操作人员, 功能组) VALUES (%1, "
                       "'张三', '是', '普通操作员')")
            .arg(Text::literal(number)));
    OperatorPasswords::store(c, number, password, false);
}

} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT

private slots:
    void hashAndVerify_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("other");
        QTest::newRow("quotes") << "a'b\"c;--"
                                << "a'b\"c;-";
        QTest::newRow("blanks inside") << "pass word  x"
                                       << "pass word x";
        QTest::newRow("chinese") << "房源密码"
                                 << "房源密玛";
        QTest::newRow("emoji") << "🔑🏠x"
                               << "🔑🏡x";
        QTest::newRow("letter case") << "Secret"
                                     << "secret";
        QTest::newRow("200 characters")
            << QString(199, QChar(0x5BC6)) + "!" << QString(199, QChar(0x5BC6)) + "?";
    }
    void hashAndVerify()
    {
        QFETCH(QString, password);
        QFETCH(QString, other);
        const QString h = PasswordHash::make(password);
        QVERIFY(h.startsWith("$argon2id$v=19$"));
        QVERIFY(!h.contains(password));
        QVERIFY(h.size() < 200); // fits its column
        QCOMPARE(PasswordHash::verify(h, password), PasswordHash::Check::Match);
        QCOMPARE(PasswordHash::verify(h, other), PasswordHash::Check::Mismatch);
        // A fresh salt each time.
        QVERIFY(PasswordHash::make(password) != h);
        QVERIFY(!PasswordHash::isOutdated(h));
    }

    void damagedHashes_data()
    {
        const QString good = PasswordHash::make("secret");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        const int damaged = int(PasswordHash::Check::Damaged);
        QTest::newRow("empty") << "" << damaged;
        QTest::newRow("plain text") << "secret" << damaged;
        QTest::newRow("cut short") << good.left(good.size() - 10) << damaged;
        QTest::newRow("another variant") << QString(good).replace("argon2id", "argon2i") << damaged;
        QTest::newRow("absurd memory")
            << QString(good).replace(QRegularExpression("m=\\d+"), "m=4000000000") << damaged;
        QTest::newRow("absurd passes")
            << QString(good).replace(QRegularExpression("t=\\d+"), "t=100000") << damaged;
        QTest::newRow("a character changed")
            << QString(good).replace(good.size() - 3, 1, "#") << damaged;
        QTest::newRow("hash bytes changed")
            << good.left(good.size() - 2) + (good.endsWith("AA") ? "BA" : "AA")
            << int(PasswordHash::Check::Mismatch);
        QTest::newRow("older parameters still verify")
            << QString(good).replace(QRegularExpression("t=\\d+"), "t=1")
            << int(PasswordHash::Check::Mismatch);
    }
    void damagedHashes()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        QCOMPARE(int(PasswordHash::verify(stored, "secret")), expected);
    }

    // The frozen file of the old layout holds its passwords in its rows and, of
    // operators deleted long ago, in its free pages. After the upgrade the file
    // holds none of them anywhere, and every operator logs in with his password.
    void upgradeLeavesNoPlainPassword()
    {
        FILES_ONLY();
        TestDb db;
        const QString where = db.dir() + QStringLiteral("/old.mdb");
        QVERIFY(QFile::copy(testInput("layout2/operators.mdb"), where));
        QFile::setPermissions(where, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray before = decrypted(where);
        QVERIFY(before.contains("CREATE TABLE")); // the decryption itself works
        QCOMPARE(passwordsIn(before, true).size(), 3 + 300);

        {
            auto c = openMain(where);
            QCOMPARE(SchemaUpgrade::version(*c), 2);
            QCOMPARE(SchemaUpgrade::upgrade(*c), 2);
        }
        const QByteArray after = decrypted(where);
        QVERIFY(after.contains("CREATE TABLE"));
        QCOMPARE(passwordsIn(after, true), QStringList());

        auto c = openMain(where);
        for (const OldOperator& o : kOld) {
            const OperatorPasswords::Stored s = OperatorPasswords::read(*c, o.number);
            QVERIFY2(s.found, o.number);
            QCOMPARE(PasswordHash::verify(s.hash, QString::fromUtf8(o.password)),
                     PasswordHash::Check::Match);
            QCOMPARE(s.mustChange, o.mustChange);
        }
        Statement st(*c,
                     QStringLiteral("SELECT 员工编号, 登录密码 FROM 操作员档案 ORDER BY 员工编号"));
        QStringList marks;
        while (st.step())
            marks << st.value(0).toString() + "=" + st.value(1).toString();
        QCOMPARE(marks, QStringList({"10001=******", "10002=******", "10003=******", "10004=******",
                                     "10005=#", "admin=******"}));
        QVERIFY(c->isSound());
    }

    // The same on a server: the table's file holds no old row version after the
    // upgrade.
    void upgradeOnServer()
    {
        SERVER_ONLY();
        TestDb db;
        const QString where = db.newServerDatabase();
        {
            QFile sql(testInput("layout1/server.sql"));
            QVERIFY(sql.open(QIODevice::ReadOnly));
            Connection c(DbKind::Main);
            c.setDatabase(where, QString());
            c.openRaw();
            Connection::Transaction t(c);
            c.run(QString::fromUtf8(sql.readAll()));
            c.run("INSERT INTO 操作员档案 VALUES "
                  "('10004','赵六','','','ZhaoLiu#42','是','普通操作员')");
            c.run("INSERT INTO 操作员档案 VALUES "
                  "('10003','王五','','','密码钥匙🔑x7','是','普通操作员')");
            t.commit();
        }
        auto c = openMain(where);
        QCOMPARE(SchemaUpgrade::upgrade(*c), 1);
        c->run("CHECKPOINT");
        Statement st(*c, "SELECT current_setting('data_directory') || '/' || "
                         "pg_relation_filepath('操作员档案')");
        QVERIFY(st.step());
        QFile heap(st.value(0).toString());
        QVERIFY2(heap.open(QIODevice::ReadOnly), qPrintable(heap.fileName()));
        const QByteArray bytes = heap.readAll();
        QVERIFY(bytes.contains("赵六")); // the right file
        QCOMPARE(passwordsIn(bytes, false), QStringList());
        QCOMPARE(PasswordHash::verify(OperatorPasswords::read(*c, "10003").hash, "密码钥匙🔑x7"),
                 PasswordHash::Check::Match);
    }

    // Wrong passwords within the window lock the number; older ones, a success
    // or an unlock in between do not count.
    void lockAfterFiveWrong_data()
    {
        QTest::addColumn<QList<int>>("failures"); // minutes after 9:00
        QTest::addColumn<int>("successAfter");    // index after which a success comes; -1 none
        QTest::addColumn<bool>("locked");
        QTest::newRow("five within the window") << QList<int>{0, 1, 2, 3, 14} << -1 << true;
        QTest::newRow("four") << QList<int>{0, 1, 2, 3} << -1 << false;
        QTest::newRow("first one too old") << QList<int>{0, 5, 6, 7, 15} << -1 << false;
        QTest::newRow("success in between") << QList<int>{0, 1, 2, 3, 4} << 1 << false;
        QTest::newRow("six, a success before") << QList<int>{0, 1, 2, 3, 4, 5} << 0 << true;
    }
    void lockAfterFiveWrong()
    {
        QFETCH(QList<int>, failures);
        QFETCH(int, successAfter);
        QFETCH(bool, locked);
        TestDb db;
        auto a = openMain(db.mainPath()), b = openMain(db.mainPath());
        LoginGuard::Lock last;
        for (int i = 0; i < failures.size(); ++i) {
            // The workstations take turns.
            last = LoginGuard::failed(i % 2 ? *b : *a, "00007", "ws", at(failures[i]));
            if (i == successAfter)
                LoginGuard::record(*a, "00007", "ws", LoginGuard::Event::Success,
                                   at(failures[i], 1));
        }
        QCOMPARE(last.locked, locked);
        const QDateTime now = at(failures.last(), 1);
        QCOMPARE(LoginGuard::lockOf(*a, "00007", now).locked, locked);
        QCOMPARE(LoginGuard::lockOf(*b, "00007", now).locked, locked);
        // Other numbers are not touched.
        QVERIFY(!LoginGuard::lockOf(*b, "00008", now).locked);
        if (locked) QCOMPARE(last.until, at(failures.last() + 15));
    }

    // The whole login attempt on two connections: the lock one workstation caused
    // refuses even the right password on the other, ends after 15 minutes or when
    // a system administrator lifts it, and every attempt is in the log.
    void loginAttemptsAndLog()
    {
        TestDb db;
        auto a = openMain(db.mainPath()), b = openMain(db.mainPath());
        storeOperator(*a, "00007", "right-pw");
        Query qa(a.get()), qb(b.get());
        GTMYhxx user;
        using A = LoginCheck::Attempt;
        for (int i = 0; i < 4; ++i)
            QCOMPARE(LoginCheck::attempt(qa, "00007", "wrong", "A", user, at(i)).result, A::Wrong);
        const A fifth = LoginCheck::attempt(qb, "00007", "wrong", "B", user, at(4));
        QCOMPARE(fifth.result, A::Locked);
        QCOMPARE(fifth.lockedUntil, at(19));
        QCOMPARE(LoginCheck::attempt(qa, "00007", "right-pw", "A", user, at(5)).result, A::Locked);
        QVERIFY(user.YGBH.isEmpty());
        // Ended by time.
        QCOMPARE(LoginCheck::attempt(qb, "00007", "right-pw", "B", user, at(19, 1)).result, A::Ok);
        QCOMPARE(user.YGBH, QStringLiteral("00007"));
        QCOMPARE(PasswordHash::verify(user.YGMM, "right-pw"), PasswordHash::Check::Match);
        // Locked again and lifted by the administrator.
        for (int i = 0; i < 5; ++i)
            LoginCheck::attempt(qa, "00007", "wrong", "A", user, at(20 + i));
        QVERIFY(LoginGuard::lockOf(*b, "00007", at(26)).locked);
        LoginGuard::unlock(*b, "00007", "admin", "B", at(26));
        QCOMPARE(LoginCheck::attempt(qa, "00007", "right-pw", "A", user, at(27)).result, A::Ok);

        const QList<QVariantList> log = LoginGuard::log(*b);
        QStringList events;
        for (const QVariantList& r : log)
            events << r.value(4).toString();
        QCOMPARE(events.size(), 4 + 2 + 1 + 1 + 5 + 1 + 1 + 1);
        QCOMPARE(events.first(), LoginGuard::Event::Success);
        QCOMPARE(log.first().value(2).toString(), QStringLiteral("张三")); // the name joined in
        QCOMPARE(events.at(1), LoginGuard::Event::Unlocked);
        QCOMPARE(log.at(1).value(5).toString(), QStringLiteral("admin"));
        QCOMPARE(events.count(LoginGuard::Event::Locking), 2);
        QCOMPARE(events.count(LoginGuard::Event::WhileLocked), 1);
        QCOMPARE(log.last().value(3).toString(), QStringLiteral("A"));
        // No password reached the log.
        for (const QVariantList& r : log)
            for (const QVariant& v : r)
                QVERIFY(!v.toString().contains("pw"));
    }

    // A clock set back during a lock: the lock ends no later than one lock
    // period after the clock was first seen set back.
    void clockSetBack()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        for (int i = 0; i < 5; ++i)
            LoginGuard::failed(*c, "00007", "ws", at(i));
        const QDateTime back = at(2 - 120); // two hours back
        const LoginGuard::Lock l = LoginGuard::lockOf(*c, "00007", back);
        QVERIFY(l.locked);
        QVERIFY(l.until <= back.addSecs(15 * 60));
        QVERIFY(LoginGuard::lockOf(*c, "00007", back.addSecs(14 * 60)).locked);
        QVERIFY(!LoginGuard::lockOf(*c, "00007", back.addSecs(15 * 60 + 1)).locked);
    }

    // A hash damaged by hand refuses that operator with its own result (and
    // counts nothing towards a lock); others still log in.
    void damagedHashRefusesOperator()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        storeOperator(*c, "00007", "right-pw");
        storeOperator(*c, "00008", "other-pw");
        c->run(
            "UPDATE 操作员密码 SET 密码散列 = '$argon2id$v=19$m=99999999999,t=1,p=1$xx$yy' WHERE "
            "员工编号 = '00007'");
        Query q(c.get());
        GTMYhxx user;
        for (int i = 0; i < 6; ++i)
            QCOMPARE(LoginCheck::attempt(q, "00007", "right-pw", "ws", user, at(i)).result,
                     LoginCheck::Attempt::Damaged);
        QVERIFY(!LoginGuard::lockOf(*c, "00007", at(7)).locked);
        QCOMPARE(LoginCheck::attempt(q, "00008", "other-pw", "ws", user, at(8)).result,
                 LoginCheck::Attempt::Ok);
    }

    // What the login warns about on a server, naming what to change.
    void serverWarning_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<bool>("encrypted");
        QTest::addColumn<bool>("superuser");
        QTest::addColumn<QStringList>("named"); // empty: no warning
        QTest::newRow("local socket, own role") << false << false << false << QStringList();
        QTest::newRow("remote, encrypted") << true << true << false << QStringList();
        QTest::newRow("remote, not encrypted") << true << false << false << QStringList{"sslmode"};
        QTest::newRow("superuser")
            << false << false << true << QStringList{"超级用户", "createuser"};
        QTest::newRow("both") << true << false << true << QStringList{"sslmode", "超级用户"};
    }
    void serverWarning()
    {
        QFETCH(bool, remote);
        QFETCH(bool, encrypted);
        QFETCH(bool, superuser);
        QFETCH(QStringList, named);
        const QString w = ServerCheck::warning({true, remote, encrypted, superuser});
        QCOMPARE(w.isEmpty(), named.isEmpty());
        for (const QString& n : named)
            QVERIFY2(w.contains(n), qPrintable(w));
        // A file never warns.
        QVERIFY(ServerCheck::warning({false, remote, encrypted, superuser}).isEmpty());
    }
    // The facts as the test server gives them: its socket, its superuser.
    void serverFacts()
    {
        TestDb db;
        auto c = openMain(db.mainPath());
        const ServerCheck::Facts f = ServerCheck::facts(*c);
        QCOMPARE(f.server, TestDb::onServer());
        QVERIFY(!f.remote);
        QCOMPARE(f.superuser, TestDb::onServer());
    }

    // A copy of a database of the old layout keeps hashes, not its plain passwords.
    void copyOfOldDatabaseHashes()
    {
        FILES_ONLY();
        TestDb db;
        const QString source = db.dir() + QStringLiteral("/old.mdb");
        QVERIFY(QFile::copy(testInput("layout2/operators.mdb"), source));
        QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner);
        const QString target = db.dir() + QStringLiteral("/copy.mdb");
        DatabaseCopy::copy(source, target);
        auto c = openMain(target);
        QCOMPARE(PasswordHash::verify(OperatorPasswords::read(*c, "10004").hash, "ZhaoLiu#42"),
                 PasswordHash::Check::Match);
        c.reset();
        QCOMPARE(passwordsIn(decrypted(target), false), QStringList());
    }
};

HALVORRA_TEST_MAIN(TestPasswordStore)
#include "tst_password_store.moc"
