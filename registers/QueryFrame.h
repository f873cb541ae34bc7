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
#include <memory>

class QGridLayout;

class QueryFrame : public QDialog
{
    Q_OBJECT
public:
    ~QueryFrame() override;

    const QueryWindowConfig& config() const { return m_config; }
    // The window's row set and its data link (qryFwxx / dsFwxx, qrykhxx / dskhxx).
    Query& rows() { return m_records.rows(); }
    DataSource& rowsLink() { return m_records.link(); }
    // The result with its row actions, as the record card works on it.
    RecordRows& records() { return m_records; }
    DataSetPostAction* DataSetPost1;     // 保存 of the record card
    DataSetDeleteAction* DataSetDelete1; // 删除 of the record card

    DbNavigator* DBNavigator1;
    QPushButton *BitBtn1, *btnLL, *BitBtn2, *BitBtn3, *BitBtn6, *BitBtn8, *Button1, *BitBtn4;
    // 匹配客户 / 匹配房源, after the fixed tool bar; available while the result holds a row.
    QPushButton* btnPP;
    // The quick-search controls both panels have.
    QCheckBox* cbSFYX;
    QComboBox *cbFS, *cbLC, *cbHX, *cbWZ;
    QLineEdit *edtXQDZ, *edtMJ1, *edtJG1, *edtRQ1, *edtRQ2;
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
    void btnPPClick();

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
