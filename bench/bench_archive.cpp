// Time for 100 listing saves of the entry window (archive number + insert, one
// immediate transaction each) and 100 of the record card (a new price on a row of
// a result) into a table that already holds 1,000 listings and into one that holds
// 1,000,000, side by side, each with the history kept and without it, with the
// query plan of the sequence lookup.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "registers/core/ArchiveNumber.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace
{

const QString kCompany = QStringLiteral("001");
const QString kDay = QStringLiteral("261209");
constexpr int kSaves = 100;
constexpr int kSameDay =
    500; // listings the company already has on the day of the saves // listings the company already
         // has on the day of the saves (room for 6 rounds)

std::unique_ptr<Connection> openMain(const QString& path)
{
    auto c = std::make_unique<Connection>(DbKind::Main);
    c->setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
    c->open();
    return c;
}

// `total` listings: kSameDay of them for the company and day of the saves, the rest
// spread over 20 other companies and many days, 500 a day each.
void populate(const QString& path, int total)
{
    auto c = openMain(path);
    Connection::Transaction tx(*c);
    Statement st(
        *c, QStringLiteral("INSERT INTO 房屋信息 (档案号,小区名称,地址,楼层,户型,位置,方式,"
                           "类型,公司编号,录入日期,序号,房屋面积,信息价格,最低价格) "
                           "VALUES (?,?,?,'中层','两室一厅','城东','出售','有效',?,?,?,?,?,?)"));
    const QDate first(2016, 1, 1);
    for (int i = 0; i < total; ++i) {
        QString company, date;
        int seq;
        if (i < kSameDay) {
            company = kCompany;
            date = kDay;
            seq = i + 1;
        } else {
            const int k = i - kSameDay;
            const int group = k / 500; // one (company, day) per 500 rows
            company = QStringLiteral("1%1").arg(group % 20, 2, 10, QLatin1Char('0'));
            date = first.addDays(group / 20).toString(QStringLiteral("yyMMdd"));
            seq = k % 500 + 1;
        }
        const QString s = QStringLiteral("%1").arg(seq, 3, 10, QLatin1Char('0'));
        st.reset();
        st.bind(1, company + date + s);
        st.bind(2, QStringLiteral("小区%1").arg(i % 997));
        st.bind(3, QStringLiteral("人民路 %1 号").arg(i % 211));
        st.bind(4, company);
        st.bind(5, date);
        st.bind(6, s);
        st.bind(7, 60.0 + i % 90);
        st.bind(8, 300000.0 + i % 5000);
        st.bind(9, 280000.0 + i % 5000);
        st.step();
        if ((i + 1) % 100000 == 0) {
            printf("  %d listings written\n", i + 1);
            fflush(stdout);
        }
    }
    tx.commit();
}

QString plan(Connection& c)
{
    const QString sql = c.translate(
        ArchiveNumber::maxSequenceStatement(QStringLiteral("房屋信息"), kCompany, kDay).join('\n'));
    return c.plan(sql).replace(QLatin1Char('\n'), QStringLiteral(" | "));
}

// Milliseconds of 100 saves of each kind.
struct Round {
    double inserts = 0, changes = 0;
};

struct Result {
    Round off, on; // history off and on, averaged over the rounds
    QString plan;
    QString lastNumber;
};

// One save timed with the history kept or not, added to that side of the round.
template <typename F> void timed(Connection& c, bool keep, double& ms, F&& save)
{
    c.setKeepsRecords(keep);
    QElapsedTimer t;
    t.start();
    save();
    ms += double(t.nsecsElapsed()) / 1e6;
}

// 2 × 100 saves of the entry window on `day` (archive number and insert), with and
// without the history in turn.
void timeInserts(Connection& c, const QString& day, int round, Round& off, Round& on,
                 QString& lastNumber)
{
    Query row(&c), lookup(&c);
    row.addSql(QStringLiteral("select * from 房屋信息 "));
    row.addSql(QStringLiteral("where 档案号=\"\" "));
    row.open();
    for (int i = 0; i < 2 * kSaves; ++i) {
        row.append();
        row.setValue(QStringLiteral("小区名称"), QStringLiteral("基准小区"));
        row.setValue(QStringLiteral("公司编号"), kCompany);
        row.setValue(QStringLiteral("录入日期"), day);
        row.setValue(QStringLiteral("房屋面积"), 88.0);
        const bool keep = (i + round) % 2 == 1;
        timed(c, keep, keep ? on.inserts : off.inserts, [&] {
            lastNumber = ArchiveNumber::numberAndPost(row, lookup, kCompany, day).archiveNumber;
        });
    }
}

// 2 × 100 saves of the record card, with and without the history in turn: a new
// price on a row of a query window's result (the 500 listings of another company
// on one day).
void timeChanges(Connection& c, int round, Round& off, Round& on)
{
    Query rows(&c);
    rows.addSql(QStringLiteral("select * from 房屋信息 "));
    rows.addSql(QStringLiteral("where 公司编号='100' and 录入日期='160101' "));
    rows.open();
    for (int i = 0; i < 2 * kSaves; ++i) {
        rows.setRecNo(i);
        rows.edit();
        rows.setValue(QStringLiteral("信息价格"), 400000.0 + round * 1000 + i);
        const bool keep = (i + round) % 2 == 1;
        timed(c, keep, keep ? on.changes : off.changes, [&] { rows.post(); });
    }
}

// Saves with the history kept and without it alternate one by one (which of the
// two goes first changes from round to round), so a disturbance of the machine
// falls on both alike; the rounds are averaged. The entry saves of the first round
// go to the day that has kSameDay listings already, those of each later round to a
// day of their own (at most 999 numbers a day).
Result timeSaves(const QString& path)
{
    auto c = openMain(path);
    c->setActor({QStringLiteral("00001"), QStringLiteral("bench")});
    Result r;
    r.plan = plan(*c);
    constexpr int kRounds = 6;
    const QDate first = QDate::fromString(QStringLiteral("20") + kDay, QStringLiteral("yyyyMMdd"));
    for (int round = 0; round < kRounds; ++round) {
        const QString day = first.addDays(round).toString(QStringLiteral("yyMMdd"));
        timeInserts(*c, day, round, r.off, r.on, r.lastNumber);
        timeChanges(*c, round, r.off, r.on);
    }
    for (Round* side : {&r.off, &r.on}) {
        side->inserts /= kRounds;
        side->changes /= kRounds;
    }
    return r;
}

Result run(const QString& root, int total)
{
    const QString dir = QDir(root).filePath(QString::number(total));
    DemoData::createPair(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("fybase.mdb"));
    printf("Filling a table with %d listings ...\n", total);
    fflush(stdout);
    QElapsedTimer t;
    t.start();
    populate(path, total);
    printf("  done in %.1f s\n", double(t.elapsed()) / 1000.0);
    return timeSaves(path);
}

double percent(double off, double on)
{
    return (on / off - 1.0) * 100.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    try {
        const Result small = run(root.path(), 1000);
        const Result big = run(root.path(), 1000000);
        printf("\nSequence lookup plan: %s\n\n", qPrintable(big.plan));
        printf("%-34s %14s %14s\n", "", "1,000 rows", "1,000,000 rows");
        const auto line = [](const char* what, double a, double b) {
            printf("%-34s %11.1f ms %11.1f ms\n", what, a, b);
        };
        const auto cost = [](const char* what, double a, double b) {
            printf("%-34s %12.1f %% %12.1f %%\n", what, a, b);
        };
        line("100 entry saves, history off", small.off.inserts, big.off.inserts);
        line("100 entry saves, history on", small.on.inserts, big.on.inserts);
        cost("  history costs", percent(small.off.inserts, small.on.inserts),
             percent(big.off.inserts, big.on.inserts));
        line("100 card saves, history off", small.off.changes, big.off.changes);
        line("100 card saves, history on", small.on.changes, big.on.changes);
        cost("  history costs", percent(small.off.changes, small.on.changes),
             percent(big.off.changes, big.on.changes));
        printf("%-34s %14s %14s\n", "last archive number", qPrintable(small.lastNumber),
               qPrintable(big.lastNumber));
        const double ratio = big.off.inserts / small.off.inserts;
        printf("\nratio 1,000,000 / 1,000 (entry saves): %.2f (%s)\n", ratio,
               ratio <= 2.0 ? "within 2x" : "NOT within 2x");
        double worst = 0;
        for (const Result* r : {&small, &big})
            worst = std::max({worst, percent(r->off.inserts, r->on.inserts),
                              percent(r->off.changes, r->on.changes)});
        const bool cheap = worst <= 20.0;
        printf("history costs at most 20 %%: %s (worst %.1f %%)\n", cheap ? "yes" : "NO", worst);
        const bool seek = big.plan.contains(QStringLiteral("SEARCH")) &&
                          big.plan.contains(QStringLiteral("房屋信息_序号"));
        printf("lookup is an index seek: %s\n", seek ? "yes" : "NO");
        return seek && cheap ? 0 : 1;
    } catch (const DbError& e) {
        fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 2;
    }
}
