// The main window: caption and size, the menu in order, the command buttons,
// the status bar, the company code, the role-bound 权限设置, the backup, the
// documents and the exit question.
#include "app/Frm_main.h"
#include "app/Windows.h"
#include "app/core/IniFiles.h"
#include "data/Connection.h"
#include "data/Dmbasic.h"
#include "data/Schema.h"
#include "session/PubVars.h"
#include "shell/Guard.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>

namespace
{

// The items a menu shows, in order ("-" for a separator).
QStringList menuTexts(QMenu* m)
{
    QStringList out;
    for (QAction* a : m->actions())
        if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<QTemporaryDir> exeDir;

    std::unique_ptr<TFrmmain> makeWindow(const QString& role = Roles::Admin)
    {
        CurUser = GTMYhxx();
        CurUser.YGBH = "00012";
        CurUser.YGXM = "张三";
        CurUser.GNZ = role;
        CurUser.JSJM = "office-pc";
        CurUser.IPDZ = "192.168.1.20";
        return std::make_unique<TFrmmain>();
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        db->connectDmbasic();
        exeDir = std::make_unique<QTemporaryDir>();
        IniFiles::setFolder(exeDir->path());
        IniFiles::writeLine(IniFiles::mainIni(), db->mainPath());
    }
    void cleanup()
    {
        IniFiles::setFolder({});
        exeDir.reset();
        dmbasic->adoCntnfybase.close();
        dmbasic->adoCntnfyExp.close();
        db.reset();
    }

    void windowAndMenu()
    {
        auto w = makeWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->windowTitle(), QStringLiteral("Halvorra"));
        QCOMPARE(w->centralWidget()->height() + w->statusBar()->height(), 500);
        QCOMPARE(w->width(), 750);
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QStringList titles;
        QList<QMenu*> menus;
        for (QAction* a : w->menuBar()->actions()) {
            titles << a->text();
            menus << a->menu();
        }
        // Menus of our own (日常工作, 统计) follow the six of the main window.
        QCOMPARE(titles, (QStringList{"系统", "房源信息", "客户信息", "基本信息", "附加信息",
                                      "帮助", "日常工作", "统计"}));
        // The administrator's 系统 menu has the recycle bin and the login security too.
        QCOMPARE(menuTexts(menus[0]),
                 (QStringList{"备份文件", "密码修改", "回收站", "登录安全", "-", "退出系统"}));
        QCOMPARE(menuTexts(menus[1]), (QStringList{"房源输入", "房源查询"}));
        QCOMPARE(menuTexts(menus[2]), (QStringList{"客户输入", "客户查询"}));
        QCOMPARE(menuTexts(menus[3]),
                 (QStringList{"公司档案", "人员档案", "权限设置", "基础数据"}));
        QCOMPARE(menuTexts(menus[4]),
                 (QStringList{"买卖房屋协议书1", "买卖委托协议书2", "-", "租赁房屋协议书1",
                              "租赁房屋协议书2", "-", "电子地图"}));
        QCOMPARE(menuTexts(menus[5]), (QStringList{"系统帮助", "关于"}));
        QCOMPARE(menus[3]->actions()[2]->objectName(), QStringLiteral("D03QXSZ"));
    }

    void buttonsInOrder()
    {
        auto w = makeWindow();
        QList<QToolButton*> buttons = w->centralWidget()->findChildren<QToolButton*>();
        std::sort(buttons.begin(), buttons.end(),
                  [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
        QStringList ids;
        for (QToolButton* b : buttons) {
            QCOMPARE(b->size(), QSize(65, 65));
            QVERIFY(!b->icon().isNull());
            QVERIFY(b->font().bold());
            QCOMPARE(b->y(), buttons.first()->y());
            ids << b->defaultAction()->objectName();
        }
        QCOMPARE(ids, (QStringList{"B01FYLR", "B02FYCX", "C01KHLR", "C02KHCX", "D02RYDA", "D04JCSJ",
                                   "A01BFWJ", "A02MMXG", "actExit"}));
        QCOMPARE(buttons[6]->text(), QStringLiteral("备份文件"));
        QCOMPARE(buttons[8]->text(), QStringLiteral("退出系统"));
    }

    void statusBarAndCompanyCode()
    {
        db->exec("UPDATE 公司信息 SET 公司代码=' A7'");
        GSDM = "old";
        auto w = makeWindow();
        QCOMPARE(w->statusPanels[0]->text(), QStringLiteral("操作员编码：00012"));
        QCOMPARE(w->statusPanels[1]->text(), QStringLiteral("操作员姓名：张三"));
        QCOMPARE(w->statusPanels[2]->text(), QStringLiteral("客户端机器：office-pc[192.168.1.20]"));
        QCOMPARE(w->statusPanels[0]->width(), 200);
        QCOMPARE(w->statusPanels[2]->width(), 250);
        QCOMPARE(GSDM, QStringLiteral("A7"));
        QVERIFY(!dmbasic->QryPUB.isActive());
    }

    void unresolvedHostShowsEmptyBrackets()
    {
        CurUser.IPDZ.clear();
        auto w = makeWindow();
        CurUser.IPDZ.clear();
        w->FormCreate();
        QCOMPARE(w->statusPanels[2]->text(), QStringLiteral("客户端机器：office-pc[]"));
    }

    void noCompanyRowGivesEmptyCode()
    {
        db->exec("DELETE FROM 公司信息");
        GSDM = "old";
        auto w = makeWindow();
        QVERIFY(GSDM.isEmpty());
    }

    void rightsCommandFollowsRole_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("admin") << Roles::Admin << true;
        QTest::newRow("senior") << Roles::Senior << false;
        QTest::newRow("ordinary") << Roles::Ordinary << false;
        QTest::newRow("trailing blank") << Roles::Admin + " " << false;
        QTest::newRow("one character off") << QStringLiteral("系统管理") << false;
    }
    void rightsCommandFollowsRole()
    {
        QFETCH(QString, role);
        QFETCH(bool, enabled);
        auto w = makeWindow(role);
        QAction* a = w->command("D03QXSZ");
        QCOMPARE(a->isEnabled(), enabled && hasFunctionWindow("D03QXSZ"));
        if (!enabled) QVERIFY(!a->isEnabled());
        // The recycle bin follows the same role; other roles see the 系统 menu without it.
        QCOMPARE(w->command("A03HSZ")->isVisible(), enabled);
        QCOMPARE(w->command("A04DLAQ")->isVisible(), enabled);
        QMenu* system = w->menuBar()->actions().first()->menu();
        if (!enabled)
            QCOMPARE(menuTexts(system), (QStringList{"备份文件", "密码修改", "-", "退出系统"}));
    }

    void unbuiltCommandsStayDisabled()
    {
        auto w = makeWindow();
        for (const char* id : {"A02MMXG", "B01FYLR", "B02FYCX", "C01KHLR", "C02KHCX", "D01GSDA",
                               "D02RYDA", "D04JCSJ"}) {
            QAction* a = w->command(id);
            QVERIFY2(a, id);
            QCOMPARE(a->isEnabled(), hasFunctionWindow(id));
            auto* b = w->findChild<QToolButton*>(QStringLiteral("btn") + id);
            if (b) QCOMPARE(b->isEnabled(), a->isEnabled());
        }
        for (const char* id : {"A01BFWJ", "E01", "E02", "E03", "E04", "E05"})
            QVERIFY2(w->command(id)->isEnabled(), id);
    }

    void functionWindowRunsModallyAndIsDestroyed()
    {
        QString id;
        for (const char* c : {"D04JCSJ", "D01GSDA", "D02RYDA", "A02MMXG", "B01FYLR", "B02FYCX",
                              "C01KHLR", "C02KHCX"})
            if (hasFunctionWindow(c)) {
                id = c;
                break;
            }
        if (id.isEmpty()) QSKIP("no function window is part of this build yet");
        DialogsScope d;
        auto w = makeWindow();
        QPointer<QDialog> seen;
        d->execs.push_back([&](QDialog* dlg) {
            seen = dlg;
            return int(QDialog::Rejected);
        });
        w->command(id)->trigger();
        QVERIFY(d->execs.empty());
        QVERIFY(seen.isNull()); // destroyed when it closed
    }

    void backupTwiceWithSameName()
    {
        DialogsScope d;
        auto w = makeWindow();
        const QString chosen = QDir(db->dir()).filePath("2003");
        d->files.push_back(chosen);
        w->command("A01BFWJ")->trigger();
        QCOMPARE(d->messages(), QStringList{"文件备份成功！"});
        QCOMPARE(d->fileDialogs.first().filter, dmbasic->OpenDBPath.filter);
        const QString target = chosen + ".mdb";
        QVERIFY(QFile::exists(target));
        const QByteArray first = readBytes(target);
        {
            Connection c(DbKind::Main);
            c.setDatabase(target, QString::fromLatin1(Schema::mainPassword()));
            c.open();
        }
        db->exec("INSERT INTO 户型字典 VALUES ('之后')");
        d->clear();
        d->files.push_back(chosen);
        w->command("A01BFWJ")->trigger();
        QCOMPARE(d->messages(), QStringList{"备份失败！"});
        QCOMPARE(readBytes(target), first);
        // A name already ending in .mdb still gets it appended.
        d->clear();
        d->files.push_back(target);
        w->command("A01BFWJ")->trigger();
        QCOMPARE(d->messages(), QStringList{"文件备份成功！"});
        QVERIFY(QFile::exists(target + ".mdb"));
    }

    void backupCancelledDoesNothing()
    {
        DialogsScope d;
        auto w = makeWindow();
        d->files.push_back(QString());
        w->command("A01BFWJ")->trigger();
        QVERIFY(d->shown.isEmpty());
    }

    void backupWithoutPathIni()
    {
        DialogsScope d;
        auto w = makeWindow();
        QFile::remove(IniFiles::mainIni());
        const QString chosen = QDir(db->dir()).filePath("x");
        d->files.push_back(chosen);
        guarded([&] { w->A01BFWJExecute(); });
        QCOMPARE(d->shown.size(), 1);
        QCOMPARE(d->shown.first().kind, QStringLiteral("error"));
        QVERIFY(!QFile::exists(chosen + ".mdb"));
    }

    void documentsAndAddresses()
    {
        DialogsScope d;
        auto w = makeWindow();
        for (const char* id : {"E01", "E02", "E03", "E04"})
            w->command(id)->trigger();
        w->actHelp->trigger();
        w->command("E05")->trigger();
        w->actAbout->trigger();
        const QDir dir(exeDir->path());
        QCOMPARE(
            d->opened,
            (QStringList{dir.filePath("买卖房屋协议书1.doc"), dir.filePath("买卖委托协议书2.doc"),
                         dir.filePath("租赁房屋协议书1.doc"), dir.filePath("租赁房屋协议书2.doc"),
                         dir.filePath("使用说明书.doc"), TFrmmain::mapAddress(),
                         TFrmmain::aboutAddress()}));
        QVERIFY(d->shown.isEmpty());
    }

    void shippedDocumentsAreRtf()
    {
        // The test programs are built into the executable's folder, beside the documents.
        const QDir bin(QCoreApplication::applicationDirPath());
        for (const char* name : {"使用说明书.doc", "买卖房屋协议书1.doc", "买卖委托协议书2.doc",
                                 "租赁房屋协议书1.doc", "租赁房屋协议书2.doc", "about.html"}) {
            const QByteArray b = readBytes(bin.filePath(QString::fromUtf8(name)));
            QVERIFY2(b.size() > 2000, name);
            if (QByteArray(name).endsWith(".doc")) {
                QVERIFY2(b.startsWith("{\\rtf1"), name);
                QVERIFY2(b.trimmed().endsWith('}'), name);
                QCOMPARE(b.count('{'), b.count('}'));
            }
        }
    }

    void exitQuestion()
    {
        DialogsScope d;
        auto w = makeWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QString before = w->statusPanels[0]->text();
        d->answers = {false};
        w->actExit->trigger();
        QCOMPARE(d->questions(), QStringList{"感谢使用本系统，确定退出吗？"});
        QVERIFY(w->isVisible());
        QCOMPARE(w->statusPanels[0]->text(), before);
        d->answers = {false};
        QVERIFY(!w->close()); // the title bar's close box
        QVERIFY(w->isVisible());
        d->answers = {false};
        ui::click(w->findChild<QToolButton*>("btnExit"));
        QVERIFY(w->isVisible());
        QCOMPARE(d->questions().size(), 3);
        d->answers = {true};
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
    }
};

HALVORRA_TEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
