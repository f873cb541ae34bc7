#pragma once
// 房源查询: the register of listings. A grid over qryFwxx shows the listings that
// match the quick-search panel or the condition builder; 查看 opens the current
// listing on the record card, which edits it through this window's data link and
// its two row actions.
#include "common/DataSetActions.h"
#include "common/DbGrid.h"
#include "common/DbNavigator.h"
#include "common/QueryWindow.h"
#include "data/DataSource.h"
#include "data/Query.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

class TFrmFYCX : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmFYCX(QWidget* parent = nullptr);
    ~TFrmFYCX() override;

    static const QueryWindowConfig& config();

    Query qryFwxx;
    DataSource dsFwxx;
    DataSetPostAction* DataSetPost1;
    DataSetDeleteAction* DataSetDelete1;

    DbNavigator* DBNavigator1;
    QPushButton *BitBtn1, *btnLL, *BitBtn2, *BitBtn3, *BitBtn6, *BitBtn8, *Button1, *BitBtn4;
    QCheckBox* cbSFYX;
    QComboBox *cbFS, *cbLC, *cbHX, *cbWZ;
    QLineEdit *edtXQDZ, *edtMJ1, *edtMJ2, *edtJG1, *edtJG2, *edtRQ1, *edtRQ2, *edtXJCD1, *edtXJCD2;
    QPushButton *Button2, *Button3, *BitBtn5;
    DbGrid* DBGridEh1;

    // Handlers.
    void FormCreate();
    void BitBtn5Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button2Click();
    void Button3Click();
    void Button1Click();
    void BitBtn8Click();
    void btnLLClick();
    void BitBtn3Click();
    void BitBtn6Click();
    void BitBtn4Click();
    void FormClose();

    // The record card while it is open (it receives the focus of a failed save check).
    QWidget* card() const { return m_card; }

    void done(int r) override;

private:
    void buildUi();
    void qryFwxxBeforePost(Query& q);
    void openStatement(const QStringList& lines);

    QPointer<QWidget> m_card;
};

// The listing query window while it is open; null otherwise.
extern TFrmFYCX* FrmFYCX;
