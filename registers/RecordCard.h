#pragma once
// The frame of the listing and the customer record card. A card has no row set of
// its own: its controls are bound to its query window's data link and show that
// window's current row; 保存 and 删除 are the query window's row actions. The
// frame holds the panel (the register's description, laid out as on its entry
// window), the three lists taken from the query window, the confidential block
// shown to senior roles only, the bottom strip (是否有效, 保存, 删除, 退出) and
// under it a row with 匹配 (the row matched against the other register), 修改记录
// (its history) and 跟进记录 (its follow-up notes), after the strip in tab order.
// Closing the card discards unsaved changes without a question.
//
// A register's card derives from it and adds its own controls to the bottom strip
// and its handlers; the frame builds the register's panel. A button both cards get
// is added here. The rows it edits are a query window's result, or rows made for
// one record (registers/RecordRows.h).
#include "registers/CardFrame.h"

#include <QVariant>
#include <functional>

class DbCheckBox;
class PanelBuilder;
class Query;
class RecordRows;
class QComboBox;
class QPushButton;

struct RecordCardConfig {
    QString objectName; // e.g. FrmLLFZ
    QString caption;    // window caption
    CardLayout layout;  // with the register's panel
    int exitResult;     // the result 退出 closes the card with
};

class RecordCard : public CardFrame
{
    Q_OBJECT
public:
    DbCheckBox* DBCheckBox1; // 是否有效: 类型 有效 / 无效
    QPushButton* Button1;    // 保存: the rows' DataSetPost1
    QPushButton* Button3;    // 删除: the rows' DataSetDelete1
    QPushButton* BitBtn1;    // 退出
    // 匹配客户 / 匹配房源, after 退出; available while the query window's result holds a row.
    QPushButton* btnPP;
    QPushButton* btnXGJL; // 修改记录, after the fixed controls in tab order
    QPushButton* btnGJJL; // 跟进记录, after the card's fixed controls
    QPushButton* btnCJ;   // 成交登记, last in the second row and in tab order

    // What 成交登记 runs: registers a deal on the record (table, archive number) and
    // tells whether one was stored. Set by the application; the button does nothing
    // without it.
    using DealEntry =
        std::function<bool(QWidget* parent, const QString& table, const QString& number)>;
    static DealEntry& dealEntry();

    // Handlers: a choice in a list is written into the row.
    void cbLCChange(); // 楼层
    void cbHXChange(); // 户型
    void cbWZChange(); // 位置
    // Matches the row as stored. Unsaved changes are not matched and never saved
    // unasked: the question "修改尚未保存，是否保存后再匹配？" saves them first under
    // the save rule (a refused save shows its message and matches nothing); No
    // matches nothing and keeps the changes on the card.
    void btnPPClick();
    // Opens the history of the current row; personal values hidden from the roles
    // that do not see the confidential block.
    void btnXGJLClick();
    // Opens the follow-up notes of the current record; nothing on an empty result.
    void btnGJJLClick();
    // Registers a deal on the record as stored (unsaved changes: the same question as
    // 匹配), then reads the result again, so the card shows the record's new validity.
    void btnCJClick();

    // True when this role sees the confidential block (the owner's or the
    // customer's personal data).
    static bool showsConfidential(const QString& role);
    bool confidentialVisible() const;

    void done(int r) override;

protected:
    RecordCard(const RecordCardConfig& config, RecordRows& rows, QWidget* parent);

public:
    // The rows the card edits, with their data link and row actions.
    RecordRows& records() const { return m_rows; }

protected:
    // The current row.
    Query& row() const;
    // Adds the register's own controls to the bottom strip after 是否有效, in tab order.
    void addToStrip(const QList<QWidget*>& own);
    // Puts the current row into editing and writes the value; nothing on an empty result.
    void writeToRow(const QString& column, const QVariant& value);

private:
    void finishPanel(const PanelBuilder& p);
    void writeChoice(const char* list, const QString& column);
    // The columns of the confidential block.
    QStringList confidentialColumns() const;

    RecordCardConfig m_config;
    RecordRows& m_rows;
    QList<QWidget*> m_confidential;
    QStringList m_panelOrder;
};
