#include "widgets/PasswordBox.h"

#include <QLineEdit>

void makePasswordBox(QLineEdit* box)
{
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}
