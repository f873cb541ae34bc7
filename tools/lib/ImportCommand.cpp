#include "tools/lib/ImportCommand.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "sheetimport/core/SheetImport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <cstdio>

namespace ImportCommand
{

namespace
{

void out(const QString& s)
{
    std::fputs(s.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

struct Args {
    QString main, file, mapping, sheet;
    SheetImport::Options o;
    bool registerGiven = false, dryRun = false, strict = false;
};

bool parse(const QStringList& args, Args& a)
{
    QStringList plain;
    for (int i = 0; i < args.size(); ++i) {
        const QString& w = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (w == QLatin1String("--listings") || w == QLatin1String("--customers")) {
            if (a.registerGiven) return false;
            a.registerGiven = true;
            a.o.reg = w == QLatin1String("--listings") ? SheetImport::Register::Listings
                                                       : SheetImport::Register::Customers;
        } else if (w == QLatin1String("--mapping")) {
            if (!value(a.mapping)) return false;
        } else if (w == QLatin1String("--sheet")) {
            if (!value(a.sheet)) return false;
        } else if (w == QLatin1String("--price-unit")) {
            QString unit;
            if (!value(unit)) return false;
            if (unit == QStringLiteral("元"))
                a.o.unit = SheetImport::PriceUnit::Yuan;
            else if (unit == QStringLiteral("万元"))
                a.o.unit = SheetImport::PriceUnit::TenThousand;
            else
                return false;
        } else if (w == QLatin1String("--dry-run")) {
            a.dryRun = true;
        } else if (w == QLatin1String("--strict")) {
            a.strict = true;
        } else if (w == QLatin1String("--keep-duplicates")) {
            a.o.keepDuplicates = true;
        } else if (w == QLatin1String("--add-dictionary-values")) {
            a.o.addDictionaryValues = true;
        } else if (w.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            plain << w;
        }
    }
    if (plain.size() != 2 || !a.registerGiven) return false;
    a.main = plain[0];
    a.file = plain[1];
    return true;
}

QString rowLine(const SheetImport::Row& r)
{
    QStringList parts{QStringLiteral("第 %1 行").arg(r.sheetRow),
                      SheetImport::actionText(r.action)};
    if (!r.archive.isEmpty()) parts << r.archive;
    if (!r.column.isEmpty()) parts << QStringLiteral("“%1”").arg(r.column);
    if (!r.reason.isEmpty()) parts << r.reason;
    return parts.join(u'\t');
}

} // namespace

const char* usage()
{
    return "  halvorra-db import MAIN (--listings|--customers) FILE [--mapping M] [--dry-run]\n"
           "                   [--strict] [--price-unit 元|万元] [--sheet NAME]\n"
           "                   [--keep-duplicates] [--add-dictionary-values]\n";
}

int run(const QStringList& args)
{
    Args a;
    if (!parse(args, a)) return 2;
    // A folder stands for the main database file in it, as create and demo make it.
    if (QFileInfo(a.main).isDir()) a.main = QDir(a.main).filePath(QStringLiteral("fybase.mdb"));
    Connection main(DbKind::Main);
    main.setDatabase(a.main, QString::fromLatin1(Schema::mainPassword()));
    main.open();
    main.setActor({QString(), QSysInfo::machineHostName()});
    a.o.company = SheetImport::companyCode(main);
    a.o.today = QDate::currentDate().toString(QStringLiteral("yyMMdd"));
    a.o.source = QFileInfo(a.file).absoluteFilePath();

    SheetReader::Options ro;
    ro.sheet = a.sheet;
    const SheetReader::Table table = SheetReader::read(a.file, ro);
    SheetImport::Mapping m = SheetImport::guess(a.o.reg, table);
    if (!a.mapping.isEmpty()) SheetImport::applyMappingFile(a.o.reg, a.mapping, m);
    out(QStringLiteral("工作表“%1”，标题在第 %2 行：")
            .arg(table.sheet)
            .arg(table.rowNumbers[m.headerRow]));
    for (int i = 0; i < m.headers.size(); ++i)
        if (!m.headers[i].trimmed().isEmpty())
            out(QStringLiteral("  %1 → %2")
                    .arg(m.headers[i].trimmed(), i < m.columns.size() && !m.columns[i].isEmpty()
                                                     ? m.columns[i]
                                                     : SheetImport::skipWord()));

    SheetImport::Plan plan = SheetImport::check(main, table, m, a.o);
    for (auto d = plan.unknown.cbegin(); d != plan.unknown.cend(); ++d)
        for (auto v = d.value().cbegin(); v != d.value().cend(); ++v)
            out(QStringLiteral("%1中没有“%2”（%3 行）%4")
                    .arg(d.key(), v.key())
                    .arg(v.value())
                    .arg(a.o.addDictionaryValues ? QStringLiteral("，将加入字典") : QString()));
    const int refused = plan.count(SheetImport::Action::Refused);
    const bool nothing = a.strict && refused > 0;
    if (a.dryRun && !nothing) SheetImport::previewNumbers(main, plan, a.o);
    int written = 0;
    if (!a.dryRun && !nothing) written = SheetImport::write(main, plan, a.o);
    for (const SheetImport::Row& r : std::as_const(plan.rows))
        if (a.dryRun || r.action != SheetImport::Action::Import) out(rowLine(r));
    const QString counts =
        QStringLiteral("拒绝 %1 条，可能重复跳过 %2 条，档案号已存在跳过 %3 条。")
            .arg(refused)
            .arg(plan.count(SheetImport::Action::Duplicate))
            .arg(plan.count(SheetImport::Action::Exists));
    if (nothing) {
        out(QStringLiteral("有 %1 行被拒绝，按 --strict 没有导入任何记录。%2")
                .arg(refused)
                .arg(counts));
        return 1;
    }
    if (a.dryRun)
        out(QStringLiteral("试运行：将导入 %1 条，%2没有写入任何记录。")
                .arg(plan.count(SheetImport::Action::Import))
                .arg(counts));
    else
        out(QStringLiteral("已导入 %1 条，%2").arg(written).arg(counts));
    return 0;
}

} // namespace ImportCommand
