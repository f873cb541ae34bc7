// The start-up sequence end to end: cancel ends without a main window; a login
// opens the main window on connected databases, and the exit question decides
// when the program ends; the data module is gone afterwards.
#include "app/Frm_Log.h"
#include "app/Frm_main.h"
#include "app/PubFuns.h"
#include "app/Startup.h"
#include "app/core/IniFiles.h"
#include "data/Dmbasic.h"
#include "session/PubVars.h"
#include "shell/App.h"
#include "tests/support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace
{

TFrmmain* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TFrmmain*>(w)) return m;
    return nullptr;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<QTemporaryDir> exeDir;

private slots:
    void init()
    {
        db = std::make_unique<TestDb>();
        exeDir = std::make_unique<QTemporaryDir>();
        IniFiles::setFolder(exeDir->path());
        IniFiles::writeLine(IniFiles::mainIni(), db->mainPath());
        IniFiles::writeLine(IniFiles::exchangeIni(), db->exchangePath());
        CurUser = GTMYhxx();
    }
    void cleanup()
    {
        IniFiles::setFolder({});
        exeDir.reset();
        db.reset();
    }

    void cancelledLoginEndsWithoutMainWindow()
    {
        DialogsScope d;
        bool sawLogin = false;
        d->execs.push_back([&](QDialog* dlg) {
            sawLogin = qobject_cast<TFrmLog*>(dlg) != nullptr;
            // The data module exists, its connections still closed.
            if (!dmbasic || dmbasic->adoCntnfybase.isOpen() || dmbasic->adoCntnfyExp.isOpen())
                sawLogin = false;
            return int(QDialog::Rejected);
        });
        QCOMPARE(runHalvorra(*static_cast<HalvorraApp*>(qApp)), 0);
        QVERIFY(sawLogin);
        QVERIFY(!mainWindow());
        QVERIFY(!dmbasic);
        QVERIFY(CurUser.YGBH.isEmpty());
    }

    void loginRunsMainWindowUntilExitConfirmed()
    {
        DialogsScope d;
        d->execs.push_back([](QDialog* dlg) {
            auto* log = static_cast<TFrmLog*>(dlg);
            log->edtYGBH->setText("admin");
            log->edtYGMM->setText(" admin ");
            log->btnOK->click();
            return log->result();
        });
        // admin's password is still his number: the login asks for his own first.
        chooseNewPassword(*d, "Admin-2026");
        bool checked = false;
        // Waits for the main window (timers also run while the splash is painted).
        std::function<void()> whenMain = [&] {
            TFrmmain* m = mainWindow();
            if (!m || !m->isVisible()) {
                QTimer::singleShot(10, whenMain);
                return;
            }
            checked = dmbasic && dmbasic->adoCntnfybase.isOpen() &&
                      dmbasic->adoCntnfyExp.isOpen() && CurUser.YGBH == "admin" &&
                      CurUser.JSJM == computerName() && GSDM == "001";
            d->answers = {false};
            m->close(); // No: keeps running
            if (!m->isVisible()) checked = false;
            d->answers = {true};
            m->close();
        };
        QTimer::singleShot(0, whenMain);
        QCOMPARE(runHalvorra(*static_cast<HalvorraApp*>(qApp)), 0);
        QVERIFY2(d->messages().isEmpty(), qPrintable(d->messages().join(' ')));
        QVERIFY(checked);
        QCOMPARE(d->questions(),
                 (QStringList{"感谢使用本系统，确定退出吗？", "感谢使用本系统，确定退出吗？"}));
        QVERIFY(!dmbasic);
        QVERIFY(!mainWindow());
    }
};

HALVORRA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
