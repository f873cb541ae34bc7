#pragma once
// A window that lists rows read from the data layer: a title band, a read-only
// grid over the rows (made in memory, so the grid works as in the query windows)
// and a row of buttons below it ending in 退出. The history window of the record
// cards and the recycle bin derive from it.
#include "data/DataSource.h"
#include "data/Query.h"
#include "widgets/DbGrid.h"

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QPushButton;

class RowsWindow : public QDialog
{
    Q_OBJECT
public:
    ~RowsWindow() override;

    QLabel* lblTitle;   // the title band
    QLabel* lblNone;    // shown when there are no rows
    DbGrid* grid;       // the rows, read only
    QPushButton* btnTC; // 退出
    Query rows;         // what the grid shows

protected:
    RowsWindow(const char* name, const QString& caption, const QString& noRows, QWidget* parent);

    // Adds a button to the row below the grid, before 退出.
    QPushButton* addButton(const char* name, const QString& text);
    // Shows these rows (columns of text; the first one is counted in the footer).
    void present(const QStringList& columns, std::vector<QVector<QVariant>> values);
    // The current row's value of a column; null when there is no row.
    QVariant current(const QString& column) const;
    // An operator as both windows show one: the staff number and, where the staff
    // register still has it, the name.
    static QString person(const QString& number, const QString& name);

private:
    DataSource m_link;
    QHBoxLayout* m_buttons;
};
