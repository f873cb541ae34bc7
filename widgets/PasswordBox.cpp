#include "widgets/PasswordBox.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

void makePasswordBox(QLineEdit* box)
{
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

QLineEdit* namedPasswordBox(QWidget* parent, const char* name, QObject* filter)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    makePasswordBox(e);
    e->installEventFilter(filter);
    return e;
}

void layOutPasswordWindow(QDialog* w, QLabel* info,
                          const QList<std::pair<QString, QLineEdit*>>& boxes, QPushButton* ok,
                          QPushButton* cancel)
{
    auto* form = new QFormLayout;
    for (const auto& [caption, box] : boxes)
        form->addRow(caption, box);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* lay = new QVBoxLayout(w);
    if (info) lay->addWidget(info);
    lay->addLayout(form);
    lay->addLayout(buttons);
    lay->setSizeConstraint(QLayout::SetFixedSize);
}
