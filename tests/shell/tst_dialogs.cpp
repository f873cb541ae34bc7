// The real dialog service: every standard text a user sees in its boxes and
// dialogs is Chinese, and the shell's "open" reports a file no program takes.
#include "data/Dmbasic.h"
#include "pickers/U_SelectRQ.h"
#include "shell/DesktopOpen.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserFolders.h"
#include "widgets/DbGrid.h"
#include "widgets/GridPrinter.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace
{

// The texts a user reads on a window: buttons, labels, column headers, menu
// entries and the calendar's month and day names. File names and paths in lists
// and boxes are the user's own and are not looked at.
QStringList visibleTexts(QWidget* root)
{
    QStringList out;
    auto headers = [&out](QHeaderView* h) {
        if (!h->isVisible() || !h->model()) return;
        for (int i = 0; i < h->count(); ++i)
            if (!h->isSectionHidden(i))
                out << h->model()->headerData(i, h->orientation()).toString();
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root)) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            auto* tb = qobject_cast<QToolButton*>(w);
            if (!(tb && tb->toolButtonStyle() == Qt::ToolButtonIconOnly && !tb->icon().isNull()))
                out << b->text();
            out << b->toolTip();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            out << l->text();
        } else if (auto* h = qobject_cast<QHeaderView*>(w)) {
            headers(h);
        } else if (auto* cal = qobject_cast<QTableView*>(w);
                   cal && cal->objectName() == QLatin1String("qt_calendar_calendarview")) {
            for (int c = 0; c < cal->model()->columnCount(); ++c)
                out << cal->model()->index(0, c).data().toString();
        }
    }
    if (auto* m = qobject_cast<QMenu*>(root))
        for (QAction* a : m->actions())
            if (a->isVisible() && !a->isSeparator()) out << a->text();
    out.removeAll(QString());
    return out;
}

// The texts with a run of Latin letters, once shortcuts ("(&U)", "\tCtrl+Z"),
// file patterns ("*.mdb") and the caption we pass in are taken out.
QStringList english(const QStringList& texts)
{
    static const QRegularExpression noise(
        QStringLiteral("\\t.*$|\\(&\\w\\)|&|\\*\\.\\w+|\\bmdb\\b|Halvorra|Excel"));
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]{2,}"));
    QStringList out;
    for (const QString& t : texts) {
        QString s = t;
        s.remove(noise);
        if (s.contains(latin)) out << t;
    }
    return out;
}

// Runs show(), which opens a modal window, and reads that window's texts before
// it is closed again.
QStringList textsOfModal(const std::function<void()>& show)
{
    QStringList seen;
    ui::whenModal([&](QDialog* d) {
        QTimer::singleShot(50, d, [&, d] {
            seen = visibleTexts(d);
            d->reject();
        });
    });
    show();
    return seen;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeScript(const QString& path, const QByteArray& body)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace

class TestDialogService : public QObject
{
    Q_OBJECT

private slots:
    void standardTextsAreChinese_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("mustShow");
        QTest::newRow("message") << "message" << QStringList{"确定"};
        QTest::newRow("question") << "question" << QStringList{"是(&Y)", "否(&N)"};
        QTest::newRow("ok or cancel") << "okCancel" << QStringList{"确定", "取消"};
        QTest::newRow("error") << "error" << QStringList{"确定"};
        QTest::newRow("hint") << "hint" << QStringList{"确定"};
        QTest::newRow("open file") << "open" << QStringList{"打开(&O)", "取消"};
        QTest::newRow("save file") << "save" << QStringList{"保存(&S)", "取消"};
        QTest::newRow("open picture") << "picture" << QStringList{"打开(&O)", "取消"};
        QTest::newRow("date picker") << "date" << QStringList{"确定", "取消"};
        QTest::newRow("print preview") << "preview" << QStringList{};
        QTest::newRow("text box menu") << "menu" << QStringList{};
    }
    void standardTextsAreChinese()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, mustShow);
        SystemDialogs sys;
        QTemporaryDir dir;
        QFile(dir.filePath("fybase.mdb")).open(QIODevice::WriteOnly);
        FileDialogSpec files;
        files.filter = QStringLiteral("数据库文件|*.mdb");
        QStringList seen;
        if (kind == "menu") {
            QLineEdit box;
            box.setText(QStringLiteral("文字"));
            std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
            seen = visibleTexts(menu.get());
        } else {
            seen = textsOfModal([&] {
                if (kind == "message") sys.message(nullptr, QStringLiteral("文件备份成功！"));
                if (kind == "question") sys.question(nullptr, QStringLiteral("确定退出吗？"));
                if (kind == "okCancel") sys.okCancel(nullptr, QStringLiteral("继续吗？"));
                if (kind == "error") sys.error(nullptr, QStringLiteral("出错了"));
                if (kind == "hint")
                    sys.hint(nullptr, QStringLiteral("提示信息："),
                             QStringLiteral("请确认是否安装Excel?"));
                if (kind == "open") sys.openFile(nullptr, files, dir.path());
                if (kind == "save") sys.saveFile(nullptr, files, dir.path());
                if (kind == "picture") {
                    FileDialogSpec pic;
                    pic.filter = QStringLiteral("图片文件|*.bmp;*.jpg");
                    pic.picture = true;
                    sys.openFile(nullptr, pic, dir.path());
                }
                if (kind == "date") {
                    QString day;
                    TdlgSelectRQ::pick(nullptr, day);
                }
                if (kind == "preview") {
                    DbGrid grid;
                    GridPrinter(&grid).preview(nullptr);
                }
            });
        }
        QVERIFY2(!seen.isEmpty(), "nothing to read");
        QVERIFY2(english(seen).isEmpty(), qPrintable(english(seen).join(" | ")));
        for (const QString& t : mustShow)
            QVERIFY2(seen.contains(t), qPrintable(t + " not in " + seen.join(" | ")));
    }

    // The desktop's program for the type is asked for first: without one the file
    // is not handed to xdg-open (which would fall back to a web browser).
    void openWithDesktopProgram_data()
    {
        QTest::addColumn<bool>("xdgOpen");
        QTest::addColumn<QString>("program"); // what xdg-mime names; "-": no xdg-mime
        QTest::addColumn<bool>("opens");
        QTest::newRow("no xdg-open") << false << "-" << false;
        QTest::newRow("no program for the type") << true << "" << false;
        QTest::newRow("program for the type") << true << "calc.desktop" << true;
        QTest::newRow("cannot ask for the program") << true << "-" << true;
    }
    void openWithDesktopProgram()
    {
        QFETCH(bool, xdgOpen);
        QFETCH(QString, program);
        QFETCH(bool, opens);
        QTemporaryDir bin;
        const QString log = bin.filePath("opened.log");
        if (xdgOpen)
            writeScript(bin.filePath("xdg-open"), "echo \"$1\" > '" + log.toUtf8() + "'\n");
        if (program != "-")
            writeScript(bin.filePath("xdg-mime"),
                        "[ \"$1 $2 $3\" = \"query default "
                        "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet\" ] "
                        "&& echo '" +
                            program.toUtf8() + "'\n");
        const QString file = bin.filePath("房源信息查询.xlsx");
        QFile(file).open(QIODevice::WriteOnly);
        ScopedEnv path("PATH", bin.path());
        QCOMPARE(openWithDesktop(file, bin.path()), opens);
        if (opens) {
            QTRY_COMPARE(readAll(log).trimmed(), file.toUtf8());
        } else {
            QTest::qWait(100);
            QVERIFY(!QFile::exists(log));
        }
    }
};

HALVORRA_TEST_MAIN(TestDialogService)
#include "tst_dialogs.moc"
