#pragma once
// 今日待办: the reminders of the next follow-up due today or overdue (the
// operator's own; senior operators and system administrators choose an operator
// or everyone), and below them the valid listings and customers nobody has
// followed up for more than N days. 完成 closes the chosen reminder by hand; a
// double click asks for the record's card (recordRequested: the window opens
// nothing itself), after which refresh() reads both lists again. The operator's
// choice whether the window opens after login is kept in the main database.
#include "data/DataSource.h"
#include "data/Query.h"

#include <QDateTime>
#include <QDialog>

class DbGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TFrmJRDB : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmJRDB(QWidget* parent = nullptr);

    QComboBox* cbCZY; // the operator whose reminders are listed ("" = everyone)
    DbGrid* gridDue;
    QLabel* lblDue;
    QPushButton *btnDone, *btnRefresh;
    QSpinBox* edtDays; // N: no follow-up for more than N days
    QPushButton* btnQuiet;
    DbGrid* gridQuiet;
    QLabel* lblQuiet;
    QCheckBox* chkLogin;
    QPushButton* btnExit;

    Query qryDue, qryQuiet; // the lists, made in memory
    DataSource dsDue, dsQuiet;

    // Reads both lists again, the current rows kept where they are still listed.
    void refresh();
    void btnDoneClick();
    void btnQuietClick();
    // The time the lists are computed for (the clock; tests set it).
    void setNow(const QDateTime& now) { m_now = now; }

signals:
    void recordRequested(const QString& table, const QString& number);

private:
    void fillDue();
    void fillQuiet();
    QDateTime now() const;
    void requestFrom(Query& q);

    QDateTime m_now;
};
