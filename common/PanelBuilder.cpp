#include "common/PanelBuilder.h"

#include "common/DbControls.h"
#include "common/DbListOverlay.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace
{
constexpr int kRowHeight = 24;
}

PanelBuilder::PanelBuilder(QWidget* panel, DataSource* ds, Use use)
    : m_panel(panel), m_ds(ds), m_use(use)
{
}

template <typename W> W* PanelBuilder::place(const char* name, int x, int y, int w, int h)
{
    auto* c = new W(m_panel);
    if (name) c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(x, y, w, h);
    if (m_inConfidential) m_confidential << c;
    return c;
}

QLabel* PanelBuilder::caption(const QString& text, int x, int y, const char* objectName)
{
    auto* l = new QLabel(text, m_panel);
    if (objectName) l->setObjectName(QString::fromLatin1(objectName));
    l->adjustSize();
    l->move(x, y + (kRowHeight - l->height()) / 2);
    if (m_inConfidential) m_confidential << l;
    return l;
}

DbEdit* PanelBuilder::edit(const char* name, const QString& column, int x, int y, int w)
{
    auto* e = place<DbEdit>(name, x, y, w, kRowHeight);
    e->bind(m_ds, column);
    return e;
}

DbEdit* PanelBuilder::shown(const char* name, const QString& column, int x, int y, int w)
{
    DbEdit* e = edit(name, column, x, y, w);
    e->setReadOnly(true);
    return e;
}

DbMemo* PanelBuilder::memo(const char* name, const QString& column, int x, int y, int w, int h)
{
    auto* m = place<DbMemo>(name, x, y, w, h);
    m->bind(m_ds, column);
    return m;
}

QPushButton* PanelBuilder::button(const char* name, const QString& text, int x, int y, int w)
{
    auto* b = place<QPushButton>(name, x, y - 1, w, kRowHeight + 2);
    b->setText(text);
    return b;
}

QFrame* PanelBuilder::divider(int y)
{
    auto* line = place<QFrame>("Bevel1", 6, y, m_panel->width() - 12, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void PanelBuilder::choice(const char* list, const char* box, const QString& column, int x, int y,
                          int w, bool boxTakesFocus)
{
    if (!onCard()) {
        place<QComboBox>(list, x, y, w, kRowHeight)->setEditable(false);
        return;
    }
    auto* overlay = new DbListOverlay(QString::fromLatin1(box), QString::fromLatin1(list), m_panel);
    overlay->setGeometry(x, y, w, kRowHeight);
    overlay->edit()->bind(m_ds, column);
    if (boxTakesFocus) overlay->edit()->setFocusPolicy(Qt::StrongFocus);
    if (m_inConfidential) m_confidential << overlay;
}

void PanelBuilder::listOrShown(const char* list, const char* box, const QString& column, int x,
                               int y, int w)
{
    if (onCard())
        shown(box, column, x, y, w);
    else
        place<QComboBox>(list, x, y, w, kRowHeight)->setEditable(false);
}
