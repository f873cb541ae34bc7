#pragma once
// The link between a row set and the controls bound to it. Controls connect to
// the data source, so it can be pointed at another row set (a navigator that
// follows the shown tab) without reconnecting every control.
#include "data/Query.h"

#include <QObject>
#include <QPointer>

class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr) : QObject(parent) {}
    explicit DataSource(Query* q, QObject* parent = nullptr) : QObject(parent) { setDataSet(q); }

    void setDataSet(Query* q);
    Query* dataSet() const { return m_q; }

signals:
    void dataSetChanged(); // another row set, or the row set opened/closed/refiltered
    void currentChanged();
    void stateChanged();
    void valueChanged(int column);
    void rowChanged(int row);
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);

private:
    QPointer<Query> m_q;
    QList<QMetaObject::Connection> m_links;
};
