#include "admin/Frm_ryda.h"

#include "admin/core/StaffRules.h"
#include "data/DbError.h"
#include "data/Text.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

TFrmryda::TFrmryda(QWidget* parent) : QDialog(parent), ADOQryryda(&dmbasic->adoCntnfybase)
{
    setObjectName(QStringLiteral("Frmryda"));
    setWindowTitle(QStringLiteral("人员档案"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    ADOQryryda.beforeInsert = [this](Query& q) { ADOQryrydaBeforeInsert(q); };
    ADOQryryda.afterInsert = [this](Query& q) { ADOQryrydaAfterInsert(q); };
    ADOQryryda.beforeEdit = [this](Query& q) { ADOQryrydaBeforeEdit(q); };
    ADOQryryda.beforePost = [this](Query& q) { ADOQryrydaBeforePost(q); };
    ADOQryryda.beforeDelete = [this](Query& q) { ADOQryrydaBeforeDelete(q); };
    ADOQryryda.setSql(Staff::listSql());
    ADOQryryda.open();
    dsryda.setDataSet(&ADOQryryda);

    DBNavigator1 = new DbNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(&dsryda);
    BitBtn1 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    auto* tools = new QHBoxLayout;
    tools->addWidget(DBNavigator1);
    tools->addWidget(BitBtn1);
    tools->addStretch();

    auto* title = new QLabel(QStringLiteral("人员档案卡片"), this);
    QFont tf(QStringLiteral("楷体_GB2312"));
    tf.setPixelSize(20);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    DBGrid1 = new DbGrid(Splitter1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(&dsryda);
    DBGrid1->setColumns({{QStringLiteral("员工编号"), QStringLiteral("员工编号"), 70, {}},
                         {QStringLiteral("员工姓名"), QStringLiteral("员工姓名"), 90, {}},
                         {QStringLiteral("员工职务"), QStringLiteral("员工职务"), 90, {}},
                         {QStringLiteral("联系电话"), QStringLiteral("联系电话"), 100, {}}});

    auto* card = new QWidget(Splitter1);
    auto* form = new QFormLayout(card);
    auto makeEdit = [&](const char* name, const QString& field) {
        auto* e = new DbEdit(card);
        e->setObjectName(QString::fromLatin1(name));
        e->bind(&dsryda, field);
        form->addRow(field, e);
        return e;
    };
    DBEdit1 = makeEdit("DBEdit1", QStringLiteral("员工编号"));
    DBEdit2 = makeEdit("DBEdit2", QStringLiteral("员工姓名"));
    DBEdit3 = makeEdit("DBEdit3", QStringLiteral("员工职务"));
    DBEdit4 = makeEdit("DBEdit4", QStringLiteral("联系电话"));
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBEdit4);
    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(card);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(tools);
    lay->addWidget(title);
    lay->addWidget(Splitter1, 1);
    resize(760, 420);

    onSignal(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

TFrmryda::~TFrmryda()
{
    ADOQryryda.cancel();
    ADOQryryda.close();
}

void TFrmryda::done(int r)
{
    // A change not yet saved is dropped.
    ADOQryryda.cancel();
    ADOQryryda.close();
    QDialog::done(r);
}

void TFrmryda::ADOQryrydaBeforeInsert(Query&)
{
    DBEdit1->setFocus();
}

void TFrmryda::ADOQryrydaAfterInsert(Query& q)
{
    // A new row is a staff member who is not an operator.
    q.setValue(QStringLiteral("操作人员"), QStringLiteral("否"));
    q.setValue(QStringLiteral("功能组"), QStringLiteral("#"));
    m_numberBefore.clear();
    DBEdit1->setFocus();
}

void TFrmryda::ADOQryrydaBeforeEdit(Query& q)
{
    m_numberBefore = Text::trim(q.text(QStringLiteral("员工编号")));
}

void TFrmryda::ADOQryrydaBeforePost(Query& q)
{
    const QString before = q.state() == Query::State::Insert ? QString() : m_numberBefore;
    const Staff::Failure f =
        Staff::check(q.text(QStringLiteral("员工编号")), q.text(QStringLiteral("员工姓名")), before,
                     [](const QString& no) { return Staff::numberTaken(dmbasic->QryPUB, no); });
    if (f == Staff::Failure::None) {
        // The number is stored as it was checked, so " 12" and "12" cannot both exist.
        const QString no = q.text(QStringLiteral("员工编号"));
        if (Text::trim(no) != no) q.setValue(QStringLiteral("员工编号"), Text::trim(no));
        return;
    }
    dialogs().message(this, Staff::message(f));
    (f == Staff::Failure::NameEmpty ? DBEdit2 : DBEdit1)->setFocus();
    throw SilentAbort();
}

void TFrmryda::ADOQryrydaBeforeDelete(Query&)
{
    if (!dialogs().question(this, QStringLiteral("是否删除该记录？"))) throw SilentAbort();
}
