#include "pickers/U_SelectRQ.h"

#include "shell/Dialogs.h"
#include "shell/Door.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TdlgSelectRQ::TdlgSelectRQ(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSelectRQ"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(285, 188);

    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setGridVisible(false);

    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(4);
    lay->addWidget(MonthCalendar1, 1);
    lay->addLayout(buttons);

    onSignal(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // A double-click on a day chooses it, as 确定 does.
    onSignal(MonthCalendar1, &QCalendarWidget::activated, this, &QDialog::accept);

    setDate(QDate::currentDate());
}

QDate TdlgSelectRQ::date() const
{
    return MonthCalendar1->selectedDate();
}

void TdlgSelectRQ::setDate(const QDate& d)
{
    MonthCalendar1->setSelectedDate(d);
}

bool TdlgSelectRQ::pick(QWidget* parent, QString& yymmdd)
{
    TdlgSelectRQ dlg(parent);
    dlg.setDate(QDate::currentDate());
    if (dialogs().exec(&dlg) != QDialog::Accepted) return false;
    yymmdd = dlg.date().toString(QStringLiteral("yyMMdd"));
    return true;
}
