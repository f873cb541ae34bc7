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

    QLineEdit* edtBh;
    QLineEdit* edtMc;
    DbGrid* DBGrid1;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QRadioButton* rdbtnFilter;
    QRadioButton* rdbtnLocate;

    void FormCreate();
    void edtBhChange();
    void edtMcChange();
    void rdbtnLocateClick();
    void btnOKClick();

private:
    void search(const QString& field, const QString& typed);
    void setFilter(const QString& f);

    DataSource* m_ds;
};
