#pragma once
// The frame of the listing and the customer entry window: a row set that only
// ever holds the row being typed, the dictionary lists, the 方式 rule, the save
// (the register's checks, the archive number, the list values, the question
// whether to enter another one) and closing, which drops an unsaved row.
//
// A register's window derives from it and names its checks and what it writes at
// save; the frame builds the register's panel (its description, shared with its
// record card) and prepares the window.
#include "data/DataSource.h"
#include "data/Query.h"
#include "registers/CardFrame.h"
#include "registers/core/RegisterRules.h"

#include <QVariant>
#include <functional>
#include <optional>

class PanelBuilder;
class QComboBox;
class QPushButton;

struct EntryWindowConfig {
    QString caption;   // window caption
    CardLayout layout; // with the register's panel
    bool fixedSize = true;
    struct Statement {
        QString table;     // the register's table
        QString emptyLine; // the second line of the statement that reads no row
        QChar numberQuote; // quote of the archive-number lookup's values
    } statement;
    int fontPx = 15; // window font 宋体 in pixels
    struct Controls {
        QString save;   // objectName of 保存
        QString cancel; // objectName of 取消
        QString first;  // receives the focus for each new row
    } controls;
    int buttonFontPx = 0;                       // 保存 and 取消; 0: the window font
    QString question;                           // asked after a save
    QList<RegisterRules::DictionaryList> lists; // filled in this order
    RegisterRules::ModeRule modeRule;           // cbFS's choice on cbQS
    // A new row's values after 公司编号, 录入日期 and 类型 "有效": the register's
    // own, then 0 in each of the amounts.
    QList<QPair<QString, QVariant>> defaults = {};
    QStringList zeroColumns;
    // Written at save, in order, as "list=column": the list's trimmed text.
    QStringList listColumns;
};

class EntryWindow : public CardFrame
{
    Q_OBJECT
public:
    ~EntryWindow() override;

    const EntryWindowConfig& config() const { return m_config; }
    // The row set (qryFwxx / qrykhxx) and its data link.
    Query& row() { return m_row; }
    DataSource& rowLink() { return m_link; }

    // Handlers.
    void FormCreate(); // prepares the empty row set and fills the lists
    void FormShow();   // starts a new row
    void cbFSChange(); // 方式 chosen: the 方式 rule on 权属 (cbQS)
    void FormClose();  // drops a row never saved

    void done(int r) override;

    // Asked at 保存 after the register's checks pass and before the number is given
    // (a feature's own question, such as likely duplicates); false leaves the row
    // unsaved in the window. Set once at start-up.
    static void setSaveQuestion(const std::function<bool(EntryWindow&)>& ask);

protected:
    EntryWindow(const EntryWindowConfig& config, QWidget* parent);

    // 保存: the register's checks, the archive number, the values written at save,
    // the post, then the question whether to enter another one.
    void save();
    // The first failing check, or nothing when the row may be saved.
    virtual std::optional<RegisterRules::FailedCheck> firstFailedCheck() const = 0;
    // What is written into the row at save, after the archive number: the list
    // values; a register may add its own.
    virtual void writeSaveValues(Query& q);
    // What is stored with the new row in the save's transaction, after the row
    // (under its archive number); a failure leaves the row unsaved.
    virtual void storeWithRow(const QString& number) { Q_UNUSED(number); }
    // After the save committed, before the question whether to enter another one.
    virtual void saved() {}
    // The new row's values: 公司编号, 录入日期, then the configured ones.
    void setDefaults();

    // The text a control shows (a box's text, a list's current text).
    QString shown(const char* name) const;

    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void finishPanel(const PanelBuilder& p);
    [[noreturn]] void refuse(const RegisterRules::FailedCheck& failed);
    QComboBox* list(const QString& name) const;
    void focusFirst();

    EntryWindowConfig m_config;
    Query m_row;
    DataSource m_link;
};
