#pragma once
// The frame of the listing and the customer query window: title band, tool bar,
// quick-search panel, result grid, the row set with its two row actions, and the
// handlers both windows share (first search, condition builder, column chooser,
// date pickers, printing, Excel export, record card, exchange, closing).
//
// A register's window derives from it, lays out its quick-search panel (the
// controls both panels have are made here, the register adds its own), builds the
// quick-search statement and makes its record card. Its names, texts, grid
// columns and save rule are configuration. A tool-bar button
// or a grid column that both registers get is added here.
//
// The result and the row actions its record card uses are the window's
// RecordRows (registers/RecordRows.h).
#include "data/DataSource.h"
#include "data/Query.h"
#include "registers/QueryWindow.h"
#include "registers/RecordRows.h"
#include "widgets/DataSetActions.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <memory>

class QGridLayout;
class QueryFrame;

// A tool-bar button of a feature of its own, after the window's fixed buttons.
struct QueryTool {
    QString name; // objectName
    QString text;
    std::function<void(QueryFrame&)> run;
};

class QueryFrame : public QDialog
{
    Q_OBJECT
public:
    ~QueryFrame() override;

    // The tools every query window shows after its own buttons, set once at
    // start-up (by whoever wires the features together).
    static void setExtraTools(const QList<QueryTool>& tools);

    const QueryWindowConfig& config() const { return m_config; }
    // The window's row set and its data link (qryFwxx / dsFwxx, qrykhxx / dskhxx).
    Query& rows() { return m_records.rows(); }
    DataSource& rowsLink() { return m_records.link(); }
    // The result with its row actions, as the record card works on it.
    RecordRows& records() { return m_records; }
    DataSetPostAction* DataSetPost1;     // 保存 of the record card
    DataSetDeleteAction* DataSetDelete1; // 删除 of the record card

    // The tool bar, left to right.
    DbNavigator* DBNavigator1; // first, previous, next, last row of the result
    QPushButton* BitBtn1;      // 查询: the condition-builder search
    QPushButton* btnLL;        // 查看: the current row on the record card
    QPushButton* BitBtn2;      // 项目: the column chooser
    QPushButton* BitBtn3;      // 导出: the result into the exchange database
    QPushButton* BitBtn6;      // 导入: new rows from an exchange file
    QPushButton* BitBtn8;      // 生成Excel: the spreadsheet export
    QPushButton* Button1;      // 打印: print preview of the result
    QPushButton* BitBtn4;      // 退出
    // 匹配客户 / 匹配房源, after the fixed tool bar; available while the result holds a row.
    QPushButton* btnPP;
    // The quick-search controls both panels have.
    QCheckBox* cbSFYX;    // 是否有效: ticked 有效 rows, not ticked 无效 ones
    QComboBox* cbFS;      // 方式: 供应方式 / 需求方式
    QComboBox* cbLC;      // 楼层
    QComboBox* cbHX;      // 户型
    QComboBox* cbWZ;      // 位置
    QLineEdit* edtXQDZ;   // 小区名称或地址 (listings) / 地址描述 (customers)
    QLineEdit* edtMJ1;    // 面积: lower bound (listings) / one area (customers)
    QLineEdit* edtJG1;    // 价格: lower bound (listings) / one price (customers)
    QLineEdit* edtRQ1;    // 日期范围: from, YYMMDD, set by Button2
    QLineEdit* edtRQ2;    // 日期范围: to, YYMMDD, set by Button3
    QPushButton* Button2; // "..." date picker of edtRQ1
    QPushButton* Button3; // "..." date picker of edtRQ2
    QPushButton* BitBtn5; // 速查: the quick search
    DbGrid* DBGridEh1;    // the result grid

    // Handlers.
    void FormCreate();   // dates, the first search (this month's rows), the lists
    void BitBtn5Click(); // 速查
    void BitBtn1Click(); // 查询
    void BitBtn2Click(); // 项目
    void Button2Click(); // "..." of edtRQ1
    void Button3Click(); // "..." of edtRQ2
    void Button1Click(); // 打印
    void BitBtn8Click(); // 生成Excel
    void btnLLClick();   // 查看, and a double click in the grid
    void BitBtn3Click(); // 导出
    void BitBtn6Click(); // 导入
    void BitBtn4Click(); // 退出
    void FormClose();    // closes the result
    void btnPPClick();   // 匹配客户 / 匹配房源

    // Whether the result is open and holds a row (there is a current row).
    bool holdsRow() const { return m_records.holdsRow(); }
    // Matches the current row against the other register (nothing without a row):
    // the result window opens modally over `from` (this window or its card).
    void matchCurrent(QWidget* from) { m_records.matchCurrent(from); }

    // The record card while it is open (questions and failed checks sit on it).
    QWidget* card() const { return m_records.card(); }

    void done(int r) override;

protected:
    QueryFrame(const QueryWindowConfig& config, QWidget* parent);

    // The quick-search panel's grid, for the register's layout.
    QGridLayout* panel() const { return m_panel; }
    QWidget* panelWidget() const;
    void addCaption(const QString& text, int row, int column);
    // A box for a whole number (digits only), and two boxes joined by "至".
    QLineEdit* digitsBox(const char* name);
    QWidget* range(QLineEdit* from, QLineEdit* to);
    // edtRQ1, Button2, "至", edtRQ2, Button3 on one row.
    QWidget* dateRange();
    // Tab order of the panel's controls.
    void setPanelTabOrder(const QList<QWidget*>& chain);

    // The quick-search statement from the panel's values: `shared` holds those of
    // the controls both panels have.
    virtual QStringList quickSearchLines(const RegisterRules::SearchPanel& shared) const = 0;
    // A new record card over this window's rows.
    virtual std::unique_ptr<QDialog> makeCard() = 0;

private:
    void buildFrame();
    // Controls on one row; a null part stands for the word "至".
    QWidget* strip(const QList<QWidget*>& parts, bool stretch);
    void openStatement(const QStringList& lines);

    QueryWindowConfig m_config;
    RecordRows m_records;
    QGridLayout* m_panel = nullptr;
};
