#pragma once
// Process-wide parameter variables through which the shared windows take their
// inputs and return their results. The caller sets them right before creating the
// window and reads them right after it closes; they keep their last values.
#include <QString>
#include <QStringList>

class Query;
class DbGrid;

extern Query* PubDataSet;     // open row set handed to the table picker / export
extern DbGrid* PubGrid;       // grid handed to the column chooser / export
extern QString PubBhField;    // code column for the table picker
extern QString PubMcField;    // name column for the table picker
extern QString PubFilter;     // base filter for the table picker
extern QString PubBh;         // chosen code (trimmed)
extern QString PubMc;         // chosen name (trimmed)
extern QString PubTable;      // table for the condition builder
extern QStringList PubFields; // "column;caption" lines for the condition builder
extern QString PubWhere;      // condition the builder assembled
