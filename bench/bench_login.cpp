// The login's check of the main database file on 100,000 listings: opening it
// (one of ours), and the check that every page is sound and the file can be
// written, beside the other ways of checking the pages the engine offers. Each
// figure with the file in the page cache (warm) and read from the disk (cold:
// the file's cached pages dropped first).
// First, what the password hash adds to a login: making and checking one hash,
// and the whole attempt (lock, operator row, hash, log) beside the plain text
// comparison of old.
//   bench_login [DIR]   (DIR is made with 100,000 listings when it holds no pair,
//                        and 1,000 customers, as `halvorra-db demo DIR --listings
//                        100000 --customers 1000` makes it)
//   bench_login --hash  (the password part only)
#include "app/core/LoginCheck.h"
#include "bench/BenchSupport.h"
#include "data/PasswordHash.h"
#include "data/Query.h"
#include "data/SecurityTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace
{

// Drops the file's pages from the page cache, so the next read comes from the disk.
void dropCache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// Best of three runs of `f` on a connection opened beforehand (not timed), warm
// and cold.
void measure(const char* what, const QString& path, const std::function<void(Connection&)>& f,
             bool timeOpen = false)
{
    double best[2] = {1e9, 1e9};
    for (int cold = 0; cold < 2; ++cold) {
        for (int run = 0; run < 3; ++run) {
            Connection c(DbKind::Main);
            c.setDatabase(path, QString::fromLatin1(Schema::mainPassword()));
            if (cold) dropCache(path);
            QElapsedTimer t;
            t.start();
            if (timeOpen) {
                f(c);
            } else {
                c.open();
                t.restart();
                f(c);
            }
            best[cold] = std::min(best[cold], t.nsecsElapsed() / 1e9);
        }
    }
    std::printf("  %-52s %7.3f s warm %7.3f s cold\n", what, best[0], best[1]);
}

void pragma(Connection& c, const char* sql)
{
    Statement st(c, QString::fromUtf8(sql));
    while (st.step()) {
    }
}

// Best of `runs` calls of f, in seconds.
double best(int runs, const std::function<void()>& f)
{
    double b = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        b = std::min(b, t.nsecsElapsed() / 1e9);
    }
    return b;
}

void measureHash()
{
    const PasswordHash::Params p = PasswordHash::current();
    std::printf("password hash: Argon2id, %u KiB, %u passes, %u lane(s)\n", p.memoryKiB, p.passes,
                p.lanes);
    const QString hash = PasswordHash::make(QStringLiteral("Office-2026"));
    std::printf("  %-52s %7.3f s\n", "make one hash",
                best(5, [] { PasswordHash::make(QStringLiteral("Office-2026")); }));
    const double verify =
        best(5, [&] { PasswordHash::verify(hash, QStringLiteral("Office-2026")); });
    std::printf("  %-52s %7.3f s\n", "check one password", verify);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fybase.mdb"));
    Schema::createMainDatabase(file);
    Connection c(DbKind::Main);
    c.setDatabase(file, QString::fromLatin1(Schema::mainPassword()));
    c.open();
    OperatorPasswords::store(c, QStringLiteral("admin"), QStringLiteral("Office-2026"), false);
    Query q(&c);
    GTMYhxx user;
    const double attempt = best(5, [&] {
        LoginCheck::attempt(q, QStringLiteral("admin"), QStringLiteral("Office-2026"),
                            QStringLiteral("bench"), user);
    });
    const double plain = best(5, [&] {
        q.close();
        q.clearSql();
        q.addSql(
            QStringLiteral("SELECT * FROM 操作员档案 WHERE 员工编号='admin' AND 操作人员='是'"));
        q.open();
        (void)(q.text(QStringLiteral("登录密码")) == QStringLiteral("Office-2026"));
        q.close();
    });
    std::printf("  %-52s %7.3f s\n", "login attempt (lock, row, hash, log)", attempt);
    std::printf("  %-52s %7.3f s\n", "the old check (row, plain comparison)", plain);
    std::printf("  %-52s %7.3f s   (goal <= 0.300 s)\n", "added by the hash and the lock",
                attempt - plain);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        measureHash();
        if (argc > 1 && QByteArray(argv[1]) == "--hash") return 0;
        const QString file = demoFile100k(argc, argv);
        long long listings = 0, customers = 0;
        {
            Connection c(DbKind::Main);
            c.setDatabase(file, QString::fromLatin1(Schema::mainPassword()));
            c.open();
            Statement l(c, QStringLiteral("SELECT count(*) FROM \"房屋信息\""));
            l.step();
            listings = l.value(0).toLongLong();
            Statement k(c, QStringLiteral("SELECT count(*) FROM \"客户信息\""));
            k.step();
            customers = k.value(0).toLongLong();
        }
        std::printf("%s: %lld listings, %lld customers, %.1f MB\n", qPrintable(file), listings,
                    customers, QFileInfo(file).size() / 1e6);
        measure(
            "open (ours: key, application id, tables)", file, [](Connection& c) { c.open(); },
            true);
        measure(
            "open for the login (ours, writable, every page)", file,
            [](Connection& c) { c.open(Connection::Check::Usable); }, true);
        std::printf(" the page checks alone, after the open:\n");
        measure("quick_check (every page read, trees walked) *", file,
                [](Connection& c) { pragma(c, "PRAGMA quick_check"); });
        measure("integrity_check (also every index against its rows)", file,
                [](Connection& c) { pragma(c, "PRAGMA integrity_check"); });
        measure("count(*) of every table (one index each, no check)", file, [](Connection& c) {
            for (const Schema::TableDef& t : Schema::mainTables())
                pragma(c, QStringLiteral("SELECT count(*) FROM \"%1\"")
                              .arg(QString::fromUtf8(t.name))
                              .toUtf8()
                              .constData());
        });
        std::printf(" * the login's choice\n");
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
