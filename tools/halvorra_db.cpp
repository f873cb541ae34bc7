// halvorra-db: makes database pairs for Halvorra.
//   halvorra-db create DIR                      a new, empty pair for an office
//   halvorra-db demo DIR [--listings N] [--customers M] [--company CODE]
//                                               a pair filled with generated data
#include "data/DbError.h"
#include "tools/lib/DemoData.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

static int usage()
{
    std::fputs("用法：\n"
               "  halvorra-db create DIR\n"
               "  halvorra-db demo DIR [--listings N] [--customers M] [--company CODE]\n",
               stderr);
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return usage();
    const QString cmd = args[0];
    const QString dir = args[1];
    try {
        if (cmd == QLatin1String("create")) {
            if (args.size() != 2) return usage();
            DemoData::createPair(dir);
        } else if (cmd == QLatin1String("demo")) {
            DemoData::Options o;
            for (int i = 2; i < args.size(); ++i) {
                if (i + 1 >= args.size()) return usage();
                bool ok = true;
                if (args[i] == QLatin1String("--listings"))
                    o.listings = args[++i].toInt(&ok);
                else if (args[i] == QLatin1String("--customers"))
                    o.customers = args[++i].toInt(&ok);
                else if (args[i] == QLatin1String("--company"))
                    o.companyCode = args[++i];
                else
                    return usage();
                if (!ok) return usage();
            }
            DemoData::createDemoPair(dir, o);
        } else {
            return usage();
        }
    } catch (const DbError& e) {
        std::fprintf(stderr, "halvorra-db: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    std::printf("%s/fybase.mdb\n%s/fyExp.mdb\n", dir.toUtf8().constData(),
                dir.toUtf8().constData());
    return 0;
}
