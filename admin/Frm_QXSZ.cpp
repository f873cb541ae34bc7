#include "admin/Frm_QXSZ.h"

#include "admin/core/Operators.h"
#include "data/Text.h"
#include "pickers/PubParams.h"
#include "pickers/U_SelectPub.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/DbGrid.h"
#include "widgets/PasswordBox.h"

#include <QDateTime>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

// Points the picker's parameter variables away from a row set that is going away.
struct PickerScope {
    ~PickerScope() { PubDataSet = nullptr; }
};

} // namespace

TFrmQXSZ::TFrmQXSZ(QWidget* parent) : QDialog(parent), qryYGZD(&dmbasic->adoCntnfybase)
{
    setObjectName(QStringLiteral("FrmQXSZ"));
    setWindowTitle(QStringLiteral("权限设置"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // The list only shows operators; rows are never added or removed through it.
    qryYGZD.setSql(Operators::listSql());
    qryYGZD.setReadOnly(true);
    dsYGZD.setDataSet(&qryYGZD);

    cbGNZ = new QComboBox(this);
    cbGNZ->setObjectName(QStringLiteral("cbGNZ"));
    cbGNZ->addItems(Operators::grantableRoles());
    cbGNZ->setEditable(false);

    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(&dsYGZD);
    DBGrid1->setColumns({{QStringLiteral("员工编号"), QStringLiteral("员工编号"), 80, {}},
                         {QStringLiteral("员工姓名"), QStringLiteral("员工姓名"), 120, {}}});

    auto makeBox = [&](const char* name, const QString& field) {
        auto* e = new DbEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->bind(&dsYGZD, field);
        e->setReadOnly(true);
        return e;
    };
    DBEdit1 = makeBox("DBEdit1", QStringLiteral("员工编号"));
    DBEdit2 = makeBox("DBEdit2", QStringLiteral("员工姓名"));
    edtMm = new QLineEdit(this);
    edtMm->setObjectName(QStringLiteral("edtMm"));
    makePasswordBox(edtMm);

    auto makeButton = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    Button3 = makeButton("Button3", QStringLiteral("密码修改"));
    Button1 = makeButton("Button1", QStringLiteral("增加操作员"));
    Button2 = makeButton("Button2", QStringLiteral("删除操作员"));
    Button4 = makeButton("Button4", QStringLiteral("退出设置"));
    btnUnlock = makeButton("btnUnlock", QStringLiteral("解除锁定"));
    btnUnlock->setToolTip(QStringLiteral("让因连续输错密码而被锁定的操作员可以立即再登录"));

    auto* left = new QVBoxLayout;
    auto* roleRow = new QHBoxLayout;
    roleRow->addWidget(new QLabel(QStringLiteral("功能组"), this));
    roleRow->addWidget(cbGNZ, 1);
    left->addLayout(roleRow);
    left->addWidget(DBGrid1, 1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("员工编号"), DBEdit1);
    form->addRow(QStringLiteral("员工姓名"), DBEdit2);
    form->addRow(QStringLiteral("员工密码"), edtMm);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    for (QPushButton* b : {Button3, Button1, Button2, Button4, btnUnlock})
        right->addWidget(b);
    right->addStretch();

    auto* lay = new QHBoxLayout(this);
    lay->addLayout(left, 1);
    lay->addLayout(right);
    resize(560, 360);

    onSignal(cbGNZ, &QComboBox::currentIndexChanged, this, &TFrmQXSZ::cbGNZChange);
    onSignal(Button1, &QPushButton::clicked, this, &TFrmQXSZ::Button1Click);
    onSignal(Button2, &QPushButton::clicked, this, &TFrmQXSZ::Button2Click);
    onSignal(Button3, &QPushButton::clicked, this, &TFrmQXSZ::Button3Click);
    onSignal(Button4, &QPushButton::clicked, this, &QDialog::reject);
    onSignal(btnUnlock, &QPushButton::clicked, this, &TFrmQXSZ::btnUnlockClick);
    setTabOrder(Button4, btnUnlock);

    qryYGZD.open();
    cbGNZ->setCurrentIndex(0);
    applyRoleFilter();
}

TFrmQXSZ::~TFrmQXSZ()
{
    qryYGZD.close();
}

void TFrmQXSZ::done(int r)
{
    qryYGZD.close();
    QDialog::done(r);
}

void TFrmQXSZ::applyRoleFilter()
{
    if (!qryYGZD.isActive()) return;
    qryYGZD.setFiltered(false);
    qryYGZD.setFilter(Operators::roleFilter(cbGNZ->currentText()));
    qryYGZD.setFiltered(true);
}

void TFrmQXSZ::reopenList()
{
    qryYGZD.close();
    qryYGZD.open();
    applyRoleFilter();
}

QString TFrmQXSZ::selectedNumber() const
{
    if (!qryYGZD.isActive() || qryYGZD.isEmpty()) return {};
    return Text::trim(qryYGZD.text(QStringLiteral("员工编号")));
}

void TFrmQXSZ::cbGNZChange()
{
    applyRoleFilter();
}

void TFrmQXSZ::Button1Click()
{
    Query candidates(&dmbasic->adoCntnfybase);
    candidates.addSql(Operators::candidatesSql());
    candidates.open();
    PickerScope scope;
    PubDataSet = &candidates;
    PubBhField = QStringLiteral("员工编号");
    PubMcField = QStringLiteral("员工姓名");
    PubFilter = QString();
    // A number left over from an earlier pick must not be taken for this one.
    PubBh.clear();
    int result = QDialog::Rejected;
    {
        TdlgSelectPub dlg(this);
        result = dialogs().exec(&dlg);
    }
    candidates.close();
    if (result != QDialog::Accepted) return;
    const QString number = Text::trim(PubBh);
    if (number.isEmpty()) return;
    Operators::add(dmbasic->QryPUB, Text::trim(cbGNZ->currentText()), number);
    reopenList();
    qryYGZD.locate(QStringLiteral("员工编号"), number);
}

void TFrmQXSZ::Button2Click()
{
    const QString number = selectedNumber();
    if (number.isEmpty()) return;
    if (!dialogs().question(this, QStringLiteral("是否删除该操作员？"))) return;
    Operators::remove(dmbasic->QryPUB, number);
    reopenList();
}

void TFrmQXSZ::Button3Click()
{
    const QString number = selectedNumber();
    if (number.isEmpty()) return;
    const QString password = Text::trim(edtMm->text());
    if (password.isEmpty()) {
        dialogs().message(this, QStringLiteral("修改的密码不能为空值！"));
        edtMm->setFocus();
        return;
    }
    // The column holds 10 characters; a longer password is refused before the statement.
    if (!Operators::passwordFits(password)) {
        dialogs().message(this, Operators::passwordTooLongMessage());
        edtMm->setFocus();
        return;
    }
    Operators::setPassword(dmbasic->QryPUB, number, password);
    dialogs().message(this, QStringLiteral("密码修改成功！"));
}

void TFrmQXSZ::btnUnlockClick()
{
    const QString number = selectedNumber();
    if (number.isEmpty()) return;
    Connection& c = dmbasic->adoCntnfybase;
    const QDateTime now = QDateTime::currentDateTime();
    if (!LoginGuard::lockOf(c, number, now).locked) {
        dialogs().message(this, QStringLiteral("用户编号“%1”没有被锁定。").arg(number));
        return;
    }
    LoginGuard::unlock(c, number, CurUser.YGBH, c.actor().workstation, now);
    dialogs().message(this, QStringLiteral("用户编号“%1”已解除锁定。").arg(number));
}
