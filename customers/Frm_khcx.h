#pragma once
// 客户信息查询: the register of customers. A grid over qrykhxx shows the customers
// that match the quick-search panel or the condition builder; 查看 opens the
// current customer on the record card, which edits it through this window's data
// link and its two row actions. The frame (registers/QueryFrame.h) does all a query
// window does; this class adds the customer panel, its statement and save rule.
#include "registers/QueryFrame.h"

class TFrmKHCX : public QueryFrame
{
    Q_OBJECT
public:
    explicit TFrmKHCX(QWidget* parent = nullptr);
    // What the window is made of: names, texts, grid, save rule (also for a card
    // opened over rows of its own).
    static const QueryWindowConfig& queryConfig();
    ~TFrmKHCX() override;

    Query& qrykhxx;     // the result: rows of 客户信息
    DataSource& dskhxx; // data link of qrykhxx

private:
    std::unique_ptr<QDialog> makeCard() override;
    QStringList quickSearchLines(const RegisterRules::SearchPanel& shared) const override;

    QPointer<TFrmKHCX> m_previous; // the reference before this window opened
};

// The customer query window while it is open (the innermost, when one was opened
// over another's card); null otherwise.
extern QPointer<TFrmKHCX> FrmKHCX;
