#include "pickers/U_SelectPub.h"

#include "data/DataSource.h"
#include "data/Query.h"
#include "data/Text.h"
#include "pickers/PubParams.h"
#include "pickers/core/PickerFilter.h"
#include "shell/Door.h"
#include "widgets/CharLimit.h"
#include "widgets/DbGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TdlgSelectPub::TdlgSelectPub(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSelectPub"));
    setWindowTitle(QStringLiteral("选择字典"));
    setFixedSize(360, 400);

    edtBh = new QLineEdit(this);
    edtBh->setObjectName(QStringLiteral("edtBh"));
    edtMc = new QLineEdit(this);
    edtMc->setObjectName(QStringLiteral("edtMc"));
    for (QLineEdit* e : {edtBh, edtMc})
        limitChars(e, kSearchChars);
    rdbtnFilter = new QRadioButton(QStringLiteral("过滤"), this);
    rdbtnFilter->setObjectName(QStringLiteral("rdbtnFilter"));
    rdbtnFilter->setChecked(true);
    rdbtnLocate = new QRadioButton(QStringLiteral("定位"), this);
    rdbtnLocate->setObjectName(QStringLiteral("rdbtnLocate"));

    m_ds = new DataSource(this);
    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));

    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* search = new QGridLayout;
    search->addWidget(new QLabel(QStringLiteral("查询编号"), this), 0, 0);
    search->addWidget(edtBh, 0, 1);
    search->addWidget(rdbtnFilter, 0, 2);
    search->addWidget(new QLabel(QStringLiteral("查询名称"), this), 1, 0);
    search->addWidget(edtMc, 1, 1);
    search->addWidget(rdbtnLocate, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(search);
    lay->addWidget(DBGrid1, 1);
    lay->addLayout(buttons);

    onSignal(edtBh, &QLineEdit::textChanged, this, &TdlgSelectPub::edtBhChange);
    onSignal(edtMc, &QLineEdit::textChanged, this, &TdlgSelectPub::edtMcChange);
    onSignal(rdbtnLocate, &QRadioButton::clicked, this, &TdlgSelectPub::rdbtnLocateClick);
    onSignal(btnOK, &QPushButton::clicked, this, &TdlgSelectPub::btnOKClick);
    onSignal(DBGrid1, &DbGrid::rowDoubleClicked, this, &TdlgSelectPub::btnOKClick);
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TdlgSelectPub::FormCreate()
{
    m_ds->setDataSet(PubDataSet);
    DBGrid1->setColumns({{PubBhField, QStringLiteral("编号"), 67, {}},
                         {PubMcField, QStringLiteral("名称"), 174, {}}});
    DBGrid1->setDataSource(m_ds);
    if (PubDataSet) {
        PubDataSet->setFiltered(false);
        PubDataSet->setFilter(PubFilter);
        PubDataSet->setFiltered(true);
    }
}

void TdlgSelectPub::setFilter(const QString& f)
{
    PubDataSet->setFiltered(false);
    PubDataSet->setFilter(f);
    PubDataSet->setFiltered(true);
}

void TdlgSelectPub::search(const QString& field, const QString& typed)
{
    if (!PubDataSet || !PubDataSet->isActive()) return;
    if (rdbtnLocate->isChecked()) {
        // Locating moves to the first row that begins with the text as typed.
        PubDataSet->locate(field, typed, {true, true});
        return;
    }
    setFilter(pickerFilter(PubFilter, field, typed));
}

void TdlgSelectPub::edtBhChange()
{
    search(PubBhField, edtBh->text());
}

void TdlgSelectPub::edtMcChange()
{
    search(PubMcField, edtMc->text());
}

void TdlgSelectPub::rdbtnLocateClick()
{
    if (PubDataSet && PubDataSet->isActive()) setFilter(PubFilter);
}

void TdlgSelectPub::btnOKClick()
{
    const bool hasRow = PubDataSet && PubDataSet->isActive() && !PubDataSet->isEmpty();
    PubBh = hasRow ? Text::trim(PubDataSet->text(PubBhField)) : QString();
    PubMc = hasRow ? Text::trim(PubDataSet->text(PubMcField)) : QString();
    accept();
}
