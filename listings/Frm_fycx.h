#pragma once
// 房源查询: the register of listings. A grid over qryFwxx shows the listings that
// match the quick-search panel or the condition builder; 查看 opens the current
// listing on the record card, which edits it through this window's data link and
// its two row actions. The frame (registers/QueryFrame.h) does all a query window
// does; this class adds the listing panel, its statement and the card's save rule.
#include "registers/QueryFrame.h"

class PhotoPreview;

class TFrmFYCX : public QueryFrame
{
    Q_OBJECT
public:
    explicit TFrmFYCX(QWidget* parent = nullptr);
    // What the window is made of: names, texts, grid, save rule (also for a card
    // opened over rows of its own).
    static const QueryWindowConfig& queryConfig();
    ~TFrmFYCX() override;

    // The panel's own controls (the others are the frame's).
    QLineEdit* edtMJ2;   // 面积范围: upper bound (edtMJ1 the lower)
    QLineEdit* edtJG2;   // 信息价格: upper bound (edtJG1 the lower)
    QLineEdit* edtXJCD1; // 房龄 (新旧程度): lower bound
    QLineEdit* edtXJCD2; // 房龄 (新旧程度): upper bound
    Query& qryFwxx;      // the result: rows of 房屋信息
    DataSource& dsFwxx;  // data link of qryFwxx
    // The current listing's cover beside the grid.
    PhotoPreview* preview;
    QPushButton* btnFYD; // 房源单

private:
    QStringList quickSearchLines(const RegisterRules::SearchPanel& shared) const override;
    std::unique_ptr<QDialog> makeCard() override;

    QPointer<TFrmFYCX> m_previous; // the reference before this window opened
};

// The listing query window while it is open (the innermost, when one was opened
// over another's card); null otherwise.
extern QPointer<TFrmFYCX> FrmFYCX;
