#pragma once
// The follow-up notes window 跟进记录 of one listing or customer: the record's notes
// newest first (for a customer also the viewings of listings that name it), and a
// box below them for a new note or the chosen note's kind, customer and text.
// Any operator adds a note; 修改 and 删除 are refused with a message unless the
// operator wrote the note or is a system administrator. A new note may set the
// next follow-up (date, time, and the operator it is for: the author unless
// another is chosen); the record's open reminders show above the buttons.
#include "common/core/FollowUps.h"

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

    QLabel* lblDAH;
    QTableWidget* gridNotes;
    QComboBox* cbFS;
    QLineEdit* edtKHDAH; // a listing's viewing: the customer's archive number
    QPlainTextEdit* memoNR;
    QCheckBox* chkNext;    // the new note sets a next follow-up
    QDateTimeEdit* dtNext; // when
    QComboBox* cbNextFor;  // for whom (staff number as item data)
    QLabel* lblNext;       // the record's open reminders
    QPushButton *btnAdd, *btnChange, *btnDelete, *btnExit;

    void btnAddClick();
    void btnChangeClick();
    void btnDeleteClick();
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
