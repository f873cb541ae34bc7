#pragma once
// 基础数据: the house-type, floor, ownership and location dictionaries, one tab
// each, edited in place in their lists; the navigator follows the shown tab.
// Entries are checked for being empty and for duplicates within their dictionary.
#include "admin/core/Dictionaries.h"
#include "data/DataSource.h"
#include "data/Query.h"

#include <QDialog>

class DbGrid;
class DbNavigator;
class QPushButton;
class QTabWidget;

class TFrmJCSJ : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmJCSJ(QWidget* parent = nullptr);
    ~TFrmJCSJ() override;

    Query QryHXZD;       // 户型字典 (tab 户型)
    Query QryLCZD;       // 楼层字典 (tab 楼层)
    Query QryQSZD;       // 权属字典 (tab 权属)
    Query QryWZZD;       // 位置字典 (tab 位置)
    Query QryGYFSZD;     // 供应方式字典, read only, no tab
    Query QryXQFSZD;     // 需求方式字典, read only, no tab
    DataSource dsHXZD;   // data link of QryHXZD
    DataSource dsLCZD;   // data link of QryLCZD
    DataSource dsQSZD;   // data link of QryQSZD
    DataSource dsWZZD;   // data link of QryWZZD
    DataSource dsGYFSZD; // data link of QryGYFSZD
    DataSource dsXQFSZD; // data link of QryXQFSZD

    void PageControl1Change(int index); // another tab: the navigator follows it
    void done(int r) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page {
        Query* q = nullptr;
        DataSource* ds = nullptr;
        DbGrid* grid = nullptr;
        Dict::Info info;
        QString before; // trimmed entry when editing began
    };
    void beforeEdit(Page& p);
    void beforePost(Page& p);
    void beforeDelete();
    void closeAll();
    void commitGridEditor();

    QTabWidget* PageControl1;  // tabs 户型, 楼层, 权属, 位置 (grids DBGrid1..4)
    DbNavigator* DBNavigator1; // works on the shown tab's dictionary
    QPushButton* BitBtn1;      // 退出
    Page m_pages[4];
};
