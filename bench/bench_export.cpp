// Time of the spreadsheet export: 10,000 listings x 15 columns laid out and
// written as an .xlsx, the way the export window does it.
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "export/core/ExportLayout.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    DemoData::Options o;
    o.listings = rows;
    o.customers = 0;
    DemoData::createDemoPair(dir.path(), o);

    Connection conn(DbKind::Main);
    conn.setDatabase(QDir(dir.path()).filePath(QStringLiteral("fybase.mdb")),
                     QString::fromLatin1(Schema::mainPassword()));
    conn.open();
    Query q(&conn);
    q.addSql(QStringLiteral("select * from 房屋信息 "));
    q.open();

    const QStringList names = {"档案号",   "小区名称", "地址",     "楼层",     "户型",
                               "位置",     "方式",     "权属",     "类型",     "期限",
                               "录入日期", "新旧程度", "房屋面积", "信息价格", "电话"};
    QList<ExportField> fields;
    for (const QString& n : names)
        fields << ExportField{n, n};

    QElapsedTimer t;
    t.start();
    SpreadsheetApp excel(dir.path());
    Worksheet& sheet = excel.addWorkbook().worksheets(1);
    sheet.setName(QStringLiteral("数据库信息"));
    ExportLayout::writeHeader(sheet, fields, q);
    const int r =
        ExportLayout::writeRows(sheet, fields, q, QStringLiteral("张三"), QStringLiteral("261209"));
    ExportLayout::finish(sheet, int(fields.size()), r, QStringLiteral("房源信息查询"));
    const qint64 laidOut = t.elapsed();
    excel.setVisible(true);
    const qint64 total = t.elapsed();

    const QString file = excel.files().value(0);
    std::printf("export %d rows x %d columns: layout %lld ms, file written %lld ms, total %lld ms "
                "(%lld KB)\n",
                q.recordCount(), int(fields.size()), laidOut, total - laidOut, total,
                QFileInfo(file).size() / 1024);
    return 0;
}
