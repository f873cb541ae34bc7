#pragma once
// 成交登记: a new deal on a listing and a customer (either or both filled in by the
// window it was opened from), or a stored deal shown, changed or cancelled. The
// agents are picked from the staff register with their share in per cent; the
// commission each one gets is shown as the shares are typed. Changes and
// cancelling are for senior operators and system administrators; a cancelled deal
// is shown read-only.
#include "deals/core/Deals.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TFrmCJDJ : public QDialog
{
    Q_OBJECT
public:
    // A new deal; an empty number is typed in the window.
    TFrmCJDJ(const QString& listing, const QString& customer, QWidget* parent = nullptr);
    // A stored deal.
    TFrmCJDJ(qlonglong deal, QWidget* parent = nullptr);

    QLineEdit *edtFY, *edtKH; // archive numbers of the listing and the customer
    QDateEdit* dtCJRQ;
    QLineEdit *edtCJJG, *edtYZYJ, *edtKHYJ, *edtHTBH; // price, commissions, contract
    QPlainTextEdit* memoBZ;
    QTableWidget* gridJJR; // agents: staff, share (%), commission
    QPushButton *btnAddJJR, *btnDelJJR;
    QLabel* lblState;                             // a cancelled deal: when, by whom, why
    QPushButton *btnOK, *btnCX, *btnXGJL, *btnTC; // 保存, 撤销成交, 修改记录, 退出

    // The number of the deal saved or shown (0 before a new one is saved).
    qlonglong dealId() const { return m_deal.id; }

    void btnOKClick();
    void btnCXClick();
    void btnXGJLClick();
    void btnAddJJRClick();
    void btnDelJJRClick();

private:
    explicit TFrmCJDJ(QWidget* parent);
    void buildUi();
    void present(const Deals::Deal& d);
    void setEditable(bool on);
    void addAgentRow(const Deals::Agent& a);
    // The deal as typed; a message (and the focus) for a value that is no amount.
    std::optional<Deals::Deal> typed();
    void focusOn(Deals::Refusal::Part part);
    void showCommissions();

    Deals::Deal m_deal;
    QList<Deals::Staff> m_staff;
};
