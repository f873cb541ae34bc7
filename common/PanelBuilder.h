#pragma once
// Fills the field panel of a register's 档案卡 windows. A register describes its
// panel once (listings/ListingPanel.cpp, customers/CustomerPanel.cpp) and both its
// entry window and its record card build it through this, so the card is laid out
// like the entry window. Where the two windows differ (a list to choose from on
// the entry window, the stored value over the list on the card; other control
// names) the description asks onCard().
//
// Controls stand at fixed positions in pixels; text boxes and memos are bound to
// their column of the window's data source.
#include <QList>
#include <QString>
#include <QStringList>

class DataSource;
class DbEdit;
class DbListOverlay;
class DbMemo;
class QComboBox;
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

    // A caption whose text is vertically centred on a 24-pixel row starting at y.
    QLabel* caption(const QString& text, int x, int y, const char* objectName = nullptr);
    DbEdit* edit(const char* name, const QString& column, int x, int y, int w);
    // A box showing the column that cannot be typed into.
    DbEdit* shown(const char* name, const QString& column, int x, int y, int w);
    DbMemo* memo(const char* name, const QString& column, int x, int y, int w, int h);
    QPushButton* button(const char* name, const QString& text, int x, int y, int w);
    // The divider line across the panel.
    QFrame* divider(int y);

    // A dictionary list. On the entry window a choose-only list (its choice is
    // written at save); on the card the stored value in a read-only box over the
    // list, the list showing only its drop-down button (choosing writes the row).
    // `boxTakesFocus`: on the card, Tab stops at the box before the list.
    void choice(const char* list, const char* box, const QString& column, int x, int y, int w,
                bool boxTakesFocus = false);
    // A list on the entry window that the card only shows (方式, 权属).
    void listOrShown(const char* list, const char* box, const QString& column, int x, int y, int w);

    // What is added after this call is the confidential block: on the card it is
    // shown only to senior roles.
    void beginConfidential() { m_inConfidential = true; }
    const QList<QWidget*>& confidential() const { return m_confidential; }

    // The panel's controls in tab order (the window adds its own after them).
    void setTabOrder(const QStringList& names) { m_tabOrder = names; }
    const QStringList& tabOrder() const { return m_tabOrder; }

private:
    template <typename W> W* place(const char* name, int x, int y, int w, int h);

    QWidget* m_panel;
    DataSource* m_ds;
    Use m_use;
    bool m_inConfidential = false;
    QList<QWidget*> m_confidential;
    QStringList m_tabOrder;
};
