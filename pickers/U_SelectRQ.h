#pragma once
// The date picker: one month calendar, 确定 and 取消. The caller starts it on
// today's date, runs it modally and, on OK, takes the day as YYMMDD.
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QPushButton;

class TdlgSelectRQ : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgSelectRQ(QWidget* parent = nullptr);

    QDate date() const;
    void setDate(const QDate& d);

    // The whole protocol: starts on today, runs the picker through dialogs() and,
    // on OK, puts the chosen day as "yyMMdd" into yymmdd (left alone on cancel).
    static bool pick(QWidget* parent, QString& yymmdd);

    QCalendarWidget* MonthCalendar1; // the month; a double click on a day chooses it
    QPushButton* btnOK;              // 确定
    QPushButton* btnCancel;          // 取消
};
