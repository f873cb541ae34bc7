#pragma once
// Fills the field panel of a register's 档案卡 windows. A register describes its
// panel once (listings/ListingPanel.cpp, customers/CustomerPanel.cpp) and both its
// entry window and its record card build it through this, so the card is laid out
// like the entry window. Where the two windows differ (a list to choose from on
// the entry window, the stored value over the list on the card; other control
// names) the description asks onCard().
//
// The panel is laid out in rows: each row places its captions and controls left
// to right, the first control of every row at the same place. Text boxes and
// memos are bound to their column of the window's data source.
#include <QList>
#include <QString>
#include <QStringList>

class DataSource;
class DbEdit;
class DbMemo;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

class PanelBuilder
{
public:
    enum class Use { Entry, Card };
    PanelBuilder(QWidget* panel, DataSource* ds, Use use);

    bool onCard() const { return m_use == Use::Card; }
    // The entry window's name or the card's.
    const char* name(const char* entry, const char* card) const { return onCard() ? card : entry; }

    // Controls of the given width, placed by row(). Names and columns in UTF-8.
    // Made in tab order, so that the focus chain starts out in that order.
    DbEdit* edit(const char* name, const char* column, int w);
    // A box that takes the digits 0-9 only, typed or pasted.
    DbEdit* digits(const char* name, const char* column, int w);
    // A box showing the column that cannot be typed into.
    DbEdit* shown(const char* name, const char* column, int w);
    DbMemo* memo(const char* name, const char* column, int w, int h);
    QPushButton* button(const char* name, const char* text, int w);
    // A dictionary list. On the entry window a choose-only list (its choice is
    // written at save); on the card the stored value in a read-only box over the
    // list, the list showing only its drop-down button (choosing writes the row).
    // `boxTakesFocus`: on the card, Tab stops at the box before the list.
    QWidget* choice(const char* list, const char* box, const char* column, int w,
                    bool boxTakesFocus = false);
    // A list on the entry window that the card only shows (方式, 权属).
    QWidget* listOrShown(const char* list, const char* box, const char* column, int w);

    // One caption and the control after it; either may be missing. `label` names
    // the caption (the card hides some captions by name).
    struct Item {
        QString caption;
        QWidget* control = nullptr;
        const char* label = nullptr;
    };
    // Places a row at height y; returns its captions.
    QList<QLabel*> row(int y, const QList<Item>& items);

    // The divider line across the panel at height y; what is added after it is the
    // confidential block, shown on the card only to senior roles.
    void beginConfidential(int y);
    const QList<QWidget*>& confidential() const { return m_confidential; }

    // The panel's controls in tab order (the window adds its own after them).
    void setTabOrder(const QStringList& names) { m_tabOrder = names; }
    const QStringList& tabOrder() const { return m_tabOrder; }

private:
    template <typename W> W* make(const char* name, int w, int h);
    void remember(QWidget* w);

    QWidget* m_panel;
    DataSource* m_ds;
    Use m_use;
    bool m_inConfidential = false;
    QList<QWidget*> m_confidential;
    QStringList m_tabOrder;
};
