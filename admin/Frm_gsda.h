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

    Query qryGSXX;
    DataSource dsGSXX;

    void DataSetPost1Execute();
    void done(int r) override;

private:
    void qryGSXXBeforePost(Query& q);
    void updateActions();

    DbEdit* DBEdit1;
    DbEdit* DBEdit2;
    DbEdit* DBEdit3;
    DbEdit* DBEdit4;
    QPushButton* Button1;
    QPushButton* BitBtn2;
};
