#include "data/SchemaUpgrade.h"

#include "data/DbError.h"
#include "data/DealTables.h"
#include "data/Dialect.h"
#include "data/DuplicateIndexes.h"
#include "data/MemoText.h"
#include "data/PhotoTables.h"
#include "data/Reminders.h"
#include "data/Schema.h"
#include "data/SecurityTables.h"

#include <QVariant>

namespace SchemaUpgrade
{

namespace
{

// What each layout adds to the one before it (the steps to layout 2 and later).
void stepTo(Connection& c, int layout)
{
    switch (layout) {
    case 2:
        // History, recycle bin and follow-up notes; and the matching indexes, which
        // databases made before matching lack.
        Schema::createRecordTables(c);
        Schema::createMatchingIndexes(c, true);
        break;
    case 3:
        // Password hashes, login log and locks; no plain password stays behind.
        Schema::createSecurityTables(c);
        OperatorPasswords::hashPlainPasswords(c);
        // Reminders of the next follow-up and who sees the to-do list after login.
        Schema::createReminderTables(c);
        // Photos of listings.
        Schema::createPhotoTables(c);
        // Looking for likely duplicates at a save: area band and telephones.
        Schema::createDuplicateIndexes(c, true);
        // Deals, their agents' shares and their history.
        Schema::createDealTables(c);
        break;
    case 4:
        // Memo columns of files keep what was typed ("0571888"), as text.
        Schema::keepMemosAsText(c);
        // The records gone quiet, newest first, without sorting every valid row.
        Schema::createQuietIndexes(c, true);
        break;
    default:
        throw DbError(QStringLiteral("不知道如何把数据库升级到版本 %1。").arg(layout));
    }
}

} // namespace

int version(Connection& c)
{
    const QString table = QString::fromUtf8(Schema::versionTable());
    if (!c.table(table)) return 1;
    Statement st(c,
                 QStringLiteral("SELECT max(%1) FROM %2")
                     .arg(Dialect::identifier(QStringLiteral("版本")), Dialect::identifier(table)));
    const QVariant v = st.step() ? st.value(0) : QVariant();
    return v.isNull() ? 1 : v.toInt();
}

QString newerText(int found)
{
    return QStringLiteral("这个数据库的版本（%1）比本程序能处理的版本（%2）新，"
                          "请使用新版本的 Halvorra 打开它。数据库没有被改动。")
        .arg(found)
        .arg(Schema::kLayoutVersion);
}

void requireKnown(Connection& c)
{
    const int found = version(c);
    if (found > Schema::kLayoutVersion) throw DbError(newerText(found));
}

int upgrade(Connection& c)
{
    requireKnown(c);
    if (version(c) == Schema::kLayoutVersion) {
        OperatorPasswords::clearOldCopies(c);
        return Schema::kLayoutVersion;
    }
    int found = 0;
    try {
        Connection::Transaction t(c);
        // Two workstations logging in at once: the second waits here, then reads
        // the layout the first one left.
        c.lockWriters(QString::fromUtf8(Schema::versionTable()));
        c.reloadSchema();
        found = version(c);
        if (found > Schema::kLayoutVersion) throw DbError(newerText(found));
        for (int layout = found + 1; layout <= Schema::kLayoutVersion; ++layout)
            stepTo(c, layout);
        if (found < Schema::kLayoutVersion) Schema::markVersion(c, Schema::kLayoutVersion);
        t.commit();
    } catch (...) {
        // The tables known to the connection are those of the database again.
        try {
            c.reloadSchema();
        } catch (...) {
        }
        throw;
    }
    c.reloadSchema();
    OperatorPasswords::clearOldCopies(c);
    return found;
}

} // namespace SchemaUpgrade
