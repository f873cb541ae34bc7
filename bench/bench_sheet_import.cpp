// Spreadsheet import figures: a 100,000-row workbook read (time and the peak
// memory it adds), 10,000 rows of .xlsx imported into a register of 100,000
// listings (read, check with likely duplicates, write), and the likely-duplicate
// lookup of one save against those 100,000 listings. Main database: a file.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "duplicates/core/LikelyDuplicates.h"
#include "sheetimport/core/SheetImport.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <xlsxwriter.h>

namespace
{

// The process's peak resident memory in KB, and its reset (Linux: VmHWM).
long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}
// CPU seconds of this process so far (the machine may be shared with other work).
double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

// A workbook of `rows` listings as an office keeps them: estate, address, area
// with its unit, prices in 万, mode words, owner and mobile; all different.
void writeWorkbook(const QString& path, int rows, int offset)
{
    // Rows go straight to the file, so writing the workbook does not raise the
    // process's peak memory before the read is measured.
    lxw_workbook_options opts{};
    opts.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(path).constData(), &opts);
    lxw_worksheet* s = workbook_add_worksheet(book, nullptr);
    const char* header[] = {"小区", "地址", "面积", "楼层", "户型", "售价",    "位置",
                            "方式", "权属", "业主", "手机", "底价", "登记日期"};
    for (int c = 0; c < 13; ++c)
        worksheet_write_string(s, 0, lxw_col_t(c), header[c], nullptr);
    for (int r = 1; r <= rows; ++r) {
        const int n = offset + r;
        const QByteArray estate = QStringLiteral("导入小区%1").arg(n % 997).toUtf8();
        const QByteArray address =
            QStringLiteral("导入路%1号%2栋%3室").arg(n).arg(n % 30).arg(n % 400).toUtf8();
        const QByteArray mobile = QStringLiteral("1990%1").arg(n, 7, 10, QLatin1Char('0')).toUtf8();
        worksheet_write_string(s, lxw_row_t(r), 0, estate.constData(), nullptr);
        worksheet_write_string(s, lxw_row_t(r), 1, address.constData(), nullptr);
        worksheet_write_string(s, lxw_row_t(r), 2,
                               QByteArray::number(40 + n % 150).append("㎡").constData(), nullptr);
        worksheet_write_string(s, lxw_row_t(r), 3, "中层", nullptr);
        worksheet_write_string(s, lxw_row_t(r), 4, "两室一厅", nullptr);
        worksheet_write_number(s, lxw_row_t(r), 5, 50 + n % 300, nullptr);
        worksheet_write_string(s, lxw_row_t(r), 6, "城东", nullptr);
        worksheet_write_string(s, lxw_row_t(r), 7, n % 3 ? "卖" : "租", nullptr);
        worksheet_write_string(s, lxw_row_t(r), 8, "商品房", nullptr);
        worksheet_write_string(s, lxw_row_t(r), 9, "业主", nullptr);
        worksheet_write_string(s, lxw_row_t(r), 10, mobile.constData(), nullptr);
        worksheet_write_string(s, lxw_row_t(r), 11, "40万", nullptr);
        // Spread over 40 days of 2020, when the register has no listings, so no
        // day runs out of archive numbers.
        const QByteArray day = QDate(2020, 1, 1).addDays(n % 40).toString(Qt::ISODate).toUtf8();
        worksheet_write_string(s, lxw_row_t(r), 12, day.constData(), nullptr);
    }
    workbook_close(book);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        QTemporaryDir dir;
        const QString big = dir.filePath(QStringLiteral("big.xlsx"));
        const QString ten = dir.filePath(QStringLiteral("ten.xlsx"));
        writeWorkbook(big, 100000, 0);
        writeWorkbook(ten, 10000, 500000);

        // 1. Reading 100,000 rows.
        resetPeak();
        const long before = peakKb();
        QElapsedTimer t;
        t.start();
        double cpu = cpuMs();
        {
            const SheetReader::Table table = SheetReader::read(big);
            std::printf("read 100,000-row .xlsx (%lld KB): %.0f ms (%.0f ms CPU), %lld rows, "
                        "peak memory +%ld MB\n",
                        QFile(big).size() / 1024, msSince(t), cpuMs() - cpu,
                        qlonglong(table.rows.size()), (peakKb() - before) / 1024);
        }

        // 2. 10,000 rows into 100,000 listings.
        DemoData::Options o;
        o.listings = 100000;
        o.customers = 10;
        o.notes = 0;
        t.restart();
        DemoData::createDemoPair(dir.path(), o);
        std::printf("demo database of 100,000 listings made in %.1f s\n", msSince(t) / 1000);
        Connection main(DbKind::Main);
        main.setDatabase(dir.filePath(QStringLiteral("fybase.mdb")),
                         QString::fromLatin1(Schema::mainPassword()));
        main.open();
        SheetImport::Options io;
        io.company = SheetImport::companyCode(main);
        io.today = QDate::currentDate().toString(QStringLiteral("yyMMdd"));
        io.source = ten;
        QElapsedTimer all;
        all.start();
        cpu = cpuMs();
        t.restart();
        const SheetReader::Table table = SheetReader::read(ten);
        const double read = msSince(t);
        t.restart();
        const SheetImport::Mapping m = SheetImport::guess(SheetImport::Register::Listings, table);
        SheetImport::Plan plan = SheetImport::check(main, table, m, io);
        const double checked = msSince(t);
        t.restart();
        const int written = SheetImport::write(main, plan, io);
        const double wrote = msSince(t);
        std::printf("import 10,000 rows into 100,000 listings: %.0f ms, %.0f ms CPU (read %.0f, "
                    "check and duplicates %.0f, write %.0f); %d written, %d refused, %d likely "
                    "duplicates (goal < 2000 ms)\n",
                    msSince(all), cpuMs() - cpu, read, checked, wrote, written,
                    plan.count(SheetImport::Action::Refused),
                    plan.count(SheetImport::Action::Duplicate));

        t.restart();
        cpu = cpuMs();
        const int stored = LikelyDuplicates::storedListings(main).size();
        std::printf("  (the register's %d listings read into the duplicate index alone: %.0f ms, "
                    "%.0f ms CPU)\n",
                    stored, msSince(t), cpuMs() - cpu);

        // 3. One save's lookup against the register (110,000 listings now).
        const int saves = 200;
        double worst = 0, sum = 0, cpuSum = 0;
        int hits = 0;
        for (int i = 0; i < saves; ++i) {
            const LikelyDuplicates::Listing l{
                QString(),
                QStringLiteral("导入小区%1").arg(i % 997),
                QStringLiteral("导入路%1号").arg(500001 + i),
                QString(),
                QStringLiteral("199-0%1").arg(i, 6, 10, QLatin1Char('0')),
                double(40 + i % 150)};
            t.restart();
            const double c0 = cpuMs();
            hits += int(LikelyDuplicates::listingsLike(main, l).size());
            const double one = msSince(t);
            cpuSum += cpuMs() - c0;
            sum += one;
            worst = std::max(worst, one);
        }
        std::printf("likely-duplicate lookup at one save, %d saves against 110,000 listings: "
                    "%.1f ms average (%.1f ms CPU), %.1f ms worst, %d found (goal <= 50 ms)\n",
                    saves, sum / saves, cpuSum / saves, worst, hits);
    } catch (const DbError& e) {
        std::fprintf(stderr, "bench_sheet_import: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    return 0;
}
