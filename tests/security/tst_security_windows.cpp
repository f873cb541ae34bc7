// The windows around the passwords: the first login's own password, the lock
// message at the login, the idle lock over a card with an unsaved change, the
// unlock in 权限设置 and the login log window.
#include "admin/Frm_QXSZ.h"
#include "admin/Frm_ryda.h"
#include "admin/core/Operators.h"
#include "app/Frm_Log.h"
#include "app/core/IniFiles.h"
#include "app/core/LoginCheck.h"
#include "data/Dmbasic.h"
#include "data/PasswordHash.h"
#include "data/SecurityTables.h"
#include "data/Text.h"
#include "security/Frm_DLJL.h"
#include "security/Frm_SCMM.h"
#include "security/IdleLock.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "tests/admin/AdminTestUtil.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

class TestSecurityWindows : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<QTemporaryDir> exeDir;

    // An operator 00007 of the ordinary role with the password as 权限设置 gives it.
    void addOperator()
    {
        db->exec("INSERT INTO 操作员档案 (员工编号,员工姓名,操作人员,功能组) VALUES "
                 "('00007','张三','否','#')");
        Query q(&dmbasic->adoCntnfybase);
        Operators::add(q, Roles::Ordinary, "00007");
    }
    std::unique_ptr<TFrmLog> loginWindow()
    {
        IniFiles::writeLine(IniFiles::mainIni(), db->mainPath());
        IniFiles::writeLine(IniFiles::exchangeIni(), db->exchangePath());
        auto w = std::make_unique<TFrmLog>();
        w->show();
        return w;
    }
    static void login(TFrmLog& w, const QString& number, const QString& password)
    {
        w.edtYGBH->setText(number);
        w.edtYGMM->setText(password);
        ui::click(w.btnOK);
    }
    // Messages but the server's safety note (the test server is reached as its
    // superuser).
    static QStringList messages(TestDialogs& d)
    {
        QStringList out;
        for (const QString& m : d.messages())
            if (!m.startsWith("数据库连接的安全提示")) out << m;
        return out;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        exeDir = std::make_unique<QTemporaryDir>();
        IniFiles::setFolder(exeDir->path());
        CurUser = GTMYhxx();
    }
    void cleanup()
    {
        IniFiles::setFolder({});
        exeDir.reset();
        db.reset();
    }

    // The initial password must be replaced before the login completes; each
    // refusal keeps the window open and 取消 ends the login.
    void firstLogin_data()
    {
        QTest::addColumn<QString>("new1");
        QTest::addColumn<QString>("new2");
        QTest::addColumn<QString>("message"); // "" = accepted
        QTest::newRow("own password") << " Zs-2026 "
                                      << "Zs-2026"
                                      << "";
        QTest::newRow("chinese and emoji") << "张三的🔑钥匙"
                                           << "张三的🔑钥匙"
                                           << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "请完整输入新密码和确认新密码,不能为空";
        QTest::newRow("mismatch") << "abcdefg"
                                  << "abcdefG"
                                  << "新密码和确认密码不一致,请重新输入。";
        QTest::newRow("too short") << "abcde"
                                   << "abcde"
                                   << "新密码至少要有6个字符。";
        QTest::newRow("too long") << QString(201, 'a') << QString(201, 'a')
                                  << "密码最多只能有200个字符，请重新输入。";
    }
    void firstLogin()
    {
        QFETCH(QString, new1);
        QFETCH(QString, new2);
        QFETCH(QString, message);
        addOperator();
        DialogsScope d;
        QStringList inWindow;
        d->execs.push_back([&](QDialog* dlg) {
            auto* w = qobject_cast<TFrmSCMM*>(dlg);
            if (!w) return int(QDialog::Rejected);
            w->edtNew1->setText(new1);
            w->edtNew2->setText(new2);
            w->btnOKClick();
            inWindow = messages(*d);
            if (w->result() != QDialog::Accepted) ui::click(w->btnCancel);
            return w->result();
        });
        auto w = loginWindow();
        login(*w, "00007", "00007");
        auto c = openMain(db->mainPath());
        if (message.isEmpty()) {
            QCOMPARE(inWindow, QStringList());
            QCOMPARE(w->result(), int(QDialog::Accepted));
            QCOMPARE(CurUser.YGBH, QStringLiteral("00007"));
            QCOMPARE(PasswordHash::verify(CurUser.YGMM, Text::trim(new1)),
                     PasswordHash::Check::Match);
            QVERIFY(!OperatorPasswords::read(*c, "00007").mustChange);
            // The next login goes straight in.
            GTMYhxx user;
            Query q(c.get());
            const auto a = LoginCheck::attempt(q, "00007", Text::trim(new1), "ws", user);
            QCOMPARE(a.result, LoginCheck::Attempt::Ok);
            QVERIFY(!a.mustChange);
            return;
        }
        QCOMPARE(inWindow, QStringList{message});
        QVERIFY(w->isVisible());
        QCOMPARE(w->result(), 0);
        QVERIFY(CurUser.YGBH.isEmpty());
        QVERIFY(OperatorPasswords::read(*c, "00007").mustChange);
        QCOMPARE(PasswordHash::verify(OperatorPasswords::read(*c, "00007").hash, "00007"),
                 PasswordHash::Check::Match);
    }

    // A password a system administrator set must be replaced too, by another one.
    void resetPasswordMustChange()
    {
        addOperator();
        setOperatorPassword(db->mainPath(), "00007", "Temp-123", true);
        DialogsScope d;
        QStringList inWindow;
        d->execs.push_back([&](QDialog* dlg) {
            auto* w = static_cast<TFrmSCMM*>(dlg);
            w->edtNew1->setText("Temp-123");
            w->edtNew2->setText("Temp-123");
            w->btnOKClick();
            inWindow = messages(*d);
            w->edtNew1->setText("Mine-456");
            w->edtNew2->setText("Mine-456");
            w->btnOKClick();
            return w->result();
        });
        auto w = loginWindow();
        login(*w, "00007", "Temp-123");
        QCOMPARE(inWindow, QStringList{"新密码不能与原密码相同。"});
        QCOMPARE(w->result(), int(QDialog::Accepted));
        auto c = openMain(db->mainPath());
        QCOMPARE(PasswordHash::verify(OperatorPasswords::read(*c, "00007").hash, "Mine-456"),
                 PasswordHash::Check::Match);
    }

    // Five wrong passwords: the Part's message four times, then the lock with its
    // end; the right password is refused while it lasts; a damaged hash has its
    // own message.
    void lockAndDamagedAtLogin()
    {
        addOperator();
        setOperatorPassword(db->mainPath(), "00007", "Right-pw1");
        DialogsScope d;
        auto w = loginWindow();
        for (int i = 0; i < 5; ++i)
            login(*w, "00007", "wrong");
        const QStringList shown = d->messages();
        QCOMPARE(shown.mid(0, 4), QStringList(4, "用户编码或密码错误，请重新输入！"));
        QVERIFY(shown.value(4).startsWith("用户编号“00007”因连续5次输错密码已被锁定，"));
        QVERIFY(shown.value(4).contains(
            QDateTime::currentDateTime().addSecs(15 * 60).toString("yyyy-MM-dd")));
        d->clear();
        login(*w, "00007", "Right-pw1");
        QVERIFY(d->last().startsWith("用户编号“00007”因连续5次输错密码已被锁定，"));
        QCOMPARE(w->result(), 0);
        QCOMPARE(w->focusWidget(), w->edtYGBH);

        db->exec("UPDATE 操作员密码 SET 密码散列='$argon2id$v=19$broken' WHERE 员工编号='admin'");
        d->clear();
        login(*w, "admin", "admin");
        QCOMPARE(d->messages(), QStringList{LoginCheck::damagedText()});
        QCOMPARE(w->result(), 0);
    }

    // The idle lock covers the windows; Esc and closing do not pass it; only the
    // operator's password opens it, and the card's unsaved change is still there.
    void idleLockKeepsUnsavedEdit()
    {
        db->exec("INSERT INTO 操作员档案 (员工编号,员工姓名,操作人员,功能组) VALUES "
                 "('00008','李四','否','#')");
        setOperatorPassword(db->mainPath(), "admin", "Admin-2026");
        QVERIFY(LoginCheck::run(dmbasic->QryPUB, "admin", "Admin-2026", CurUser));
        DialogsScope d;
        TFrmryda card;
        card.show();
        QVERIFY(card.ADOQryryda.locate("员工编号", "00008"));
        admintest::typeText(ui::find(&card, "DBEdit2"), "李四改");
        QCOMPARE(card.ADOQryryda.state(), Query::State::Edit);

        IdleLock idle(dmbasic->adoCntnfybase);
        bool ran = false, covered = false, passedEsc = false, passedClose = false;
        QStringList inLock;
        d->execs.push_back([&](QDialog* dlg) {
            ran = true;
            auto* lock = qobject_cast<TFrmSuoDing*>(dlg);
            if (!lock) return int(QDialog::Rejected);
            for (QWidget* cover : card.findChildren<QWidget*>("IdleCover"))
                covered = covered || (cover->isVisible() && cover->geometry() == card.rect());
            lock->show();
            QTest::keyClick(lock, Qt::Key_Escape);
            passedEsc = !lock->isVisible();
            lock->close(); // Alt+F4 and the window manager's close
            passedClose = !lock->isVisible();
            lock->edtMM->setText("admin");
            lock->btnOKClick();
            inLock = d->messages();
            lock->edtMM->setText(" Admin-2026 ");
            lock->btnOKClick();
            return lock->result();
        });
        idle.setInterval(20);
        QTRY_VERIFY(ran);
        QVERIFY(covered);
        QVERIFY(!passedEsc);
        QVERIFY(!passedClose);
        QCOMPARE(inLock, QStringList{"密码错误，请重新输入。"});
        QVERIFY(!idle.isLocked());
        QVERIFY(card.findChildren<QWidget*>("IdleCover").isEmpty());
        QCOMPARE(ui::find<QLineEdit>(&card, "DBEdit2")->text(), QStringLiteral("李四改"));
        QCOMPARE(card.ADOQryryda.state(), Query::State::Edit);
        QCOMPARE(db->scalar("select 员工姓名 from 操作员档案 where 员工编号='00008'").toString(),
                 QStringLiteral("李四"));
        // The wrong password is in the log like a wrong login.
        auto c = openMain(db->mainPath());
        QCOMPARE(LoginGuard::log(*c).value(0).value(4).toString(), LoginGuard::Event::Wrong);

        // Switched off: no lock comes, however long nobody types.
        idle.setInterval(0);
        ran = false;
        QTest::qWait(100);
        QVERIFY(!ran);
        d->execs.clear();
        card.ADOQryryda.cancel();
    }

    // 解除锁定 in 权限设置 lifts the lock of the selected operator.
    void unlockInRightsWindow()
    {
        addOperator();
        for (int i = 0; i < 5; ++i)
            LoginGuard::failed(dmbasic->adoCntnfybase, "00007", "ws", QDateTime::currentDateTime());
        CurUser.YGBH = "admin";
        DialogsScope d;
        TFrmQXSZ w;
        w.show();
        QCOMPARE(Text::trim(w.qryYGZD.text("员工编号")), QStringLiteral("00007"));
        ui::click(ui::find(&w, "btnUnlock"));
        QCOMPARE(d->messages(), QStringList{"用户编号“00007”已解除锁定。"});
        QVERIFY(!LoginGuard::lockOf(dmbasic->adoCntnfybase, "00007", QDateTime::currentDateTime())
                     .locked);
        ui::click(ui::find(&w, "btnUnlock"));
        QCOMPARE(d->last(), QStringLiteral("用户编号“00007”没有被锁定。"));
        auto c = openMain(db->mainPath());
        const QVariantList newest = LoginGuard::log(*c).value(0);
        QCOMPARE(newest.value(4).toString(), LoginGuard::Event::Unlocked);
        QCOMPARE(newest.value(5).toString(), QStringLiteral("admin"));
    }

    // The log window shows the attempts newest first, unlocks the current row's
    // number after a question, and keeps the idle minutes for every workstation.
    void logWindow()
    {
        addOperator();
        const QDateTime now = QDateTime::currentDateTime();
        LoginGuard::record(dmbasic->adoCntnfybase, "00007", "前台[10.0.0.5]",
                           LoginGuard::Event::Success, now);
        for (int i = 0; i < 5; ++i)
            LoginGuard::failed(dmbasic->adoCntnfybase, "boss", "前台[10.0.0.5]", now);
        CurUser.YGBH = "admin";
        DialogsScope d;
        TFrmDLJL w;
        QCOMPARE(w.rows.recordCount(), 1 + 5 + 1);
        QCOMPARE(w.rows.text("事件"), LoginGuard::Event::Locking);
        QCOMPARE(w.rows.text("员工编号"), QStringLiteral("boss"));
        QVERIFY(w.lblLocked->text().contains("boss"));
        QCOMPARE(w.spnIdle->value(), LoginGuard::kDefaultIdleMinutes);
        d->answers = {true};
        ui::click(w.btnUnlock);
        QCOMPARE(d->questions(), QStringList{"是否解除用户编号“boss”的锁定？"});
        QVERIFY(!LoginGuard::lockOf(dmbasic->adoCntnfybase, "boss", now).locked);
        QCOMPARE(w.rows.text("事件"), LoginGuard::Event::Unlocked);
        QVERIFY(!w.lblLocked->text().contains("boss"));

        w.spnIdle->setValue(3);
        ui::click(w.btnIdle);
        auto c = openMain(db->mainPath()); // another workstation reads it
        QCOMPARE(LoginGuard::idleMinutes(*c), 3);
        w.spnIdle->setValue(0);
        ui::click(w.btnIdle);
        QCOMPARE(LoginGuard::idleMinutes(*c), 0);
    }
};

HALVORRA_TEST_MAIN(TestSecurityWindows)
#include "tst_security_windows.moc"
