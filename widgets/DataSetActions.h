#pragma once
// The two row actions a query window lends to its record card: 保存 posts the
// current row and is available while the row is being edited; 删除 removes the
// current row and is available while the result is open, can be changed and holds
// a row. Errors go to the default error display; a hook's silent abort ends quietly.
#include "data/DataSource.h"

#include <QAction>
#include <QPointer>
#include <functional>

// Calls `update` now and whenever the data link's rows, current row or row state
// change, while `context` lives.
void followRows(DataSource* ds, QObject* context, const std::function<void()>& update);

class DataSetPostAction : public QAction
{
    Q_OBJECT
public:
    DataSetPostAction(DataSource* ds, QObject* parent);
    void updateState();

private:
    QPointer<DataSource> m_ds;
};

class DataSetDeleteAction : public QAction
{
    Q_OBJECT
public:
    DataSetDeleteAction(DataSource* ds, QObject* parent);
    void updateState();

private:
    QPointer<DataSource> m_ds;
};
