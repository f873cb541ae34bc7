#pragma once
// The record navigator: first, previous, next, last, insert, delete, edit, save,
// cancel and refresh buttons over a data source; it asks nothing before deleting
// (the row set's hook does that where a window wants it).
#include "data/DataSource.h"

#include <QToolButton>
#include <QWidget>

class DbNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button {
        First,
        Prior,
        Next,
        Last,
        Insert,
        Delete,
        Edit,
        Post,
        Cancel,
        Refresh,
        ButtonCount
    };

    explicit DbNavigator(QWidget* parent = nullptr);
    void setDataSource(DataSource* ds);
    DataSource* dataSource() const { return m_ds; }
    void setVisibleButtons(const QList<Button>& buttons);
    QToolButton* button(Button b) const { return m_buttons[b]; }
    void click(Button b); // what a press of that button does

private:
    void updateState();

    QPointer<DataSource> m_ds;
    QToolButton* m_buttons[ButtonCount];
};
