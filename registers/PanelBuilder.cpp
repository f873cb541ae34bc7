#include "registers/PanelBuilder.h"

#include "widgets/DbControls.h"
#include "widgets/DbListOverlay.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace
{
constexpr int kRowHeight = 24;
constexpr int kLeft = 10;         // the first caption of a row
constexpr int kFirstControl = 78; // the first control of a row
constexpr int kAfterCaption = 6;  // between a caption and its control
constexpr int kAfterControl = 12; // between a control and the next caption
} // namespace

PanelBuilder::PanelBuilder(QWidget* panel, DataSource* ds, Use use)
    : m_panel(panel), m_ds(ds), m_use(use)
{
}

void PanelBuilder::remember(QWidget* w)
{
    if (m_inConfidential) m_confidential << w;
}

template <typename W> W* PanelBuilder::make(const char* name, int w, int h)
{
    auto* c = new W(m_panel);
    if (name) c->setObjectName(QString::fromLatin1(name));
    c->resize(w, h);
    remember(c);
    return c;
}

DbEdit* PanelBuilder::edit(const char* name, const char* column, int w)
{
    auto* e = make<DbEdit>(name, w, kRowHeight);
    e->bind(m_ds, QString::fromUtf8(column));
    return e;
}

DbEdit* PanelBuilder::digits(const char* name, const char* column, int w)
{
    DbEdit* e = edit(name, column, w);
    e->setDigitsOnly(true);
    return e;
}

DbEdit* PanelBuilder::shown(const char* name, const char* column, int w)
{
    DbEdit* e = edit(name, column, w);
    e->setReadOnly(true);
    return e;
}

DbMemo* PanelBuilder::memo(const char* name, const char* column, int w, int h)
{
    auto* m = make<DbMemo>(name, w, h);
    m->bind(m_ds, QString::fromUtf8(column));
    return m;
}

QPushButton* PanelBuilder::button(const char* name, const char* text, int w)
{
    auto* b = make<QPushButton>(name, w, kRowHeight + 2);
    b->setText(QString::fromUtf8(text));
    return b;
}

QWidget* PanelBuilder::choice(const char* list, const char* box, const char* column, int w,
                              bool boxTakesFocus)
{
    if (!onCard()) return make<QComboBox>(list, w, kRowHeight);
    auto* overlay = new DbListOverlay(QString::fromLatin1(box), QString::fromLatin1(list), m_panel);
    overlay->resize(w, kRowHeight);
    overlay->edit()->bind(m_ds, QString::fromUtf8(column));
    if (boxTakesFocus) overlay->edit()->setFocusPolicy(Qt::StrongFocus);
    remember(overlay);
    return overlay;
}

QWidget* PanelBuilder::listOrShown(const char* list, const char* box, const char* column, int w)
{
    if (onCard()) return shown(box, column, w);
    return make<QComboBox>(list, w, kRowHeight);
}

QList<QLabel*> PanelBuilder::row(int y, const QList<Item>& items)
{
    QList<QLabel*> captions;
    int x = kLeft;
    for (const Item& item : items) {
        if (!item.caption.isEmpty()) {
            auto* l = new QLabel(item.caption, m_panel);
            if (item.label) l->setObjectName(QString::fromLatin1(item.label));
            l->adjustSize();
            l->move(x, y + (kRowHeight - l->height()) / 2);
            remember(l);
            captions << l;
            x += l->width() + kAfterCaption;
            if (x < kFirstControl && captions.size() == 1) x = kFirstControl;
        }
        if (item.control) {
            // Buttons stand a pixel higher than the boxes beside them.
            item.control->move(x, item.control->height() > kRowHeight ? y - 1 : y);
            x += item.control->width() + kAfterControl;
        }
    }
    return captions;
}

void PanelBuilder::beginConfidential(int y)
{
    m_inConfidential = true;
    auto* line = new QFrame(m_panel);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setGeometry(6, y, m_panel->width() - 12, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
}
