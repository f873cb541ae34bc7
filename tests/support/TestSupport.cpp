#include "tests/support/TestSupport.h"

#include "app/Wiring.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DealTables.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "data/Reminders.h"
#include "data/Schema.h"
#include "data/SecurityTables.h"
#include "security/Frm_SCMM.h"
#include "shell/App.h"
#include "tests/support/UserFolders.h"
#include "tools/lib/DemoData.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QTimer>
#include <pwd.h>
#include <unistd.h>

QStringList TestDialogs::messages() const
{
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("message") || s.kind == QLatin1String("error") ||
            s.kind == QLatin1String("okCancel"))
            out << s.text;
    return out;
}

QStringList TestDialogs::questions() const
{
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("question")) out << s.text;
    return out;
}

void TestDialogs::message(QWidget*, const QString& text)
{
    shown << Shown{QStringLiteral("message"), text};
}

bool TestDialogs::question(QWidget*, const QString& text)
{
    shown << Shown{QStringLiteral("question"), text};
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

bool TestDialogs::okCancel(QWidget*, const QString& text)
{
    shown << Shown{QStringLiteral("okCancel"), text};
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void TestDialogs::error(QWidget*, const QString& text)
{
    shown << Shown{QStringLiteral("error"), text};
}

QString TestDialogs::openFile(QWidget*, const FileDialogSpec& spec, const QString&)
{
    fileDialogs << spec;
    if (files.empty()) return {};
    const QString f = files.front();
    files.pop_front();
    return f;
}

QString TestDialogs::saveFile(QWidget* p, const FileDialogSpec& spec, const QString& s)
{
    return openFile(p, spec, s);
}

int TestDialogs::exec(QDialog* dialog)
{
    if (execs.empty()) return dialog->exec();
    auto f = execs.front();
    execs.pop_front();
    return f(dialog);
}

bool TestDialogs::openPath(const QString& path, const QString& workingDir)
{
    opened << (workingDir.isEmpty() ? path : QDir(workingDir).filePath(path));
    return openSucceeds;
}

void TestDialogs::openUrl(const QUrl& url)
{
    opened << url.toString();
}

DialogsScope::DialogsScope()
{
    auto d = std::make_unique<TestDialogs>();
    m_d = d.get();
    m_old = Dialogs::install(std::move(d));
}

DialogsScope::~DialogsScope()
{
    Dialogs::install(std::move(m_old));
}

namespace
{

// The test server's address up to the database name, e.g.
// "postgresql://postgres@%2Ftmp%2Fhalvorra-pg.x/".
QString serverPrefix()
{
    const QString s = qEnvironmentVariable("HALVORRA_TEST_SERVER");
    if (s.isEmpty()) {
        qCritical("HALVORRA_TEST_SERVER is not set: run the tests with ./test.sh, which starts a "
                  "test server of its own");
        throw DbError(QStringLiteral("no test server"));
    }
    return s.endsWith(QLatin1Char('/')) ? s : s + QLatin1Char('/');
}

// Runs statements on the server's maintenance database.
void onServer(const QStringList& sql)
{
    Connection c(DbKind::Main);
    c.setDatabase(serverPrefix() + QStringLiteral("postgres"), QString());
    c.openRaw();
    for (const QString& s : sql)
        c.run(s);
}

void withMain(const QString& location, const std::function<void(Connection&)>& f)
{
    Connection c(DbKind::Main);
    c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    f(c);
}

} // namespace

bool TestDb::onServer()
{
    return qEnvironmentVariable("HALVORRA_TEST_BACKEND") == QLatin1String("server");
}

TestDb::TestDb()
{
    if (onServer()) {
        m_main = newServerDatabase();
        Schema::createMainDatabase(m_main);
        Schema::createExchangeDatabase(exchangePath());
    } else {
        DemoData::createPair(m_dir.path());
        m_main = QDir(m_dir.path()).filePath(QStringLiteral("fybase.mdb"));
    }
}

TestDb::~TestDb()
{
    if (m_serverDatabases.isEmpty()) return;
    QStringList drops;
    for (const QString& name : m_serverDatabases)
        drops << QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name);
    try {
        ::onServer(drops);
    } catch (const DbError& e) {
        qWarning("%s", qPrintable(e.text()));
    }
}

QString TestDb::newServerDatabase()
{
    static int made = 0;
    const QString name =
        QStringLiteral("halvorra_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    ::onServer({QStringLiteral("CREATE DATABASE \"%1\"").arg(name)});
    m_serverDatabases << name;
    return serverPrefix() + name;
}

QString TestDb::serverOfKind(const QString& kind)
{
    if (kind == QLatin1String("unreachable"))
        return QStringLiteral("postgresql://postgres@%2Fnonexistent%2Fhalvorra/x");
    if (kind == QLatin1String("nodb"))
        return serverPrefix() + QStringLiteral("halvorra_no_such_database");
    QString where = newServerDatabase();
    QStringList setUp;
    if (kind == QLatin1String("ours") || kind == QLatin1String("partial"))
        Schema::createMainDatabase(where);
    if (kind == QLatin1String("user"))
        where.replace(QLatin1String("postgresql://postgres@"),
                      QLatin1String("postgresql://nosuchuser@"));
    if (kind == QLatin1String("password")) {
        // The one user the test server asks for a password (see pg-test-server.sh).
        ::onServer({QStringLiteral(
            "DO $$ BEGIN CREATE ROLE halvorra_pw LOGIN PASSWORD 'right'; EXCEPTION WHEN "
            "duplicate_object OR unique_violation THEN NULL; END $$")});
        where.replace(QLatin1String("postgresql://postgres@"),
                      QLatin1String("postgresql://halvorra_pw:wrong@"));
    } else if (kind == QLatin1String("foreign"))
        setUp << QStringLiteral("CREATE TABLE ledger (id integer, amount numeric)")
              << QStringLiteral("INSERT INTO ledger VALUES (1, 2.5)");
    else if (kind == QLatin1String("partial"))
        setUp << QStringLiteral("DROP TABLE 楼层字典");
    if (!setUp.isEmpty()) {
        Connection raw(DbKind::Main);
        raw.setDatabase(where, QString());
        raw.openRaw();
        for (const QString& sql : setUp)
            raw.run(sql);
    }
    return where;
}

std::unique_ptr<Connection> openMain(const QString& location)
{
    auto c = std::make_unique<Connection>(DbKind::Main);
    c->setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c->open();
    return c;
}

void setOperatorPassword(const QString& location, const QString& number, const QString& password,
                         bool mustChange)
{
    auto c = openMain(location);
    OperatorPasswords::store(*c, number, password, mustChange);
}

bool killWriterMidway(const QString& variable, const QString& value)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variable, value);
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!p.waitForReadyRead(30000)) return false;
    QTest::qWait(20 + QRandomGenerator::global()->bounded(200));
    p.kill();
    if (!p.waitForFinished(30000)) return false;
    if (TestDb::onServer()) QTest::qWait(200); // the server ends the session
    return true;
}

void addTwoOperators(const TestDb& db)
{
    db.exec("insert into 操作员档案 (员工编号, 员工姓名, 功能组) values ('ZS7', '张三', "
            "'普通操作员')");
    db.exec("insert into 操作员档案 (员工编号, 员工姓名, 功能组) values ('008', '李四', "
            "'高级操作员')");
}

void hashPasswords(const QString& location)
{
    auto c = openMain(location);
    Connection::Transaction t(*c);
    OperatorPasswords::hashPlainPasswords(*c);
    t.commit();
}

void chooseNewPassword(TestDialogs& d, const QString& password)
{
    d.execs.push_back([password](QDialog* dlg) {
        auto* w = qobject_cast<TFrmSCMM*>(dlg);
        if (!w) {
            qWarning("expected the new-password window, got %s", qPrintable(dlg->objectName()));
            return int(QDialog::Rejected);
        }
        w->edtNew1->setText(password);
        w->edtNew2->setText(password);
        w->btnOKClick();
        return w->result();
    });
}

QString testInput(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/testdata/") + name;
}

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "missing";
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void damagePage(const QString& path, const QString& password, const QString& table)
{
    qint64 page = 0, size = 0;
    {
        Connection c(DbKind::Main);
        c.setDatabase(path, password);
        c.openRaw();
        Statement root(c, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name=?"));
        root.bind(1, table);
        if (root.step()) page = root.value(0).toLongLong();
        Statement ps(c, QStringLiteral("PRAGMA page_size"));
        if (ps.step()) size = ps.value(0).toLongLong();
    }
    QFile f(path);
    if (page < 2 || size <= 0 || !f.open(QIODevice::ReadWrite)) {
        qWarning("cannot damage %s", qPrintable(path));
        return;
    }
    f.seek((page - 1) * size + size / 3);
    f.write(QByteArray(64, '\xA5'));
}

namespace
{
const passwd* nobody()
{
    return ::getpwnam("nobody");
}
} // namespace

bool Unprivileged::switches()
{
    return ::geteuid() == 0 && nobody();
}

Unprivileged::Unprivileged()
{
    if (!switches()) return;
    const passwd* n = nobody();
    if (::setegid(n->pw_gid) != 0 || ::seteuid(n->pw_uid) != 0)
        qFatal("cannot take the rights of nobody");
    m_switched = true;
}

Unprivileged::~Unprivileged()
{
    if (!m_switched) return;
    if (::seteuid(0) != 0 || ::setegid(0) != 0) qFatal("cannot take root's rights back");
}

void Unprivileged::makeReachable(const QString& path)
{
    if (!switches()) return;
    // Only the test's own folders, below the temporary folder.
    const QString top = QDir(QDir::tempPath()).canonicalPath();
    for (QDir d(QFileInfo(path).absolutePath());
         d.canonicalPath().startsWith(top + QLatin1Char('/')); d.cdUp()) {
        QFile::Permissions p = QFile::permissions(d.path());
        QFile::setPermissions(d.path(), p | QFile::ReadOther | QFile::ExeOther);
    }
}

void Unprivileged::giveAway(const QString& path)
{
    if (!switches()) return;
    const passwd* n = nobody();
    if (::chown(QFile::encodeName(path).constData(), n->pw_uid, n->pw_gid) != 0)
        qWarning("cannot give %s away", qPrintable(path));
}

void serverRefusalRows()
{
    QTest::newRow("server not running") << "unreachable"
                                        << "无法连接数据库服务器：服务器没有运行";
    QTest::newRow("unknown user") << "user"
                                  << "用户名或密码不对";
    QTest::newRow("wrong password") << "password"
                                    << "用户名或密码不对";
    QTest::newRow("database missing") << "nodb"
                                      << "没有这个数据库";
    QTest::newRow("database without tables") << "empty"
                                             << "还没有本系统的数据表";
    QTest::newRow("another program's tables") << "foreign"
                                              << "其他程序的数据表";
    QTest::newRow("one of our tables missing") << "partial"
                                               << "缺少数据表“楼层字典”";
}

QList<QVariantList> everyRow(const QString& location)
{
    Connection c(DbKind::Main);
    c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    QList<QVariantList> out;
    for (const Schema::TableDef& t : Schema::mainTables() + Schema::recordTables() +
                                         Schema::reminderTables() + Schema::dealTables()) {
        const QString table = QString::fromUtf8(t.name);
        if (!c.table(table)) continue;
        Query q(&c);
        q.addSql(QStringLiteral("select * from %1").arg(table));
        q.open();
        // 登录密码 holds a plain password in an old layout and a mark of it in the
        // current one: rows compare by whether one is kept.
        const int password = q.fieldIndex(QStringLiteral("登录密码"));
        for (int r = 0; r < q.recordCount(); ++r) {
            QVariantList row{table};
            for (int i = 0; i < q.fieldCount(); ++i) {
                const QVariant v = q.valueAt(r, i);
                row << (i == password && !v.isNull() && v.toString() != QStringLiteral("#")
                            ? QVariant(QStringLiteral("<kept>"))
                            : v);
            }
            out << row;
        }
    }
    const auto text = [](const QVariantList& r) {
        QStringList s;
        for (const QVariant& v : r)
            s << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        return s.join(QChar(0x1F));
    };
    std::sort(out.begin(), out.end(),
              [&](const QVariantList& a, const QVariantList& b) { return text(a) < text(b); });
    return out;
}

QString errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const DbError& e) {
        return e.text();
    }
    return {};
}

QString TestDb::exchangePath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("fyExp.mdb"));
}

void TestDb::connectDmbasic()
{
    if (!dmbasic) new Tdmbasic(qApp);
    dmbasic->adoCntnfybase.close();
    dmbasic->adoCntnfybase.setConnectionString(Tdmbasic::mainConnectionString(mainPath()));
    dmbasic->adoCntnfybase.open();
    dmbasic->adoCntnfyExp.close();
    dmbasic->adoCntnfyExp.setConnectionString(Tdmbasic::exchangeConnectionString(exchangePath()));
    dmbasic->adoCntnfyExp.open();
}

void TestDb::exec(const QString& sql) const
{
    withMain(mainPath(), [&](Connection& c) { c.execute(sql); });
}

QVariant TestDb::scalar(const QString& sql) const
{
    QVariant v;
    withMain(mainPath(), [&](Connection& c) {
        Statement st(c, c.translate(sql));
        if (st.step()) v = st.value(0);
    });
    return v;
}

QList<QVariantList> TestDb::rows(const QString& sql) const
{
    QList<QVariantList> out;
    withMain(mainPath(), [&](Connection& c) {
        Statement st(c, c.translate(sql));
        while (st.step()) {
            QVariantList r;
            for (int i = 0; i < st.columnCount(); ++i)
                r << st.value(i);
            out << r;
        }
    });
    return out;
}

bool TestDb::isSound() const
{
    bool sound = false;
    withMain(mainPath(), [&](Connection& c) { sound = c.isSound(); });
    return sound;
}

bool TestDb::dropSessions() const
{
    if (!onServer()) return false;
    Connection c(DbKind::Main);
    c.setDatabase(mainPath(), QString());
    c.openRaw();
    c.run(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                         "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    return true;
}

namespace ui
{

void type(QWidget* w, const QString& text)
{
    w->setFocus();
    if (auto* le = qobject_cast<QLineEdit*>(w)) {
        le->selectAll();
        if (!le->text().isEmpty()) QTest::keyClick(le, Qt::Key_Delete);
    }
    // QTest::keyClicks only knows Latin-1 keys: other characters (Chinese) are sent
    // as key events that carry their text, the way an input method delivers them.
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void click(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->isVisible()) {
        b->click();
        return;
    }
    QTest::mouseClick(w, Qt::LeftButton);
}

void key(QWidget* w, Qt::Key k)
{
    QTest::keyClick(w, k);
}

void whenModal(std::function<void(QDialog*)> f)
{
    QTimer::singleShot(0, [f] {
        QDialog* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) {
            whenModal(f);
            return;
        }
        f(d);
    });
}

} // namespace ui

int runTests(int argc, char** argv, QObject* testObject)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    useTemporaryUserFolders();
    HalvorraApp app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    wireWindows();
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(testObject, argc, argv);
}
