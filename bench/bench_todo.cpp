// The to-do window on 100,000 listings, 100,000 customers and 200,000 follow-up
// notes (one in ten with a reminder of the next follow-up, a quarter of those still
// open, for ten operators), on a file and on a server: the due list of one operator
// and of everyone, the records gone quiet for 30 days, and the time until the window
// shows both lists.
//   bench_todo [LISTINGS [CUSTOMERS [NOTES]]]
// With HALVORRA_BENCH_DIR set, the data are made in that folder (and in the server
// database halvorra_bench_todo) once and used again by later runs.
#include "bench/BenchSupport.h"
#include "data/BulkInsert.h"
#include "data/DatabaseCopy.h"
#include "data/Dmbasic.h"
#include "data/Reminders.h"
#include "session/PubVars.h"
#include "shell/App.h"
#include "todo/Frm_jrdb.h"
#include "todo/core/TodoList.h"
#include "tools/lib/DemoData.h"
#include "widgets/DbGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <ctime>

namespace
{

const int kOperators = 10;

QString staff(int i)
{
    return QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
}

// Ten operators, and a reminder on every tenth note: due within 30 days either side
// of now, a quarter still open.
void addReminders(const QString& location)
{
    Connection c(DbKind::Main);
    c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    Connection::Transaction t(c);
    BulkInsert ops(
        c, QStringLiteral("操作员档案"),
        {QStringLiteral("员工编号"), QStringLiteral("员工姓名"), QStringLiteral("功能组")});
    for (int i = 0; i < kOperators; ++i)
        ops.add({staff(i), QStringLiteral("员工%1").arg(i), QStringLiteral("普通操作员")});
    ops.finish();
    QList<QVector<QVariant>> notes;
    Statement st(c, QStringLiteral("SELECT \"编号\", \"表名\", \"档案号\" FROM \"跟进记录\" "
                                   "ORDER BY \"编号\""));
    int k = 0;
    while (st.step())
        if (k++ % 10 == 0) notes << QVector<QVariant>{st.value(0), st.value(1), st.value(2)};
    QRandomGenerator rng(20261210);
    const QDateTime now = QDateTime::currentDateTime();
    BulkInsert ins(c, Reminders::Table,
                   {QStringLiteral("跟进编号"), QStringLiteral("表名"), QStringLiteral("档案号"),
                    QStringLiteral("到期时间"), QStringLiteral("跟进人"), QStringLiteral("设置人"),
                    QStringLiteral("设置时间"), QStringLiteral("完成时间")});
    for (const QVector<QVariant>& n : notes) {
        const QString due =
            Reminders::stamp(now.addSecs(qint64(rng.bounded(-30 * 86400, 30 * 86400))));
        const QString who = staff(int(rng.bounded(kOperators)));
        const bool open = rng.bounded(4) == 0;
        ins.add({n[0], n[1], n[2], due, who, who, due, open ? QVariant() : QVariant(due)});
    }
    ins.finish();
    t.commit();
    std::printf("  %lld reminders on %d operators\n", ins.written(), kOperators);
}

void lists(const QString& location)
{
    Connection c(DbKind::Main);
    c.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    const QDateTime now = QDateTime::currentDateTime();
    int mine = 0, all = 0, quiet = 0;
    const double one =
        best(5, [&] { return ms([&] { mine = int(Todo::due(c, staff(3), now).size()); }); });
    const double every =
        best(5, [&] { return ms([&] { all = int(Todo::due(c, QString(), now).size()); }); });
    const double q = best(3, [&] {
        return ms(
            [&] { quiet = int(Todo::quiet(c, Todo::kDefaultQuietDays, now.date()).items.size()); });
    });
    std::printf("  due list of one operator: %d rows %7.1f ms; of everyone: %d rows %7.1f ms; "
                "gone quiet for 30 days: %d rows %7.1f ms\n",
                mine, one, all, every, quiet, q);
}

// The window as a senior operator opens it (his own reminders) and as he chooses
// everyone, until both grids show their rows.
void window(const QString& location)
{
    dmbasic = new Tdmbasic;
    dmbasic->adoCntnfybase.setDatabase(location, QString::fromLatin1(Schema::mainPassword()));
    dmbasic->adoCntnfybase.open();
    CurUser.YGBH = staff(3);
    CurUser.YGXM = QStringLiteral("员工3");
    CurUser.GNZ = Roles::Senior;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu = std::clock();
        auto* w = new TFrmJRDB;
        w->show();
        QApplication::processEvents();
        const double opened = t.nsecsElapsed() / 1e6;
        // This process's own processor time: on a busy machine the wall clock says more
        // about the other processes.
        const double openedCpu = double(std::clock() - cpu) * 1e3 / CLOCKS_PER_SEC;
        const int due = w->gridDue->model()->rowCount();
        const int quiet = w->gridQuiet->model()->rowCount();
        t.restart();
        w->cbCZY->setCurrentIndex(0); // 全部
        QApplication::processEvents();
        const double everyone = t.nsecsElapsed() / 1e6;
        std::printf("  window open (%d due, %d quiet shown): %7.1f ms (processor %6.1f ms); "
                    "everyone's (%d due): %7.1f ms\n",
                    due, quiet, opened, openedCpu, w->gridDue->model()->rowCount(), everyone);
        delete w;
    }
    delete dmbasic;
    dmbasic = nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    HalvorraApp app(argc, argv);
    const auto arg = [&](int i, int fallback) {
        return argc > i ? QString::fromLatin1(argv[i]).toInt() : fallback;
    };
    try {
        QTemporaryDir temp;
        const QString keep = qEnvironmentVariable("HALVORRA_BENCH_DIR");
        const QDir dir(keep.isEmpty() ? temp.path() : keep);
        const bool reuse = !keep.isEmpty() && dir.exists(QStringLiteral("fybase.mdb"));
        DemoData::Options o;
        o.listings = arg(1, 100000);
        o.customers = arg(2, 100000);
        o.notes = arg(3, 200000);
        o.monthsBack = 12;
        const QString path = dir.filePath(QStringLiteral("fybase.mdb"));
        BenchServer server;
        const QString name = QStringLiteral("halvorra_bench_todo");
        const QString db = reuse ? server.database(name) : server.freshDatabase(name);
        if (!reuse) {
            dir.mkpath(QStringLiteral("."));
            QElapsedTimer t;
            t.start();
            DemoData::createDemoPair(dir.path(), o);
            std::printf("demo pair with %d listings, %d customers, %d notes made in %.1f s\n",
                        o.listings, o.customers, o.notes, t.elapsed() / 1000.0);
            addReminders(path);
            t.restart();
            DatabaseCopy::copy(path, db);
            std::printf("copied to the server in %.1f s\n", t.elapsed() / 1000.0);
            // What the server's autovacuum does within a minute of the copy: without the
            // statistics it plans the quiet list as if the tables were empty (seconds).
            Connection c(DbKind::Main);
            c.setDatabase(db, QString());
            c.open();
            c.run(QStringLiteral("ANALYZE"));
        }
        for (const QString& location : {path, db}) {
            std::printf("%s:\n", cliName(location));
            lists(location);
            window(location);
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
