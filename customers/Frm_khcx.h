#pragma once
// 客户信息查询: the register of customers. A grid over qrykhxx shows the customers
// that match the quick-search panel or the condition builder; 查看 opens the
// current customer on the record card, which edits it through this window's data
// link and its two row actions.
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

class TFrmKHCX : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmKHCX(QWidget* parent = nullptr);
    ~TFrmKHCX() override;

    static const QueryWindowConfig& config();

    Query qrykhxx;
    DataSource dskhxx;
    DataSetPostAction* DataSetPost1;
    DataSetDeleteAction* DataSetDelete1;

    DbNavigator* DBNavigator1;
    QPushButton *BitBtn1, *btnLL, *BitBtn2, *BitBtn3, *BitBtn6, *BitBtn8, *Button1, *BitBtn4;
    QLineEdit *edtRQ1, *edtRQ2, *edtXQDZ, *edtMJ1, *edtJG1;
    QPushButton *Button2, *Button3, *BitBtn5;
    QComboBox *cbLC, *cbHX, *cbFS, *cbWZ;
    QCheckBox* cbSFYX;
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

    // The record card while it is open (questions of its row actions sit on it).
    QWidget* card() const { return m_card; }

    void done(int r) override;

private:
    void buildUi();
    void qrykhxxBeforePost(Query& q);
    void openStatement(const QStringList& lines);

    QPointer<QWidget> m_card;
};

// The customer query window while it is open; null otherwise.
extern TFrmKHCX* FrmKHCX;
