#include "data/DbLocation.h"

#include <QUrl>
#include <QUrlQuery>

namespace DbLocation
{

bool isServer(const QString& location)
{
    const QString t = location.trimmed();
    return t.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           t.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

namespace
{

// Where the user-info part of an address ends and the host begins ("@"), or -1.
int userInfoEnd(const QString& t, int start)
{
    const int hostEnd = t.indexOf(QLatin1Char('/'), start);
    const int at = t.lastIndexOf(QLatin1Char('@'), hostEnd < 0 ? -1 : hostEnd);
    return at >= start ? at : -1;
}

bool queryHasPassword(const QString& t)
{
    const int q = t.indexOf(QLatin1Char('?'));
    if (q < 0) return false;
    for (const QString& part : t.mid(q + 1).split(QLatin1Char('&')))
        if (part.section(QLatin1Char('='), 0, 0)
                .compare(QLatin1String("password"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

bool hasPassword(const QString& location)
{
    if (!isServer(location)) return false;
    const QString t = location.trimmed();
    const int start = t.indexOf(QLatin1String("://")) + 3;
    const int at = userInfoEnd(t, start);
    if (at >= 0 && t.mid(start, at - start).contains(QLatin1Char(':'))) return true;
    return queryHasPassword(t);
}

QString withoutPassword(const QString& location)
{
    if (!hasPassword(location)) return location;
    QString t = location.trimmed();
    const int start = t.indexOf(QLatin1String("://")) + 3;
    const int at = userInfoEnd(t, start);
    if (at >= 0) {
        const int colon = t.indexOf(QLatin1Char(':'), start);
        if (colon >= 0 && colon < at) t.remove(colon, at - colon);
    }
    const int q = t.indexOf(QLatin1Char('?'));
    if (q >= 0) {
        QStringList kept;
        for (const QString& part : t.mid(q + 1).split(QLatin1Char('&')))
            if (part.section(QLatin1Char('='), 0, 0)
                    .compare(QLatin1String("password"), Qt::CaseInsensitive) != 0)
                kept << part;
        t = t.left(q) +
            (kept.isEmpty() ? QString() : QLatin1Char('?') + kept.join(QLatin1Char('&')));
    }
    return t;
}

QString display(const QString& location)
{
    return withoutPassword(location);
}

} // namespace DbLocation
