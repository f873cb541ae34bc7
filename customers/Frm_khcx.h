#pragma once
// 客户信息查询: the register of customers. A grid over qrykhxx shows the customers
// that match the quick-search panel or the condition builder; 查看 opens the
// current customer on the record card, which edits it through this window's data
// link and its two row actions. The frame (common/QueryFrame.h) does all a query
// window does; this class adds the customer panel, its statement and save rule.
#include "common/QueryFrame.h"

class TFrmKHCX : public QueryFrame
{
    Q_OBJECT
public:
    explicit TFrmKHCX(QWidget* parent = nullptr);
    ~TFrmKHCX() override;

    Query& qrykhxx;
    DataSource& dskhxx;

private:
    std::unique_ptr<QDialog> makeCard() override;
    QStringList quickSearchLines(const RegisterRules::SearchPanel& shared) const override;

    QPointer<TFrmKHCX> m_previous; // the reference before this window opened
};

// The customer query window while it is open (the innermost, when one was opened
// over another's card); null otherwise.
extern QPointer<TFrmKHCX> FrmKHCX;
