#pragma once
// The table picker "选择字典": the code and name columns of PubDataSet, narrowed
// by filtering or searched by locating; 确定 returns the current row's code and
// name in PubBh and PubMc.
#include <QDialog>

class DataSource;
class DbGrid;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TdlgSelectPub : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgSelectPub(QWidget* parent = nullptr);

    QLineEdit* edtBh;          // 查询编号: text looked for in the code column
    QLineEdit* edtMc;          // 查询名称: text looked for in the name column
    DbGrid* DBGrid1;           // 编号, 名称: the rows of PubDataSet
    QPushButton* btnOK;        // 确定
    QPushButton* btnCancel;    // 取消
    QRadioButton* rdbtnFilter; // 过滤: typed text narrows the rows
    QRadioButton* rdbtnLocate; // 定位: typed text moves to the first row beginning with it

    void FormCreate();       // the grid over PubDataSet with PubFilter applied
    void edtBhChange();      // 查询编号 typed
    void edtMcChange();      // 查询名称 typed
    void rdbtnLocateClick(); // 定位 chosen: back to the base filter
    void btnOKClick();       // 确定 (or a double click): PubBh and PubMc from the current row

private:
    void search(const QString& field, const QString& typed);
    void setFilter(const QString& f);

    DataSource* m_ds;
};
