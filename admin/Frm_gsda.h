#pragma once
// 公司档案: the one row of 公司信息 edited in place. 保存 is enabled only while the
// row is being edited; the saved company code replaces GSDM at once.
#include "data/DataSource.h"
#include "data/Query.h"
#include "widgets/DbControls.h"

#include <QDialog>

class QPushButton;

class TFrmgsda : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmgsda(QWidget* parent = nullptr);
    ~TFrmgsda() override;

    Query qryGSXX;     // the one row of 公司信息
    DataSource dsGSXX; // data link of qryGSXX

    void DataSetPost1Execute(); // 保存 (Button1): saves the row, GSDM takes the new code
    void done(int r) override;

private:
    void qryGSXXBeforePost(Query& q); // the save check: company code and name given
    void updateActions();

    DbEdit* DBEdit1;      // 公司代码
    DbEdit* DBEdit2;      // 公司名称
    DbEdit* DBEdit3;      // 公司地址 (below 公司电话)
    DbEdit* DBEdit4;      // 公司电话
    QPushButton* Button1; // 保存: enabled while the row is being edited
    QPushButton* BitBtn2; // 取消: closes, an unsaved change dropped
};
