#include "widgets/DataSetActions.h"

#include "shell/Door.h"
#include "shell/Guard.h"

void followRows(DataSource* ds, QObject* context, const std::function<void()>& update)
{
    QObject::connect(ds, &DataSource::dataSetChanged, context, update);
    QObject::connect(ds, &DataSource::stateChanged, context, update);
    QObject::connect(ds, &DataSource::currentChanged, context, update);
    QObject::connect(ds, &DataSource::rowRemoved, context, update);
    QObject::connect(ds, &DataSource::rowInserted, context, update);
    update();
}

DataSetPostAction::DataSetPostAction(DataSource* ds, QObject* parent)
    : QAction(QStringLiteral("保存"), parent), m_ds(ds)
{
    setObjectName(QStringLiteral("DataSetPost1"));
    onSignal(this, &QAction::triggered, this, [this] {
        Query* q = m_ds ? m_ds->dataSet() : nullptr;
        if (q && q->isEditing()) guarded([q] { q->post(); });
        updateState();
    });
    followRows(ds, this, [this] { updateState(); });
}

void DataSetPostAction::updateState()
{
    Query* q = m_ds ? m_ds->dataSet() : nullptr;
    setEnabled(q && q->isActive() && q->isEditing());
}

DataSetDeleteAction::DataSetDeleteAction(DataSource* ds, QObject* parent)
    : QAction(QStringLiteral("删除"), parent), m_ds(ds)
{
    setObjectName(QStringLiteral("DataSetDelete1"));
    onSignal(this, &QAction::triggered, this, [this] {
        Query* q = m_ds ? m_ds->dataSet() : nullptr;
        if (q && q->isActive() && q->canModify() && !q->isEmpty()) guarded([q] { q->remove(); });
        updateState();
    });
    followRows(ds, this, [this] { updateState(); });
}

void DataSetDeleteAction::updateState()
{
    Query* q = m_ds ? m_ds->dataSet() : nullptr;
    setEnabled(q && q->isActive() && q->canModify() && !q->isEmpty());
}
