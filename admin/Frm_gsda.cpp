#include "admin/Frm_gsda.h"

#include "admin/core/CompanyRules.h"
#include "data/DbError.h"
#include "data/Text.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

DbEdit* boundEdit(QWidget* parent, const char* name, DataSource* ds, const QString& field)
{
    auto* e = new DbEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->bind(ds, field);
    return e;
}

} // namespace

TFrmgsda::TFrmgsda(QWidget* parent) : QDialog(parent), qryGSXX(&dmbasic->adoCntnfybase)
{
    setObjectName(QStringLiteral("Frmgsda"));
    setWindowTitle(QStringLiteral("公司档案"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // The table holds exactly one row; the window neither adds nor removes rows.
    qryGSXX.beforeInsert = [](Query&) { throw SilentAbort(); };
    qryGSXX.beforeDelete = [](Query&) { throw SilentAbort(); };
    qryGSXX.beforePost = [this](Query& q) { qryGSXXBeforePost(q); };
    qryGSXX.addSql(QStringLiteral("select * from 公司信息"));
    qryGSXX.open();
    dsGSXX.setDataSet(&qryGSXX);

    auto* title = new QLabel(QStringLiteral("公司档案卡片"), this);
    QFont tf(QStringLiteral("楷体_GB2312"));
    tf.setPixelSize(20);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);

    auto* box = new QGroupBox(this);
    auto* form = new QFormLayout(box);
    DBEdit1 = boundEdit(box, "DBEdit1", &dsGSXX, QStringLiteral("公司代码"));
    DBEdit1->setFixedWidth(60);
    DBEdit2 = boundEdit(box, "DBEdit2", &dsGSXX, QStringLiteral("公司名称"));
    DBEdit4 = boundEdit(box, "DBEdit4", &dsGSXX, QStringLiteral("公司电话"));
    DBEdit3 = boundEdit(box, "DBEdit3", &dsGSXX, QStringLiteral("公司地址"));
    for (DbEdit* e : {DBEdit2, DBEdit4, DBEdit3})
        e->setMinimumWidth(300);
    form->addRow(QStringLiteral("公司代码"), DBEdit1);
    form->addRow(QStringLiteral("公司名称"), DBEdit2);
    form->addRow(QStringLiteral("公司电话"), DBEdit4);
    form->addRow(QStringLiteral("公司地址"), DBEdit3);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit4);
    setTabOrder(DBEdit4, DBEdit3);

    Button1 = new QPushButton(QStringLiteral("保存"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton* b : {Button1, BitBtn2})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(BitBtn2);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(title);
    lay->addWidget(box);
    lay->addLayout(buttons);
    lay->setSizeConstraint(QLayout::SetFixedSize);

    onSignal(Button1, &QPushButton::clicked, this, &TFrmgsda::DataSetPost1Execute);
    onSignal(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(&dsGSXX, &DataSource::stateChanged, this, &TFrmgsda::updateActions);
    updateActions();
    DBEdit1->setFocus();
}

TFrmgsda::~TFrmgsda()
{
    qryGSXX.cancel();
    qryGSXX.close();
}

void TFrmgsda::updateActions()
{
    Button1->setEnabled(qryGSXX.isEditing());
}

void TFrmgsda::qryGSXXBeforePost(Query& q)
{
    const Company::Failure f =
        Company::check(q.text(QStringLiteral("公司代码")), q.text(QStringLiteral("公司名称")));
    if (f == Company::Failure::None) return;
    dialogs().message(this, Company::message(f));
    (f == Company::Failure::NameEmpty ? DBEdit2 : DBEdit1)->setFocus();
    throw SilentAbort();
}

void TFrmgsda::DataSetPost1Execute()
{
    if (!qryGSXX.isEditing()) return;
    qryGSXX.post();
    GSDM = Text::trim(qryGSXX.text(QStringLiteral("公司代码")));
}

void TFrmgsda::done(int r)
{
    // A change not saved by now is dropped.
    qryGSXX.cancel();
    qryGSXX.close();
    QDialog::done(r);
}
