#include "registers/RecordRows.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "records/core/FollowUps.h"
#include "registers/DictionaryLists.h"
#include "registers/RegisterWiring.h"
#include "shell/Dialogs.h"
#include "widgets/WidgetUtil.h"

#include <QComboBox>

RecordRows::RecordRows(const QueryWindowConfig& config, QWidget* window)
    : m_config(config), m_window(window), m_rows(dmbasic ? &dmbasic->adoCntnfybase : nullptr)
{
    m_rows.setObjectName(config.names.rowSet);
    m_link.setObjectName(config.names.dataSource);
    m_link.setDataSet(&m_rows);
    m_post = new DataSetPostAction(&m_link, this);
    m_post->setObjectName(QStringLiteral("DataSetPost1"));
    m_delete = new DataSetDeleteAction(&m_link, this);
    m_delete->setObjectName(QStringLiteral("DataSetDelete1"));

    // Rows are added only by the entry window and by import.
    m_rows.beforeInsert = [](Query&) { throw SilentAbort(); };
    m_rows.beforeDelete = [this](Query&) {
        if (!dialogs().question(m_card ? m_card.data() : m_window, m_config.texts.deleteQuestion))
            throw SilentAbort();
    };
    // Each result gets the date of every record's last follow-up note.
    m_rows.computedColumns = FollowUps::lastColumns;
    m_rows.beforePost = [this](Query& q) {
        if (!m_config.beforePost) return;
        if (const auto failed = m_config.beforePost(q)) refuseSave(*failed);
    };
}

RecordRows::~RecordRows()
{
    m_rows.close();
}

void RecordRows::open(const QStringList& lines)
{
    m_rows.close();
    m_rows.clearSql();
    for (const QString& l : lines)
        m_rows.addSql(l);
    m_rows.open();
}

void RecordRows::openRecord(const QString& archive)
{
    open(RegisterRules::oneRecord(m_config.table, archive));
}

bool RecordRows::holdsRow() const
{
    return m_rows.isActive() && !m_rows.isEmpty();
}

void RecordRows::matchCurrent(QWidget* from)
{
    const RegisterWiring::Register* r = RegisterWiring::find(m_config.table);
    if (holdsRow() && r && r->match) r->match(m_rows, from);
}

QStringList RecordRows::listItems(const QString& control) const
{
    if (m_items) return m_items(control);
    for (const RegisterRules::DictionaryList& d : m_config.lists) {
        if (d.control != control) continue;
        QComboBox list;
        list.setEditable(true);
        fillList(&list, d);
        return itemsOf(&list);
    }
    return {};
}

void RecordRows::setListItems(std::function<QStringList(const QString&)> items)
{
    m_items = std::move(items);
}

void RecordRows::refuseSave(const RegisterRules::FailedCheck& failed)
{
    QWidget* where = m_card ? m_card.data() : m_window;
    dialogs().message(where, failed.message);
    if (QWidget* w = where ? where->findChild<QWidget*>(failed.control) : nullptr) w->setFocus();
    throw SilentAbort();
}
