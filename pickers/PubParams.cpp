#include "pickers/PubParams.h"

Query* PubDataSet = nullptr;
DbGrid* PubGrid = nullptr;
QString PubBhField;
QString PubMcField;
QString PubFilter;
QString PubBh;
QString PubMc;
QString PubTable;
QStringList PubFields;
QString PubWhere;
