#include "registers/CardFrame.h"

#include "widgets/WidgetUtil.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

CardFrame::CardFrame(const CardLayout& layout, QWidget* parent) : QDialog(parent)
{
    resize(layout.size);
    auto* title = new QLabel(layout.title, this);
    title->setObjectName(QStringLiteral("Label_Title"));
    title->setGeometry(0, 4, layout.size.width(), 38);
    title->setAlignment(Qt::AlignCenter);
    title->setFont(pixelFont(QStringLiteral("楷体_GB2312"), 24, true));

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(layout.panel);
    m_panel->setFrameShape(QFrame::Panel);
    m_panel->setFrameShadow(QFrame::Raised);
    m_panel->setFont(pixelFont(QStringLiteral("宋体"), layout.panelFontPx));

    auto* row = new QWidget(this);
    row->setGeometry(layout.panel.left(), layout.panel.bottom() + 8, layout.panel.width(), 34);
    m_row = new QHBoxLayout(row);
    m_row->setContentsMargins(0, 0, 0, 0);
}

QHBoxLayout* CardFrame::secondButtonRow()
{
    if (!m_second) {
        const QWidget* first = m_row->parentWidget();
        auto* row = new QWidget(this);
        row->setObjectName(QStringLiteral("SecondRow"));
        row->setGeometry(first->x(), first->geometry().bottom() + 5, first->width(), 34);
        m_second = new QHBoxLayout(row);
        m_second->setContentsMargins(0, 0, 0, 0);
        const QSize grown(width(), height() + 38);
        if (minimumSize() == maximumSize())
            setFixedSize(grown); // a window of fixed size stays fixed
        else
            resize(grown);
    }
    return m_second;
}

void CardFrame::setTabOrderByName(const QStringList& names)
{
    QWidget* before = nullptr;
    for (const QString& name : names) {
        auto* w = findChild<QWidget*>(name);
        if (!w) {
            qWarning("tab order: no control %s", qPrintable(name));
            continue;
        }
        if (before) setTabOrder(before, w);
        before = w;
    }
}

void CardFrame::centre()
{
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

QWidget* CardFrame::panel() const
{
    return m_panel;
}
