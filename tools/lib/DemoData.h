#pragma once
// Realistic generated listings and customers, for the first start and benchmarks.
#include <QDate>
#include <QString>

namespace DemoData
{

struct Options {
    int listings = 300;
    int customers = 200;
    QString companyCode = QStringLiteral("001");
    QDate today = QDate::currentDate();
    int monthsBack = 5; // entry dates spread over this many months before today's month
    unsigned seed = 20261209;
};

// Creates DIR/fybase.mdb and DIR/fyExp.mdb (never overwriting) and fills the main one.
void createPair(const QString& dir);
void createDemoPair(const QString& dir, const Options& o);
// Adds rows to an existing main database file.
void fill(const QString& mainPath, const Options& o);

} // namespace DemoData
