// halvorra-db: makes, fills and moves Halvorra's databases.
//   halvorra-db create DIR|URI       a new, empty pair of files for an office, or the
//                                    tables of an empty server database
//   halvorra-db demo DIR|URI [--listings N] [--customers M] [--notes K] [--company CODE]
//                                    the same filled with generated data
//   halvorra-db copy SOURCE TARGET   a whole main database from a file to a server or
//                                    back, row for row, into an empty target
//   halvorra-db import MAIN (--listings|--customers) FILE [...]
//                                    listings or customers from a spreadsheet
//   halvorra-db upgrade MAIN         brings a main database to this program's layout
//                                    now, rather than at the next login
// URI: postgresql://user@host:port/dbname (the password from ~/.pgpass or PGPASSWORD).
#include "data/DatabaseCopy.h"
#include "data/DbError.h"
#include "data/DbLocation.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "sheetimport/core/SheetReader.h"
#include "tools/lib/DemoData.h"
#include "tools/lib/ImportCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace
{

int usage()
{
    std::fputs("用法：\n"
               "  halvorra-db create DIR|URI\n"
               "  halvorra-db demo DIR|URI [--listings N] [--customers M] [--notes K]\n"
               "                           [--company CODE]\n"
               "  halvorra-db copy SOURCE TARGET\n"
               "  halvorra-db upgrade MAIN\n",
               stderr);
    std::fputs(ImportCommand::usage(), stderr);
    std::fputs("DIR 是一对数据库文件（fybase.mdb、fyExp.mdb）所在的文件夹；\n"
               "URI 是服务器上的数据库，如 postgresql://user@host:5432/dbname\n"
               "（密码写在 ~/.pgpass 中，或用 PGPASSWORD 给出）。\n",
               stderr);
    return 2;
}

void print(const QString& s)
{
    std::fputs(s.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

// The options after the location; false on anything not understood.
bool parseDemo(const QStringList& args, DemoData::Options& o)
{
    for (int i = 2; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return false;
        bool ok = true;
        if (args[i] == QLatin1String("--listings"))
            o.listings = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--customers"))
            o.customers = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--notes"))
            o.notes = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--company"))
            o.companyCode = args[++i];
        else
            return false;
        if (!ok) return false;
    }
    return true;
}

void printPair(const QString& dir)
{
    print(QDir(dir).filePath(QStringLiteral("fybase.mdb")));
    print(QDir(dir).filePath(QStringLiteral("fyExp.mdb")));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return usage();
    const QString cmd = args[0];
    const QString where = args[1];
    const bool server = DbLocation::isServer(where);
    try {
        if (cmd == QLatin1String("create")) {
            if (args.size() != 2) return usage();
            if (server) {
                Schema::createMainDatabase(where);
                print(DbLocation::display(where));
            } else {
                DemoData::createPair(where);
                printPair(where);
            }
        } else if (cmd == QLatin1String("demo")) {
            DemoData::Options o;
            if (!parseDemo(args, o)) return usage();
            DemoData::check(o);
            if (server) {
                DemoData::createDemo(where, o);
                print(DbLocation::display(where));
            } else {
                DemoData::createDemoPair(where, o);
                printPair(where);
            }
        } else if (cmd == QLatin1String("copy")) {
            if (args.size() != 3) return usage();
            const auto counts = DatabaseCopy::copy(where, args[2]);
            long long total = 0;
            for (const auto& c : counts) {
                print(QStringLiteral("%1\t%2").arg(c.table).arg(c.rows));
                total += c.rows;
            }
            print(QStringLiteral("共 %1 条记录：%2 → %3")
                      .arg(total)
                      .arg(DbLocation::display(where), DbLocation::display(args[2])));
        } else if (cmd == QLatin1String("upgrade")) {
            if (args.size() != 2) return usage();
            // A large database takes a while once: done here, at night, the first
            // login of the morning does not wait for it.
            QString main = where;
            if (!server && QFileInfo(main).isDir())
                main = QDir(main).filePath(QStringLiteral("fybase.mdb"));
            Connection c(DbKind::Main);
            c.setDatabase(main, QString::fromLatin1(Schema::mainPassword()));
            c.open();
            const int found = SchemaUpgrade::upgrade(c);
            print(found < Schema::kLayoutVersion
                      ? QStringLiteral("数据库已从版本 %1 升级到版本 %2：%3")
                            .arg(found)
                            .arg(Schema::kLayoutVersion)
                            .arg(DbLocation::display(main))
                      : QStringLiteral("数据库已是版本 %1，无需升级：%2")
                            .arg(Schema::kLayoutVersion)
                            .arg(DbLocation::display(main)));
        } else if (cmd == QLatin1String("import")) {
            const int rc = ImportCommand::run(args.mid(1));
            return rc == 2 ? usage() : rc;
        } else {
            return usage();
        }
    } catch (const SheetReader::Cancelled&) {
        return 1;
    } catch (const DbError& e) {
        std::fprintf(stderr, "halvorra-db: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    return 0;
}
