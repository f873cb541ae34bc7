#pragma once
// 房源查询: the register of listings. A grid over qryFwxx shows the listings that
// match the quick-search panel or the condition builder; 查看 opens the current
// listing on the record card, which edits it through this window's data link and
// its two row actions. The frame (common/QueryFrame.h) does all a query window
// does; this class adds the listing panel, its statement and the card's save rule.
#include "common/QueryFrame.h"

class PhotoPreview;

class TFrmFYCX : public QueryFrame
{
    Q_OBJECT
public:
    explicit TFrmFYCX(QWidget* parent = nullptr);
    ~TFrmFYCX() override;

    // The panel's own controls (the others are the frame's).
    QLineEdit *edtMJ2, *edtJG2, *edtXJCD1, *edtXJCD2;
    Query& qryFwxx;
    DataSource& dsFwxx;
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
