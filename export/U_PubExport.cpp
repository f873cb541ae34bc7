#include "export/U_PubExport.h"

#include "data/Query.h"
#include "data/Text.h"
#include "pickers/PubParams.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/WaitCursor.h"
#include "widgets/DbGrid.h"
#include "widgets/WidgetUtil.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

TFrmPubExport::TFrmPubExport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmPubExport"));
    setWindowTitle(QStringLiteral("公用导出"));
    setFixedSize(420, 300);

    edtTitle = new QLineEdit(this);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    DstList = new QListWidget(this);
    DstList->setObjectName(QStringLiteral("DstList"));
    edtZbry = new QLineEdit(this);
    edtZbry->setObjectName(QStringLiteral("edtZbry"));
    edtZbrq = new QLineEdit(this);
    edtZbrq->setObjectName(QStringLiteral("edtZbrq"));
    SpeedButton4 =
        flatButton(this, QStringLiteral("SpeedButton4"), QStringLiteral("导出"), 70, true);
    SpeedButton5 =
        flatButton(this, QStringLiteral("SpeedButton5"), QStringLiteral("取消"), 70, true);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(150);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(200);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("标题："), this));
    titleRow->addWidget(edtTitle, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("制表人员："), this));
    right->addWidget(edtZbry);
    right->addWidget(new QLabel(QStringLiteral("制表日期："), this));
    right->addWidget(edtZbrq);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton4);
    buttons->addWidget(SpeedButton5);
    right->addLayout(buttons);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("要导出的字段："), this));
    left->addWidget(DstList, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(right);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(8, 8, 8, 0);
    lay->addLayout(titleRow);
    lay->addLayout(middle, 1);
    lay->addWidget(StatusBar1);

    onSignal(SpeedButton4, &QToolButton::clicked, this, &TFrmPubExport::SpeedButton4Click);
    onSignal(SpeedButton5, &QToolButton::clicked, this, &QDialog::reject);

    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    FormCreate();
}

TFrmPubExport::~TFrmPubExport() = default;

QString TFrmPubExport::exportFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Halvorra"));
}

QString TFrmPubExport::fileBaseName(const QString& title, const QDateTime& when)
{
    return Text::trim(title) + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

void TFrmPubExport::FormCreate()
{
    DstList->clear();
    m_fieldNames.clear();
    if (PubGrid) {
        for (int i : PubGrid->visibleColumns()) {
            m_fieldNames << PubGrid->column(i).field;
            DstList->addItem(PubGrid->column(i).title);
        }
    }
    edtZbry->setText(CurUser.YGXM);
    edtZbrq->setText(CZRQ);
}

void TFrmPubExport::SpeedButton4Click()
{
    if (DstList->count() == 0) {
        dialogs().message(this, QStringLiteral("没有选择目标字段！"));
        return;
    }
    if (Text::trim(edtTitle->text()).isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入导出数据的标题！"));
        edtTitle->setFocus();
        return;
    }
    if (Text::trim(edtZbry->text()).isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入导出数据的制表人员！"));
        edtZbry->setFocus();
        return;
    }
    if (Text::trim(edtZbrq->text()).isEmpty()) {
        dialogs().message(this, QStringLiteral("请输入导出数据的制表日期！"));
        edtZbrq->setFocus();
        return;
    }
    if (!PubDataSet || !PubDataSet->isActive()) throw DbError(QStringLiteral("数据集没有打开。"));

    StatusPanel0->setText(QStringLiteral("正在载入Excel,请稍候......"));
    StatusBar1->repaint();
    WaitCursor wait;

    auto unavailable = [this] {
        dialogs().hint(this, QStringLiteral("提示信息："), QStringLiteral("请确认是否安装Excel?"));
        StatusPanel0->clear();
    };
    std::unique_ptr<SpreadsheetApp> excel;
    Worksheet* sheet = nullptr;
    try {
        excel = std::make_unique<SpreadsheetApp>(exportFolder());
        Workbook& book = excel->addWorkbook();
        sheet = &book.worksheets(1);
        sheet->setName(QStringLiteral("数据库信息"));
    } catch (const DbError&) {
        unavailable();
        return;
    }

    QList<ExportField> fields;
    for (int i = 0; i < m_fieldNames.size(); ++i)
        fields << ExportField{m_fieldNames[i], DstList->item(i)->text()};

    ExportLayout::writeHeader(*sheet, fields, *PubDataSet);
    const int r =
        ExportLayout::writeRows(*sheet, fields, *PubDataSet, edtZbry->text(), edtZbrq->text());
    StatusPanel0->clear();
    ExportLayout::finish(*sheet, int(fields.size()), r, edtTitle->text());

    excel->setFileBaseName(fileBaseName(edtTitle->text(), QDateTime::currentDateTime()));
    excel->opener = [this](const QString& path) {
        // Without a program for it the user still has to learn where it went.
        if (!dialogs().openPath(path))
            dialogs().message(this,
                              QStringLiteral("工作簿已保存为：\n%1\n本机没有可以打开它的程序。")
                                  .arg(QDir::toNativeSeparators(path)));
    };
    try {
        excel->setVisible(true);
    } catch (const SpreadsheetUnavailable&) {
        // Nothing could be written: the same message as when there is no spreadsheet at all.
        unavailable();
        return;
    }
    m_files << excel->files();
}
