#pragma once
// The follow-up notes window 跟进记录 of one listing or customer: the record's notes
// newest first (for a customer also the viewings of listings that name it), and a
// box below them for a new note or the chosen note's kind, customer and text.
// Any operator adds a note; 修改 and 删除 are refused with a message unless the
// operator wrote the note or is a system administrator. A new note may set the
// next follow-up (date, time, and the operator it is for: the author unless
// another is chosen); the record's open reminders show above the buttons.
#include "records/core/FollowUps.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TFrmGJJL : public QDialog
{
    Q_OBJECT
public:
    // The notes of the record `number` of `table` (房屋信息 or 客户信息).
    TFrmGJJL(const QString& table, const QString& number, QWidget* parent = nullptr);

    QLabel* lblDAH;          // 房源档案号：… / 客户档案号：…
    QTableWidget* gridNotes; // 时间, 操作员, 方式, 内容, 客户档案号 / 房源档案号
    QComboBox* cbFS;         // 跟进方式: 电话, 带看, 面谈, 其他
    QLineEdit* edtKHDAH;     // 带看客户档案号: the customer a listing's viewing names
    QPlainTextEdit* memoNR;  // 跟进内容: the note's text
    QCheckBox* chkNext;      // 下次跟进: the new note sets a next follow-up
    QDateTimeEdit* dtNext;   // when the next follow-up is due
    QComboBox* cbNextFor;    // for whom (staff number as item data)
    QLabel* lblNext;         // the record's open reminders
    QPushButton* btnAdd;     // 新增
    QPushButton* btnChange;  // 修改
    QPushButton* btnDelete;  // 删除
    QPushButton* btnExit;    // 退出

    void btnAddClick();    // 新增: adds the box's note
    void btnChangeClick(); // 修改: the chosen note takes the box's kind, customer and text
    void btnDeleteClick(); // 删除: the chosen note, after a question
    // The notes as listed, newest first.
    const QList<FollowUps::Note>& notes() const { return m_notes; }

private:
    void reload(qlonglong select = 0);
    void buildNextRow(QHBoxLayout* row);
    void showOpenReminders();
    // The next follow-up the box sets, or none.
    std::optional<Reminders::Due> nextDue() const;
    void showChosen();
    // The note chosen in the list, or null after a message saying none is.
    const FollowUps::Note* chosen();
    // The note with the box's kind, customer and text.
    FollowUps::Note fromBox(FollowUps::Note note) const;
    // Shows why the note cannot be stored and puts the focus on the part at fault.
    bool refused(const FollowUps::Note& note);
    // Whether the operator may change the note; a message says when he may not.
    bool mayChange(const FollowUps::Note& note);

    QString m_table, m_number;
    QList<FollowUps::Note> m_notes;
};
