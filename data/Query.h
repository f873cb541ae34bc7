#pragma once
// A query object and the row set it opens: statement lines, open/execute, a
// static client-side copy of the rows, navigation, locate, filters, and editing
// written back to the table by row identity, with the five hooks.
#include "data/Connection.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class Query : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    struct LocateOptions {
        bool caseInsensitive = false;
        bool partialKey = false; // the value is a prefix
    };
    using Hook = std::function<void(Query&)>;

    explicit Query(Connection* connection = nullptr, QObject* parent = nullptr);
    ~Query() override;

    void setConnection(Connection* c);
    Connection* connection() const { return m_conn; }

    // Statement text: lines joined, each followed by a line break.
    QStringList& sql() { return m_sql; }
    const QStringList& sql() const { return m_sql; }
    void clearSql() { m_sql.clear(); }
    void addSql(const QString& line) { m_sql << line; }
    void setSql(const QStringList& lines) { m_sql = lines; }
    QString statementText() const;
    // The statement as the row set sends it to its engine: translated, the row
    // identity in front for "select * from T ..." (`*writable` tells whether it is
    // that form), and on a server ordered by T's key when it asks for no order.
    QString engineText(bool* writable = nullptr) const;

    void open();
    void execSql();
    // Opens a read-only result on rows the caller made in memory (a result that no
    // statement returns, e.g. scores), with no table and no connection behind it.
    void openRows(const QList<ColumnInfo>& columns, std::vector<QVector<QVariant>> rows);
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    int rowsAffected() const { return m_rowsAffected; }

    // Columns of the open result.
    int fieldCount() const { return int(m_columns.size()); }
    QString fieldName(int i) const { return m_columns[i].name; }
    int fieldIndex(const QString& name) const; // -1 when absent
    const ColumnInfo& column(int i) const { return m_columns[i]; }
    QString tableName() const { return m_table; }
    bool canModify() const { return !m_table.isEmpty() && !m_readOnly; }
    void setReadOnly(bool r) { m_readOnly = r; }

    // Navigation over the rows that pass the filter.
    int recordCount() const { return int(m_visible.size()); }
    bool isEmpty() const { return m_visible.empty(); }
    int recNo() const { return m_cur; } // 0-based; -1 when empty
    void setRecNo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void last();
    void next();
    void prior();

    // Values of the current row (the edit buffer while editing or inserting).
    QVariant value(int col) const;
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;  // empty for null
    double number(const QString& field) const; // 0 for null or not numeric
    bool isNull(const QString& field) const { return value(field).isNull(); }
    // Values of any visible row, for grids.
    QVariant valueAt(int row, int col) const;

    // Sets a field of the current row; the row set must be editing or inserting.
    // A text typed into a float column is converted; an empty text becomes null.
    void setValue(int col, const QVariant& v);
    void setValue(const QString& field, const QVariant& v);

    // A read-only column computed from a row's values; it is never written back and
    // plays no part in a save.
    struct ComputedColumn {
        ColumnInfo column;
        std::function<QVariant(const QVector<QVariant>& row)> value;
    };
    // Gives the columns to compute for a result once its own columns are known
    // (fieldIndex, tableName and connection answer), before its rows are read; each
    // row gets them, after the statement's columns, as it is read.
    std::function<QList<ComputedColumn>(const Query&)> computedColumns;
    // Adds a computed column to the open result; called again with the same name, it
    // computes the column anew for every row (the rows shown whose value changed are
    // shown anew), also while editing.
    void addComputedColumn(const ComputedColumn& computed);
    // Sorts the rows shown by one column, empty values first going up; the current
    // row stays the same row. A filter or a new result shows them unsorted again.
    void sortBy(int column, Qt::SortOrder order);

    // Filters: "col='v'", "col like '%t%'", or two such terms joined by " and ".
    void setFilter(const QString& f);
    QString filter() const { return m_filter; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    bool locate(const QString& field, const QVariant& value)
    {
        return locate(field, value, LocateOptions());
    }
    bool locate(const QString& field, const QVariant& value, LocateOptions o);

    // Row states.
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void remove();
    // Leaves editing by posting, as moving to another row does.
    void checkBrowseMode();

    // Hooks; a hook refuses by throwing SilentAbort (or DbError), and the row set
    // stays in the state it was in.
    Hook beforeInsert, afterInsert, beforeEdit, beforePost, beforeDelete;
    Hook afterPost, afterScroll;

    // When set, an edit is written only if the stored row still holds the values it
    // had when it was read; otherwise the save is refused (another workstation
    // changed or deleted it in between).
    void setOptimisticCheck(bool on) { m_optimistic = on; }

signals:
    void reset();          // opened, closed, refiltered
    void currentChanged(); // moved to another row
    void stateChanged();
    void valueChanged(int column); // a field of the current row was set
    void rowChanged(int row);      // a stored row changed (after post)
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);

private:
    struct Row {
        long long rowid = 0;
        QVector<QVariant> values;
    };
    struct FilterTerm {
        int column = -1;
        bool like = false;
        QString value;
    };

    void requireActive() const;
    void browseFirst(); // the rows just read: filter, first row, browsing
    void setState(State s);
    void moved();
    void rebuildVisible();
    bool passes(const Row& r) const;
    QList<FilterTerm> parseFilter(const QString& f) const;
    QVariant convertFor(int col, const QVariant& v) const;
    void validateRow(const QVector<QVariant>& values) const;
    // The row's archive number (the table's unique key), empty when it has none.
    QString keyOf(const QVector<QVariant>& values) const;
    // " AND col IS ? ..." for every column, the row's values appended to `args`.
    QString unchangedSince(const Row& row, QList<QVariant>& args) const;
    void insertAt(int visiblePos);
    Row& currentRow();
    const Row& currentRow() const;

    Connection* m_conn = nullptr;
    QStringList m_sql;
    QList<ColumnInfo> m_columns;
    int m_stored = 0; // the leading columns that come from the table; computed ones follow
    QString m_table;
    bool m_readOnly = false;
    bool m_hasRowid = false;
    std::vector<Row> m_rows;
    std::vector<int> m_visible;
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    QVector<QVariant> m_buffer;
    bool m_modified = false;
    QString m_filter;
    bool m_filtered = false;
    QList<FilterTerm> m_terms;
    int m_rowsAffected = 0;
    bool m_optimistic = true;
};
