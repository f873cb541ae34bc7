#pragma once
// The to-do window as the main window runs it: a double click opens the record on
// its register's card (over a query window of that register made for it), and the
// lists are read again when the card closes, so a note added there shows at once.
class QDialog;
class QWidget;

QDialog* createTodoWindow(QWidget* parent);
// After login: shows the to-do window when the logged-in operator has a reminder
// due today or overdue and has not turned that off. Whether it was shown.
bool openTodoAfterLogin(QWidget* parent);
