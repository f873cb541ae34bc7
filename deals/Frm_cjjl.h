#pragma once
// 成交记录: the deals of a date range, of one agent or all, of one mode or both,
// newest first, with the count and the money totals of the standing deals in the
// grid's footer; printed and exported like the query windows' results. A double
// click opens the deal (changed or cancelled there by senior operators and system
// administrators), and the list is read again when it closes.
#include "data/DataSource.h"
#include "data/Query.h"
#include "deals/core/DealList.h"
#include "widgets/DbGrid.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

class TFrmCJJL : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCJJL(QWidget* parent = nullptr);

    QDateEdit *dtFrom, *dtTo;
    QComboBox *cbJJR, *cbFS; // agent (staff number as data), mode
    QCheckBox* chkCX;        // cancelled deals too
    QPushButton *btnCX, *btnOpen, *btnDY, *btnExcel, *btnTC;
    QLabel* lblNone;
    DbGrid* gridCJ;
    Query qryCJ; // the list, made in memory
    DataSource dsCJ;

    void btnCXClick(); // 查询
    void btnOpenClick();
    void btnDYClick();
    void btnExcelClick();
    QString reportTitle() const;
    // The footer's totals as one line (printed under the grid).
    QString totalsText() const;

private:
    Deals::DealTable m_table;
};
