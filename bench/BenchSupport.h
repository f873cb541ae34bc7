#pragma once
// What the benchmarks share: a PostgreSQL server to run on, and each engine's own
// command line running a statement, for the side-by-side figures.
//   HALVORRA_TEST_SERVER set (as by ./test.sh): that server is used; otherwise a
//   throwaway one is started with scripts/pg-test-server.sh and stopped at the end.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DbLocation.h"
#include "data/Schema.h"
#include "tools/lib/DemoData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QVariant>
#include <cstdio>
#include <functional>

// The least of `runs` timings.
inline double best(int runs, const std::function<double()>& f)
{
    double b = 1e300;
    for (int i = 0; i < runs; ++i)
        b = std::min(b, f());
    return b;
}

// Milliseconds `f` takes.
inline double ms(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

class BenchServer
{
public:
    BenchServer()
    {
        m_prefix = qEnvironmentVariable("HALVORRA_TEST_SERVER");
        if (!m_prefix.isEmpty()) return;
        QProcess p;
        p.start(QStringLiteral(HALVORRA_SOURCE_DIR "/scripts/pg-test-server.sh"),
                {QStringLiteral("start")});
        p.waitForFinished(120000);
        const QStringList lines =
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        if (p.exitCode() != 0 || lines.size() != 2)
            throw DbError(QStringLiteral("no server: ") +
                          QString::fromUtf8(p.readAllStandardError()));
        m_dir = lines[0];
        m_prefix = lines[1];
    }
    ~BenchServer()
    {
        if (m_dir.isEmpty()) return;
        QProcess::execute(QStringLiteral(HALVORRA_SOURCE_DIR "/scripts/pg-test-server.sh"),
                          {QStringLiteral("stop"), m_dir});
    }
    // The address of database `name`, made anew (emptied of an earlier run's rows).
    QString freshDatabase(const QString& name)
    {
        Connection c(DbKind::Main);
        c.setDatabase(m_prefix + QStringLiteral("postgres"), QString());
        c.openRaw();
        c.run(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name));
        m_made.removeAll(name);
        return database(name);
    }
    // The address of database `name` (made when missing).
    QString database(const QString& name)
    {
        if (!m_made.contains(name)) {
            Connection c(DbKind::Main);
            c.setDatabase(m_prefix + QStringLiteral("postgres"), QString());
            c.openRaw();
            Statement st(c, QStringLiteral("SELECT count(*) FROM pg_database WHERE datname=?"));
            st.bind(1, name);
            st.step();
            if (st.value(0).toInt() == 0) c.run(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
            m_made << name;
        }
        return m_prefix + name;
    }
    // Whether the database at `location` holds our tables.
    static bool hasTables(const QString& location)
    {
        Connection c(DbKind::Main);
        c.setDatabase(location, QString());
        c.openRaw();
        return !c.tableNames().isEmpty();
    }

private:
    QString m_dir, m_prefix;
    QStringList m_made;
};

// Seconds the engine's own command line takes for `sql` on the database at
// `location` (starting, opening, running, writing every row to /dev/null).
inline double cliSeconds(const QString& location, const QString& sql)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    if (DbLocation::isServer(location)) {
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                 QStringLiteral("-t"), QStringLiteral("-d"), location, QStringLiteral("-c"), sql});
        p.waitForFinished(-1);
    } else {
        p.start(QStringLiteral("sqlcipher"), {location});
        p.waitForStarted();
        p.write(QStringLiteral("PRAGMA key='%1';\n%2;\n")
                    .arg(QString::fromLatin1(Schema::mainPassword()), sql)
                    .toUtf8());
        p.closeWriteChannel();
        p.waitForFinished(-1);
    }
    return t.nsecsElapsed() / 1e9;
}

inline const char* cliName(const QString& location)
{
    return DbLocation::isServer(location) ? "psql" : "sqlcipher";
}

// The main file of a demo pair of 100,000 listings and 1,000 customers, in the
// folder given as the program's first argument or in one the benchmarks share;
// the pair is made when the folder holds none.
inline QString demoFile100k(int argc, char** argv)
{
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QDir::tempPath() + QStringLiteral("/halvorra-bench-100k");
    const QString file = dir + QStringLiteral("/fybase.mdb");
    if (!QFile::exists(file)) {
        std::printf("making a demo pair of 100,000 listings in %s ...\n", qPrintable(dir));
        DemoData::Options o;
        o.listings = 100000;
        o.customers = 1000;
        DemoData::createDemoPair(dir, o);
    }
    return file;
}
