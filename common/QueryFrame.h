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
// A window that is never shown can hold one record for a record card opened from
// elsewhere (showRecord: a match result opens the other register's record so).
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
    Query& rows() { return m_rows; }
    DataSource& rowsLink() { return m_link; }
    DataSetPostAction* DataSetPost1;
    DataSetDeleteAction* DataSetDelete1;

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
    bool holdsRow() const;
    // Matches the current row against the other register (nothing without a row):
    // the result window opens modally over `from` (this window or its card).
    void matchCurrent(QWidget* from);
    // The result then holds only the record with this archive number, and the
    // record card opens on it (as 查看 does: modal, empty when the record is gone).
    void showRecord(const QString& archive);

    // The record card while it is open (questions and failed checks sit on it).
    QWidget* card() const { return m_card; }

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
    // A new record card over this window.
    virtual std::unique_ptr<QDialog> makeCard() = 0;

private:
    void buildFrame();
    // Controls on one row; a null part stands for the word "至".
    QWidget* strip(const QList<QWidget*>& parts, bool stretch);
    // Shows a failed save check's message on the card (or this window), moves the
    // focus there and stops the save.
    [[noreturn]] void refuseSave(const RegisterRules::FailedCheck& failed);
    void openStatement(const QStringList& lines);

    QueryWindowConfig m_config;
    Query m_rows;
    DataSource m_link;
    QGridLayout* m_panel = nullptr;
    QPointer<QWidget> m_card;
};
