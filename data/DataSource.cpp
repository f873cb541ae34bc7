#include "data/DataSource.h"

void DataSource::setDataSet(Query* q)
{
    for (const auto& c : m_links)
        disconnect(c);
    m_links.clear();
    m_q = q;
    if (q) {
        m_links << connect(q, &Query::reset, this, &DataSource::dataSetChanged)
                << connect(q, &Query::currentChanged, this, &DataSource::currentChanged)
                << connect(q, &Query::stateChanged, this, &DataSource::stateChanged)
                << connect(q, &Query::valueChanged, this, &DataSource::valueChanged)
                << connect(q, &Query::rowChanged, this, &DataSource::rowChanged)
                << connect(q, &Query::aboutToInsertRow, this, &DataSource::aboutToInsertRow)
                << connect(q, &Query::rowInserted, this, &DataSource::rowInserted)
                << connect(q, &Query::aboutToRemoveRow, this, &DataSource::aboutToRemoveRow)
                << connect(q, &Query::rowRemoved, this, &DataSource::rowRemoved)
                << connect(q, &QObject::destroyed, this, [this] {
                       m_links.clear();
                       emit dataSetChanged();
                   });
    }
    emit dataSetChanged();
    emit stateChanged();
    emit currentChanged();
}
