#include "widgets/DbListOverlay.h"

DbListOverlay::DbListOverlay(const QString& editName, const QString& listName, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(listName + QStringLiteral("Overlay"));
    m_list = new QComboBox(this);
    m_list->setObjectName(listName);
    m_edit = new DbEdit(this);
    m_edit->setObjectName(editName);
    m_edit->setReadOnly(true);
    m_edit->setFocusPolicy(Qt::NoFocus);
    m_edit->raise();
    setFocusProxy(m_list);
}

void DbListOverlay::setItems(const QStringList& items)
{
    m_list->clear();
    m_list->addItems(items);
    m_list->setCurrentIndex(-1);
}

QSize DbListOverlay::sizeHint() const
{
    return QSize(120, m_list->sizeHint().height());
}

void DbListOverlay::resizeEvent(QResizeEvent*)
{
    m_list->setGeometry(0, 0, width(), height());
    m_edit->setGeometry(0, 0, qMax(0, width() - 16), height());
}
