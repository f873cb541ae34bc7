// Pictures of the splash, the login window, the main window and two standard
// dialogs for the README, and the program's icon files for the desktop entry.
// Runs only when scripts/screenshots.sh sets HALVORRA_SCREENSHOTS (the folder to
// write into), HALVORRA_DEMO (a demo database pair) and HALVORRA_ICONS (the
// folder of the icon files); otherwise skipped.
#include "app/Frm_Face.h"
#include "app/Frm_Log.h"
#include "app/Frm_main.h"
#include "app/Pictures.h"
#include "app/PubFuns.h"
#include "app/core/IniFiles.h"
#include "data/Dmbasic.h"
#include "deals/Frm_tjfx.h"
#include "session/PubVars.h"
#include "tests/support/TestSupport.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

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
    // Runs show(), which opens a modal window, pictures that window and closes it.
    void saveModal(const char* name, const std::function<void()>& show, QSize size = {})
    {
        bool saved = false;
        ui::whenModal([&](QDialog* d) {
            if (size.isValid()) d->resize(size);
            QTimer::singleShot(500, d, [&, d] {
                // Whole file names, sizes, types and dates in the file list.
                for (QTreeView* t : d->findChildren<QTreeView*>())
                    for (int c = 0; t->model() && c < t->model()->columnCount(t->rootIndex()); ++c)
                        t->resizeColumnToContents(c);
                saved = d->grab().save(out.filePath(QLatin1String(name)));
                d->reject();
            });
        });
        show();
        QVERIFY(saved);
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
        chooseNewPassword(*d, "Admin-2026");
        log.btnOK->click();
        QVERIFY2(log.result() == QDialog::Accepted, qPrintable(d->messages().join('\n')));

        CurUser.JSJM = computerName();
        CurUser.IPDZ = firstIPv4Address();
        TFrmmain main;
        save(&main, "main.png");
        {
            // The office's figures over the demo's months.
            TFrmTJFX stats;
            stats.resize(1000, 720);
            stats.dtFrom->setDate(QDate::currentDate().addMonths(-6));
            stats.btnTJ->click();
            stats.tabs->setCurrentIndex(0);
            save(&stats, "statistics.png");
        }
        d->answers = {true};
        main.close();
        IniFiles::setFolder({});
    }

    // The standard dialogs speak Chinese: the file dialog of the "..." buttons on
    // the demo folder, and the exit question.
    void standardDialogs()
    {
        SystemDialogs sys;
        FileDialogSpec databases;
        databases.filter = QStringLiteral("数据库文件|*.mdb");
        saveModal(
            "filedialog.png", [&] { sys.openFile(nullptr, databases, demo.path()); },
            QSize(760, 440));
        saveModal("question.png",
                  [&] { sys.question(nullptr, QStringLiteral("感谢使用本系统，确定退出吗？")); });
    }

    void icons()
    {
        const QString dir = QString::fromLocal8Bit(qgetenv("HALVORRA_ICONS"));
        if (dir.isEmpty()) QSKIP("set by scripts/screenshots.sh");
        for (int side : {48, 64, 128, 256})
            QVERIFY(Pictures::appIcon(side).save(
                QDir(dir).filePath(QStringLiteral("halvorra-%1.png").arg(side))));
    }
};

HALVORRA_TEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
