#pragma once
// The rows a record card edits: a register's row set with its data link, its two
// row actions 保存 and 删除, and the rules every save and delete of the register
// runs (nothing inserted here, the delete question, the save rule, the date of
// each record's last follow-up note). A query window holds one for its result; a
// record card opened from elsewhere (a match result, a to-do list) holds one with
// just its record, so no query window is built for it.
#include "data/DataSource.h"
#include "data/Query.h"
#include "registers/QueryWindow.h"
#include "widgets/DataSetActions.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

class RecordRows : public QObject
{
    Q_OBJECT
public:
    // `window` is where questions and refusals show while no record card is open.
    RecordRows(const QueryWindowConfig& config, QWidget* window);
    ~RecordRows() override;

    const QueryWindowConfig& config() const { return m_config; }
    Query& rows() { return m_rows; }
    const Query& rows() const { return m_rows; }
    DataSource& link() { return m_link; }
    DataSetPostAction* post() const { return m_post; }
    DataSetDeleteAction* remove() const { return m_delete; }

    // Opens the statement as the result (a refused statement leaves it closed).
    void open(const QStringList& lines);
    // The result then holds only the record with this archive number (empty when
    // it is gone).
    void openRecord(const QString& archive);

    // Whether the result is open and holds a row (there is a current row).
    bool holdsRow() const;
    // Matches the current row against the other register (nothing without a row):
    // the result window opens modally over `from`.
    void matchCurrent(QWidget* from);

    // The record card while it is open: questions and failed checks sit on it.
    QWidget* card() const { return m_card; }
    void setCard(QWidget* card) { m_card = card; }

    // The entries the card's 楼层, 户型 and 位置 lists offer (by the list's
    // objectName): a query window's own lists as loaded when it opened, else the
    // dictionaries read once.
    QStringList listItems(const QString& control) const;
    void setListItems(std::function<QStringList(const QString& control)> items);

private:
    // Shows a failed save check's message on the card (or the window), moves the
    // focus there and stops the save.
    [[noreturn]] void refuseSave(const RegisterRules::FailedCheck& failed);

    const QueryWindowConfig& m_config;
    QWidget* m_window;
    Query m_rows;
    DataSource m_link;
    DataSetPostAction* m_post;
    DataSetDeleteAction* m_delete;
    QPointer<QWidget> m_card;
    std::function<QStringList(const QString&)> m_items;
};
