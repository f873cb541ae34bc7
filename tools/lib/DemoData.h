#pragma once
// Realistic generated listings and customers, for the first start and benchmarks.
#include <QDate>
#include <QString>

namespace DemoData
{

struct Options {
    int listings = 300;
    int customers = 200;
    int notes = 100; // follow-up notes on the listings and customers made
    QString companyCode = QStringLiteral("001");
    QDate today = QDate::currentDate();
    int monthsBack = 5; // entry dates spread over this many months before today's month
    unsigned seed = 20261209;
};

// Throws DbError for options that must not be written: a company code that is not
// exactly 3 characters (counted as the company record counts them).
void check(const Options& o);

// Creates DIR/fybase.mdb and DIR/fyExp.mdb (never overwriting); the demo pair also
// fills the main one. A failure leaves neither file behind.
void createPair(const QString& dir);
void createDemoPair(const QString& dir, const Options& o);
// A main database at `location` (a new file, or a server database without tables)
// with its first rows and the demo rows, all in one transaction.
void createDemo(const QString& location, const Options& o);
// Adds rows to an existing main database (a file or a server).
void fill(const QString& mainLocation, const Options& o);

} // namespace DemoData
