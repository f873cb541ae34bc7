#pragma once
// Controls bound to one column of a data source: they show the current row's
// value, and typing puts the row set into editing and writes the field. Text boxes
// take their length limit from the column, in characters as the database counts
// them (see CharLimit.h).
#include "data/DataSource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

// Common binding logic of the data-aware controls.
class FieldLink : public QObject
{
    Q_OBJECT
public:
    FieldLink(QWidget* owner, std::function<void()> refresh);
    void bind(DataSource* ds, const QString& field);
    DataSource* dataSource() const { return m_ds; }
    QString field() const { return m_field; }
    Query* dataSet() const { return m_ds ? m_ds->dataSet() : nullptr; }
    int column() const; // -1 when the row set is closed or lacks the field
    QVariant value() const;
    // Puts the row set into editing (a hook may refuse) and writes the value;
    // returns false when refused, after showing any error.
    bool write(const QVariant& v);
    bool updating() const { return m_updating; }

private:
    QWidget* m_owner;
    std::function<void()> m_refresh;
    QPointer<DataSource> m_ds;
    QString m_field;
    bool m_updating = false;
    QList<QMetaObject::Connection> m_links;
};

class DbEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DbEdit(QWidget* parent = nullptr);
    void bind(DataSource* ds, const QString& field);
    QString field() const { return m_link.field(); }
    // Display format of a float column when the box is not being typed in.
    void setDisplayFormat(const QString& f)
    {
        m_format = f;
        refresh();
    }
    // Accepts only the digits 0-9, typed or pasted.
    void setDigitsOnly(bool on);
    void refresh();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    FieldLink m_link;
    QString m_format = QStringLiteral("0.00");
    bool m_digitsOnly = false;
};

class DbMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DbMemo(QWidget* parent = nullptr);
    void bind(DataSource* ds, const QString& field);
    void refresh();
    QString field() const { return m_link.field(); }

private:
    FieldLink m_link;
    bool m_setting = false;
};

// A check box over a text column: ticked stores the checked value, else the other.
class DbCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DbCheckBox(QWidget* parent = nullptr);
    void bind(DataSource* ds, const QString& field, const QString& checkedValue,
              const QString& uncheckedValue);
    void refresh();

private:
    FieldLink m_link;
    QString m_on, m_off;
    bool m_setting = false;
};

// Formats a float the way the "0.00" display format does; other values as text.
QString formatValue(const QVariant& v, const QString& format = QStringLiteral("0.00"));
