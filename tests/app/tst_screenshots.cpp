// Pictures of the splash, the login window and the main window for the README.
// Runs only when scripts/screenshots.sh sets HALVORRA_SCREENSHOTS (the folder to
// write into) and HALVORRA_DEMO (a demo database pair); otherwise skipped.
#include "app/Frm_Face.h"
#include "app/Frm_Log.h"
#include "app/Frm_main.h"
#include "app/PubFuns.h"
#include "app/core/IniFiles.h"
#include "app/core/PubVars.h"
#include "data/Dmbasic.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

class TestScreenshots : public QObject
{
    Q_OBJECT
    QDir out;
    QDir demo;

    void save(QWidget* w, const char* name)
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(200);
        QVERIFY(w->grab().save(out.filePath(QLatin1String(name))));
    }

private slots:
    void initTestCase()
    {
        const QString o = QString::fromLocal8Bit(qgetenv("HALVORRA_SCREENSHOTS"));
        const QString d = QString::fromLocal8Bit(qgetenv("HALVORRA_DEMO"));
        if (o.isEmpty() || d.isEmpty()) QSKIP("set by scripts/screenshots.sh");
        out = QDir(o);
        demo = QDir(d);
        QVERIFY(out.mkpath("."));
    }

    void windows()
    {
        QTemporaryDir exe;
        IniFiles::setFolder(exe.path());
        IniFiles::writeLine(IniFiles::mainIni(), demo.filePath("fybase.mdb"));
        IniFiles::writeLine(IniFiles::exchangeIni(), demo.filePath("fyExp.mdb"));
        Tdmbasic dm;

        TFrmFace face;
        save(&face, "splash.png");
        face.hide();

        TFrmLog log;
        log.edtYGBH->setText("admin");
        log.edtYGMM->setText("admin");
        save(&log, "login.png");
        DialogsScope d;
        log.btnOK->click();
        QVERIFY2(log.result() == QDialog::Accepted, qPrintable(d->messages().join('\n')));

        CurUser.JSJM = computerName();
        CurUser.IPDZ = firstIPv4Address();
        TFrmmain main;
        save(&main, "main.png");
        d->answers = {true};
        main.close();
        IniFiles::setFolder({});
    }
};

HALVORRA_TEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
