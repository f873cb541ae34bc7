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

    Query QryHXZD, QryLCZD, QryQSZD, QryWZZD, QryGYFSZD, QryXQFSZD;
    DataSource dsHXZD, dsLCZD, dsQSZD, dsWZZD, dsGYFSZD, dsXQFSZD;

    void PageControl1Change(int index);
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

    QTabWidget* PageControl1;
    DbNavigator* DBNavigator1;
    QPushButton* BitBtn1;
    Page m_pages[4];
};
