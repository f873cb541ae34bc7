#include "widgets/WidgetUtil.h"

#include "data/Dmbasic.h"

#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

QFont pixelFont(const QString& family, int px, bool bold)
{
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

void fillList(QComboBox* list, const QString& statement, const QString& column)
{
    Query& q = dmbasic->QryPUB;
    q.close();
    q.clearSql();
    q.addSql(statement);
    q.open();
    list->clear();
    QStringList items;
    for (q.first(); !q.eof(); q.next())
        items << q.text(column);
    q.close();
    list->addItems(items);
    list->setCurrentIndex(-1);
    if (list->isEditable()) list->setEditText(QString());
}

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QToolButton* flatButton(QWidget* parent, const QString& name, const QString& text, int minWidth,
                        bool takesFocus)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(name);
    b->setAutoRaise(true);
    if (!takesFocus) b->setFocusPolicy(Qt::NoFocus);
    if (minWidth > 0) b->setMinimumWidth(minWidth);
    return b;
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}
