#pragma once
// The data grid: a table view over a data source's row set (model/view, so a
// result of any size stays smooth), column titles, widths and display formats,
// column visibility, whole-row selection kept in step with the current row, and
// an optional footer row with the row count under one column.
#include "data/DataSource.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <QWidget>

struct GridColumn {
    QString field;
    QString title;
    int width = -1; // pixels; -1 = the default width
    QString format; // display format of floats, e.g. "0.00"
    // A click on the title sorts the rows by this column (again: the other way).
    bool sortable = false;
};

class DbGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DbGridModel(QObject* parent = nullptr);
    void setDataSource(DataSource* ds);
    DataSource* dataSource() const { return m_ds; }
    void setColumns(const QList<GridColumn>& cols);
    const QList<GridColumn>& columns() const { return m_cols; }
    void setEditable(bool on) { m_editable = on; }
    // True between the row set's announcement of a removed row and its completion.
    bool removingRows() const { return m_removing; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void remap();
    Query* q() const { return m_ds ? m_ds->dataSet() : nullptr; }

    QPointer<DataSource> m_ds;
    QList<GridColumn> m_cols;
    QVector<int> m_fieldIndex; // grid column -> row set column
    bool m_editable = false;
    bool m_removing = false;
    int m_rows = 0;
};

class GridFooter;

class DbGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* ds);
    DataSource* dataSource() const { return m_model->dataSource(); }
    void setColumns(const QList<GridColumn>& cols);
    int columnCount() const { return int(m_model->columns().size()); }
    const GridColumn& column(int i) const { return m_model->columns()[i]; }
    bool isColumnVisible(int i) const { return !m_view->isColumnHidden(i); }
    void setColumnVisible(int i, bool on) { m_view->setColumnHidden(i, !on); }
    // Visible columns in the order the grid shows them.
    QList<int> visibleColumns() const;
    int columnWidth(int i) const { return m_view->columnWidth(i); }

    // The footer row shows the number of rows under this grid column (-1: no footer).
    void setFooterCountColumn(int col);
    QString footerText(int col) const;
    // A text of its own under a column of the footer (a total), shown beside the
    // count; an empty text removes it. Shows the footer.
    void setFooterText(int col, const QString& text);
    void setFooterFont(const QFont& f);

    void setEditable(bool on);
    QTableView* view() const { return m_view; }
    DbGridModel* model() const { return m_model; }

    // Sorts the rows by a sortable grid column, as a click on its title does.
    void sortByColumn(int col, Qt::SortOrder order);

signals:
    void rowDoubleClicked();

private:
    void syncFromDataSet();
    void syncToDataSet(const QModelIndex& current);
    void titleClicked(int col);

    QTableView* m_view;
    DbGridModel* m_model;
    GridFooter* m_footer;
    int m_countColumn = -1;
    bool m_syncing = false;
    bool m_sorting = false;
};
