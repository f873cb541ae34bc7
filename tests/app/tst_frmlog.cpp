// The login window: files remembered beside the executable, both connections
// rebuilt on every press of 确定 before anything else, the operator check and
// every message with the focus where the user must act.
#include "app/Frm_Log.h"
#include "app/core/IniFiles.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/Text.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserFolders.h"
#include "widgets/CharLimit.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace
{

void writeIni(const QString& file, const QString& line)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(line.toUtf8() + "\r\n");
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFrmLog : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<QTemporaryDir> exeDir;
    std::unique_ptr<Tdmbasic> dm;

    std::unique_ptr<TFrmLog> makeWindow(bool withIni = true)
    {
        if (withIni) {
            writeIni(IniFiles::mainIni(), db->mainPath());
            writeIni(IniFiles::exchangeIni(), db->exchangePath());
        }
        auto w = std::make_unique<TFrmLog>();
        w->show();
        QApplication::setActiveWindow(w.get());
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("login window not active");
        return w;
    }
    void login(TFrmLog& w, const QString& number, const QString& password)
    {
        ui::type(w.edtYGBH, number);
        ui::type(w.edtYGMM, password);
        ui::click(w.btnOK);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        exeDir = std::make_unique<QTemporaryDir>();
        IniFiles::setFolder(exeDir->path());
        dm = std::make_unique<Tdmbasic>();
        CurUser = GTMYhxx();
    }
    void cleanup()
    {
        dm.reset();
        IniFiles::setFolder({});
        exeDir.reset();
        db.reset();
    }

    void creation()
    {
        auto w = makeWindow();
        const QDate today = QDate::currentDate();
        QCOMPARE(w->windowTitle(), QStringLiteral("操作员登陆"));
        QCOMPARE(w->size(), QSize(380, 200));
        QCOMPARE(w->edtDATE->text(), today.toString("yyyy-MM-dd"));
        QVERIFY(!w->edtDATE->isEnabled());
        // The main box also takes a typed server address; the exchange box a file only.
        QVERIFY(!w->edtDB->isReadOnly() && w->edtDBExp->isReadOnly());
        QCOMPARE(CZRQ, today.toString("yyMMdd"));
        QCOMPARE(QSRQ, today.toString("yyMM") + "01");
        QCOMPARE(w->edtDB->text(), db->mainPath());
        QCOMPARE(w->edtDBExp->text(), db->exchangePath());
        QCOMPARE(charLimit(w->edtYGBH), 5);
        QCOMPARE(charLimit(w->edtYGMM), 200);
        QCOMPARE(w->edtYGMM->echoMode(), QLineEdit::Password);
        QVERIFY(w->edtYGBH->hasFocus());
        // Connections stay closed until 确定.
        QVERIFY(!dm->adoCntnfybase.isOpen());
        QVERIFY(!dm->adoCntnfyExp.isOpen());
    }

    void tabOrder()
    {
        auto w = makeWindow();
        QList<QWidget*> order;
        QWidget* x = w->edtDB;
        do {
            if ((x->focusPolicy() & Qt::TabFocus) && x->isEnabled() && x->window() == w.get())
                order << x;
            x = x->nextInFocusChain();
        } while (x != w->edtDB && order.size() < 50);
        // edtDATE is disabled and never takes the focus.
        const QList<QWidget*> expected = {w->edtDB,   w->Button1, w->edtDBExp, w->Button2,
                                          w->edtYGBH, w->edtYGMM, w->btnOK,    w->btnCancel};
        QCOMPARE(order, expected);
    }

    void enterKeys()
    {
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026"); // admin's password is still his number
        auto w = makeWindow();
        ui::type(w->edtYGBH, "admin");
        ui::key(w->edtYGBH, Qt::Key_Return);
        QVERIFY(w->edtYGMM->hasFocus());
        QCOMPARE(w->edtYGBH->text(), QStringLiteral("admin"));
        ui::type(w->edtYGMM, "admin");
        ui::key(w->edtYGMM, Qt::Key_Enter);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(CurUser.YGBH, QStringLiteral("admin"));
    }

    void loginOutcomes_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message"); // "" = logged in
        QTest::addColumn<QString>("focus");
        QTest::newRow("ok") << "admin"
                            << "admin"
                            << ""
                            << "";
        QTest::newRow("blanks around both") << " 007 "
                                            << " pw7  "
                                            << ""
                                            << "";
        QTest::newRow("password case") << "admin"
                                       << "ADMIN"
                                       << "用户编码或密码错误，请重新输入！"
                                       << "edtYGBH";
        QTest::newRow("wrong password") << "admin"
                                        << "adm"
                                        << "用户编码或密码错误，请重新输入！"
                                        << "edtYGBH";
        QTest::newRow("non-operator") << "00009"
                                      << "pw9"
                                      << "用户编码或密码错误，请重新输入！"
                                      << "edtYGBH";
        QTest::newRow("no number") << "   "
                                   << "admin"
                                   << "请您录入用户编号。"
                                   << "edtYGBH";
        QTest::newRow("no password") << "admin"
                                     << "  "
                                     << "请您录入用户密码。"
                                     << "edtYGMM";
        QTest::newRow("quote typed") << "ad'mi"
                                     << "x"
                                     << "用户编码或密码错误，请重新输入！"
                                     << "edtYGBH";
    }
    void loginOutcomes()
    {
        QFETCH(QString, number);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        db->exec(
            "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,登录密码,操作人员,功能组) "
            "VALUES ('00009','赵六','','','pw9','否','#')");
        db->exec(
            "INSERT INTO 操作员档案 (员工编号,员工姓名,员工职务,联系电话,登录密码,操作人员,功能组) "
            "VALUES ('007','钱七','','','pw7','是','普通操作员')");
        hashPasswords(db->mainPath());
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow();
        login(*w, number, password);
        // Whatever the outcome, both databases are connected.
        QVERIFY(dm->adoCntnfybase.isOpen());
        QVERIFY(dm->adoCntnfyExp.isOpen());
        QVERIFY(!dm->QryPUB.isActive());
        if (message.isEmpty()) {
            QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join(' ')));
            QCOMPARE(w->result(), int(QDialog::Accepted));
            QCOMPARE(CurUser.YGBH, Text::trim(number));
            // The login record keeps the password's hash, never the password.
            QVERIFY(!CurUser.YGMM.contains(Text::trim(password)));
            QVERIFY(CurUser.YGMM.startsWith("$argon2id$"));
            QCOMPARE(CurUser.GNZ, number == "admin" ? Roles::Admin : Roles::Ordinary);
            return;
        }
        QCOMPARE(d->messages(), QStringList{message});
        QVERIFY(w->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(CurUser.YGBH.isEmpty());
        QCOMPARE(w->edtYGBH->text(), number);
    }

    // The login brings a database of the older layout up to date after the operator
    // check, and refuses one of a newer layout before anything else, untouched.
    void layoutAtLogin_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::newRow("older layout upgraded") << false;
        QTest::newRow("newer layout refused") << true;
    }
    void layoutAtLogin()
    {
        QFETCH(bool, newer);
        const QString file = QDir(db->dir()).filePath("office.mdb");
        if (newer) {
            QVERIFY(QFile::copy(db->mainPath(), file));
            Connection c(DbKind::Main);
            c.setDatabase(file, QString::fromLatin1(Schema::mainPassword()));
            c.open();
            c.execute(
                QStringLiteral("update 数据库版本 set 版本=%1").arg(Schema::kLayoutVersion + 1));
        } else {
            QVERIFY(QFile::copy(testInput("layout1/demo.mdb"), file));
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        }
        const QByteArray before = fileHash(file);
        const int rows = everyRow(file).size();
        writeIni(IniFiles::mainIni(), file);
        writeIni(IniFiles::exchangeIni(), db->exchangePath());
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow(false);
        login(*w, "admin", "admin");
        if (newer) {
            QCOMPARE(d->messages(),
                     QStringList{SchemaUpgrade::newerText(Schema::kLayoutVersion + 1)});
            QCOMPARE(QApplication::focusWidget(), w->edtDB);
            QVERIFY(w->isVisible());
            QVERIFY(CurUser.YGBH.isEmpty());
            QVERIFY(!dm->adoCntnfybase.isOpen());
            QCOMPARE(fileHash(file), before);
            return;
        }
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join(' ')));
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(SchemaUpgrade::version(dm->adoCntnfybase), Schema::kLayoutVersion);
        QVERIFY(dm->adoCntnfybase.table(QStringLiteral("修改记录")));
        dm->adoCntnfybase.close();
        QCOMPARE(everyRow(file).size(), rows);
    }

    void storedNumberCopied()
    {
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow();
        login(*w, "ADMIN", "admin");
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(CurUser.YGBH, QStringLiteral("admin"));
    }

    void reconnectsBeforeAskingForNumber()
    {
        DialogsScope d;
        auto w = makeWindow();
        QVERIFY(!dm->adoCntnfybase.isOpen());
        ui::click(w->btnOK);
        QCOMPARE(d->messages(), QStringList{"请您录入用户编号。"});
        QVERIFY(dm->adoCntnfybase.isOpen());
        QVERIFY(dm->adoCntnfyExp.isOpen());
        QCOMPARE(dm->adoCntnfybase.path(), db->mainPath());
        // Every press rebuilds the strings from the boxes: another pair now.
        TestDb other;
        d->files.push_back(other.mainPath());
        ui::click(w->Button1);
        d->clear();
        ui::click(w->btnOK);
        QCOMPARE(dm->adoCntnfybase.path(), other.mainPath());
        QCOMPARE(dm->adoCntnfybase.connectionString(),
                 Tdmbasic::mainConnectionString(other.mainPath()));
        QCOMPARE(dm->adoCntnfyExp.connectionString(),
                 Tdmbasic::exchangeConnectionString(db->exchangePath()));
    }

    void badFiles_data()
    {
        QTest::addColumn<bool>("mainFile"); // which file is bad
        QTest::addColumn<QString>(
            "kind"); // missing-ini, empty-ini, missing, foreign, password, swapped
        for (bool m : {true, false}) {
            const char* p = m ? "main " : "exchange ";
            for (const char* k : {"missing-ini", "empty-ini", "missing", "foreign", "password",
                                  "swapped", "empty-file"})
                QTest::newRow((QByteArray(p) + k).constData()) << m << QString::fromLatin1(k);
        }
    }
    void badFiles()
    {
        QFETCH(bool, mainFile);
        QFETCH(QString, kind);
        writeIni(IniFiles::mainIni(), db->mainPath());
        writeIni(IniFiles::exchangeIni(), db->exchangePath());
        const QString ini = mainFile ? IniFiles::mainIni() : IniFiles::exchangeIni();
        const QString bad = QDir(db->dir()).filePath("bad.mdb");
        if (kind == "missing-ini") {
            QFile::remove(ini);
        } else if (kind == "empty-ini") {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        } else if (kind == "missing") {
            writeIni(ini, bad);
        } else if (kind == "foreign") {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
            f.close();
            writeIni(ini, bad);
        } else if (kind == "empty-file") {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            writeIni(ini, bad);
        } else if (kind == "password") {
            // The other file of the pair carries the other password.
            writeIni(ini, mainFile ? db->exchangePath() : db->mainPath());
        } else if (kind == "swapped") {
            TestDb other;
            QFile::copy(mainFile ? other.exchangePath() : other.mainPath(), bad);
            writeIni(ini, bad);
        }
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow(false);
        login(*w, "admin", "admin");
        QCOMPARE(d->messages(), QStringList{mainFile ? "数据库操作文件出错，请重新选择！"
                                                     : "数据库导出文件出错，请重新选择！"});
        QCOMPARE(QApplication::focusWidget(), mainFile ? w->Button1 : w->Button2);
        QVERIFY(w->isVisible());
        QVERIFY(CurUser.YGBH.isEmpty());
        QVERIFY(!(mainFile ? dm->adoCntnfybase : dm->adoCntnfyExp).isOpen());
    }

    void refusedWithItsCause_data()
    {
        QTest::addColumn<bool>("mainFile");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("line"); // the line after the fixed message
        const QString damaged =
            "文件已损坏，不能使用。可以改为打开最近的备份文件（用“备份文件”做的副本）。";
        QTest::newRow("main damaged") << true << "damaged" << damaged;
        QTest::newRow("exchange damaged") << false << "damaged" << damaged;
        QTest::newRow("main read-only") << true << "read-only"
                                        << "数据库文件是只读的（没有写入权限，或放在只读的共享"
                                           "文件夹中），不能写入：%1";
        QTest::newRow("exchange read-only") << false << "read-only"
                                            << "数据库文件是只读的（没有写入权限，或放在只读的"
                                               "共享文件夹中），不能写入：%1";
    }
    // A file that opens but cannot be worked on is refused at once with the fixed
    // message and one line naming the cause, and is left byte for byte as it was.
    void refusedWithItsCause()
    {
        QFETCH(bool, mainFile);
        QFETCH(QString, kind);
        QFETCH(QString, line);
        const QString file = mainFile ? db->mainPath() : db->exchangePath();
        if (kind == "damaged") {
            damagePage(file, mainFile ? Schema::mainPassword() : Schema::exchangePassword(),
                       mainFile ? "房屋信息" : "房屋信息Exp");
        } else {
            // Read-only for an ordinary user; the other file of the pair stays writable.
            Unprivileged::makeReachable(file);
            Unprivileged::makeReachable(IniFiles::mainIni());
            Unprivileged::giveAway(db->dir());
            Unprivileged::giveAway(mainFile ? db->exchangePath() : db->mainPath());
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadOther);
        }
        const QByteArray before = fileHash(file);
        DialogsScope d;
        auto w = makeWindow();
        {
            std::optional<Unprivileged> user;
            if (kind == "read-only") user.emplace();
            login(*w, "admin", "admin");
        }
        QCOMPARE(d->messages(), QStringList{(mainFile ? "数据库操作文件出错，请重新选择！\n"
                                                      : "数据库导出文件出错，请重新选择！\n") +
                                            (kind == "damaged" ? line : line.arg(file))});
        QCOMPARE(QApplication::focusWidget(), mainFile ? w->Button1 : w->Button2);
        QVERIFY(CurUser.YGBH.isEmpty());
        QVERIFY(!(mainFile ? dm->adoCntnfybase : dm->adoCntnfyExp).isOpen());
        QCOMPARE(fileHash(file), before);
    }

    // Any folder name the file system allows: the path reaches the connection whole.
    void oddFolderLogsIn()
    {
        const QString dir = QDir(db->dir()).filePath("a;b=c 'd\"房源");
        QVERIFY(QDir().mkpath(dir));
        for (const QString& f : {db->mainPath(), db->exchangePath()})
            QVERIFY(QFile::copy(f, QDir(dir).filePath(QFileInfo(f).fileName())));
        writeIni(IniFiles::mainIni(), QDir(dir).filePath("fybase.mdb"));
        writeIni(IniFiles::exchangeIni(), QDir(dir).filePath("fyExp.mdb"));
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow(false);
        login(*w, "admin", "admin");
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join('\n')));
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QCOMPARE(dm->adoCntnfybase.path(), QDir(dir).filePath("fybase.mdb"));
    }

    void serverAddressTyped_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // "" = logged in without a word
        QTest::newRow("our database") << "ours"
                                      << "";
        QTest::newRow("password in the address") << "with password"
                                                 << "~/.pgpass";
        serverRefusalRows();
    }
    // A server address typed into the box: remembered once it opens (never with
    // its password); refused with its cause, the focus in the box, nothing written.
    void serverAddressTyped()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const bool opens = kind == "ours" || kind == "with password";
        const QString where = db->serverOfKind(opens ? "ours" : kind);
        const QString typed = kind == "with password"
                                  ? QString(where).replace("postgres@", "postgres:geheim@")
                                  : where;
        DialogsScope d;
        chooseNewPassword(*d, "Admin-2026");
        auto w = makeWindow();
        const QByteArray ini = readBytes(IniFiles::mainIni());
        ui::type(w->edtDB, typed);
        login(*w, "admin", "admin");
        if (opens) {
            QCOMPARE(w->result(), int(QDialog::Accepted));
            QCOMPARE(readBytes(IniFiles::mainIni()), where.toUtf8() + "\r\n");
            // The test server is reached as its superuser: the login warns once, last.
            QStringList shown = d->messages();
            QVERIFY(!shown.isEmpty() && shown.takeLast().contains("超级用户"));
            QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
            if (!message.isEmpty()) QVERIFY(shown.first().contains(message));
            return;
        }
        QCOMPARE(d->messages().size(), 1);
        QVERIFY2(d->messages().first().contains(message), qPrintable(d->messages().first()));
        QCOMPARE(QApplication::focusWidget(), w->edtDB);
        QVERIFY(w->isVisible());
        QVERIFY(!dm->adoCntnfybase.isOpen());
        QCOMPARE(readBytes(IniFiles::mainIni()), ini);
    }

    void chosenPathRememberedAfterCancel()
    {
        DialogsScope d;
        TestDb other;
        {
            auto w = makeWindow();
            d->files.push_back(other.mainPath());
            ui::click(w->Button1);
            QCOMPARE(w->edtDB->text(), other.mainPath());
            QCOMPARE(readBytes(IniFiles::mainIni()), other.mainPath().toUtf8() + "\r\n");
            QCOMPARE(d->fileDialogs.size(), 1);
            QCOMPARE(d->fileDialogs.first().filter, dm->OpenDBPath.filter);
            d->files.push_back(other.exchangePath());
            ui::click(w->Button2);
            QCOMPARE(readBytes(IniFiles::exchangeIni()), other.exchangePath().toUtf8() + "\r\n");
            // Cancelling a file dialog changes nothing.
            d->files.push_back(QString());
            ui::click(w->Button1);
            QCOMPARE(w->edtDB->text(), other.mainPath());
            ui::click(w->btnCancel);
            QCOMPARE(w->result(), int(QDialog::Rejected));
        }
        auto again = std::make_unique<TFrmLog>();
        QCOMPARE(again->edtDB->text(), other.mainPath());
        QCOMPARE(again->edtDBExp->text(), other.exchangePath());
    }

    void escapeCancels()
    {
        auto w = makeWindow();
        ui::key(w->edtYGBH, Qt::Key_Escape);
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(!w->isVisible());
    }

    // A program folder that cannot be written (an installed program): the chosen
    // file is remembered in the user's configuration folder and the next login
    // window reads it from there. When that cannot be written either, the error
    // is shown and the path box keeps the chosen path.
    void unwritableProgramFolder_data()
    {
        QTest::addColumn<bool>("userFolderWritable");
        QTest::newRow("remembered in the user folder") << true;
        QTest::newRow("no folder can be written") << false;
    }
    void unwritableProgramFolder()
    {
        QFETCH(bool, userFolderWritable);
        QTemporaryDir config;
        const QString configHome = userFolderWritable ? config.path() : config.filePath("file/x");
        if (!userFolderWritable) writeIni(config.filePath("file"), "");
        ScopedEnv configEnv("XDG_CONFIG_HOME", configHome);
        DialogsScope d;
        IniFiles::setFolder(QDir(exeDir->path()).filePath("gone/away"));
        auto w = makeWindow(false);
        QVERIFY(w->edtDB->text().isEmpty());
        d->files.push_back(db->mainPath());
        ui::click(w->Button1);
        QCOMPARE(w->edtDB->text(), db->mainPath());
        QVERIFY(w->isVisible());
        if (userFolderWritable) {
            QVERIFY(d->shown.isEmpty());
            QCOMPARE(readBytes(QDir(config.path()).filePath("halvorra/path.ini")),
                     db->mainPath().toUtf8() + "\r\n");
            QCOMPARE(TFrmLog().edtDB->text(), db->mainPath());
        } else {
            QCOMPARE(d->shown.size(), 1);
            QCOMPARE(d->shown.first().kind, QStringLiteral("error"));
        }
    }

    void databaseErrorDuringCheckKeepsWindow()
    {
        // An operator table without the operator flag: the check's statement fails.
        db->exec("DROP TABLE 操作员档案; CREATE TABLE 操作员档案 (员工编号 TEXT, 登录密码 TEXT)");
        DialogsScope d;
        auto w = makeWindow();
        login(*w, "admin", "admin");
        QCOMPARE(d->shown.size(), 1);
        QCOMPARE(d->shown.first().kind, QStringLiteral("error"));
        QVERIFY(w->isVisible());
        QVERIFY(!dm->QryPUB.isActive());
        QCOMPARE(w->result(), 0);
    }
};

HALVORRA_TEST_MAIN(TestFrmLog)
#include "tst_frmlog.moc"
