#include "pickers/U_PubQuery.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "data/Text.h"
#include "pickers/PubParams.h"
#include "pickers/core/ConditionText.h"
#include "pickers/core/FieldLines.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/CharLimit.h"
#include "widgets/WidgetUtil.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFrmPubQuery::TFrmPubQuery(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmPubQuery"));
    setWindowTitle(QStringLiteral("公用查询"));
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    setFont(f);
    setFixedSize(400, 250);

    cbZDM = new QComboBox(this);
    cbZDM->setObjectName(QStringLiteral("cbZDM"));
    cbCZF = new QComboBox(this);
    cbCZF->setObjectName(QStringLiteral("cbCZF"));
    cbZDZ = new QComboBox(this);
    cbZDZ->setObjectName(QStringLiteral("cbZDZ"));
    cbZDZ->setEditable(true);
    cbZDZ->setInsertPolicy(QComboBox::NoInsert);
    limitChars(cbZDZ->lineEdit(), kSearchChars);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    SpeedButton1->setToolTip(QStringLiteral("列出所有可能值"));
    MmAnd = new QPlainTextEdit(this);
    MmAnd->setObjectName(QStringLiteral("MmAnd"));
    MmAnd->setReadOnly(true);
    MmAnd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    btnAnd = flatButton(this, QStringLiteral("btnAnd"), QStringLiteral("并且"), 60, false);
    btnClear = flatButton(this, QStringLiteral("btnClear"), QStringLiteral("清除"), 60, false);
    SpeedButton4 =
        flatButton(this, QStringLiteral("SpeedButton4"), QStringLiteral("确定"), 60, false);
    SpeedButton5 =
        flatButton(this, QStringLiteral("SpeedButton5"), QStringLiteral("取消"), 60, false);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("字段名："), this), 0, 0);
    top->addWidget(new QLabel(QStringLiteral("操作符："), this), 0, 1);
    top->addWidget(new QLabel(QStringLiteral("字段值："), this), 0, 2);
    top->addWidget(cbZDM, 1, 0);
    top->addWidget(cbCZF, 1, 1);
    auto* value = new QHBoxLayout;
    value->setSpacing(0);
    value->addWidget(cbZDZ, 1);
    value->addWidget(SpeedButton1);
    top->addLayout(value, 1, 2);
    top->setColumnStretch(0, 3);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(2, 3);
    auto* buttons = new QHBoxLayout;
    for (QToolButton* b : {btnAnd, btnClear, SpeedButton4, SpeedButton5})
        buttons->addWidget(b);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(new QLabel(QStringLiteral("条件显示值："), this));
    lay->addWidget(MmAnd, 1);
    lay->addLayout(buttons);

    setTabOrder(cbZDM, cbCZF);
    setTabOrder(cbCZF, cbZDZ);
    setTabOrder(cbZDZ, MmAnd);

    onSignal(btnAnd, &QToolButton::clicked, this, &TFrmPubQuery::btnAndClick);
    onSignal(btnClear, &QToolButton::clicked, this, &TFrmPubQuery::btnClearClick);
    onSignal(SpeedButton1, &QToolButton::clicked, this, &TFrmPubQuery::SpeedButton1Click);
    onSignal(SpeedButton4, &QToolButton::clicked, this, &TFrmPubQuery::SpeedButton4Click);
    onSignal(SpeedButton5, &QToolButton::clicked, this, &TFrmPubQuery::SpeedButton5Click);

    FormCreate();
}

TFrmPubQuery::~TFrmPubQuery() = default;

void TFrmPubQuery::FormCreate()
{
    m_names.clear();
    m_captions.clear();
    // Each list stops at the first line it cannot split; both are used as far as they go.
    SplitNames(PubFields, m_names);
    SplitCaptions(PubFields, m_captions);
    cbZDM->clear();
    cbZDM->addItems(m_captions);
    cbZDM->setCurrentIndex(-1);
    cbCZF->clear();
    cbCZF->addItems(ConditionText::operators());
    cbCZF->setCurrentIndex(0);
    PubWhere.clear();
    MmAnd->clear();
}

QString TFrmPubQuery::chosenColumn() const
{
    return m_names.value(cbZDM->currentIndex());
}

void TFrmPubQuery::btnAndClick()
{
    if (Text::trim(cbZDM->currentText()).isEmpty()) {
        dialogs().message(this, QStringLiteral("字段名不能为空"));
        cbZDM->setFocus();
        return;
    }
    const QString op = Text::trim(cbCZF->currentText());
    if (op.isEmpty()) {
        dialogs().message(this, QStringLiteral("操作符不能为空"));
        return;
    }
    const QString column = chosenColumn();
    const QString value = Text::trim(cbZDZ->currentText());
    const QString caption = Text::trim(cbZDM->currentText());
    PubWhere += ConditionText::where(column, op, value, wholeNumberColumns.contains(column));
    MmAnd->appendPlainText(ConditionText::display(caption, op, value));
}

void TFrmPubQuery::btnClearClick()
{
    PubWhere.clear();
    MmAnd->clear();
}

void TFrmPubQuery::SpeedButton1Click()
{
    // The typed value stays; only the list of values is replaced.
    const QString typed = cbZDZ->currentText();
    cbZDZ->clear();
    cbZDZ->setEditText(typed);
    if (cbZDM->currentIndex() < 0) return;
    const ConditionText::Source src = ConditionText::valueSource(PubTable, chosenColumn());
    QStringList values;
    if (!dmbasic) {
        dialogs().message(this, QStringLiteral("列举出错！"));
        return;
    }
    Query& q = dmbasic->QryPUB;
    try {
        q.close();
        q.setSql(ConditionText::valueListSql(src));
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            const QVariant v = q.value(0);
            values << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15)
                                                       : v.toString());
        }
        q.close();
    } catch (const DbError&) {
        q.close();
        dialogs().message(this, QStringLiteral("列举出错！"));
        return;
    }
    cbZDZ->addItems(values);
    cbZDZ->setCurrentIndex(-1);
    cbZDZ->setEditText(typed);
}

void TFrmPubQuery::SpeedButton4Click()
{
    accept();
}

void TFrmPubQuery::SpeedButton5Click()
{
    reject();
}
