#pragma once
// 修改记录: the history of one listing or customer, the latest event first:
// time, operator (number and name), workstation, event, column, old and new
// value. The columns given as hidden (the personal columns a role does not see on
// the card) show their values as "******".
#include "records/RowsWindow.h"

#include <QStringList>

class TFrmXGJL : public RowsWindow
{
    Q_OBJECT
public:
    // The history of the row of `table` with this archive number.
    TFrmXGJL(const QString& table, const QString& number, const QStringList& hidden,
             QWidget* parent = nullptr);

    static QString hiddenValue() { return QStringLiteral("******"); }
};
