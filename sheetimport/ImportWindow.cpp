#include "sheetimport/ImportWindow.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "export/U_PubExport.h"
#include "session/PubVars.h"
#include "sheetimport/ImportProgress.h"
#include "sheetimport/core/RegisterExport.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/WidgetUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace SheetImport;

namespace
{

constexpr int kPreviewRows = 20;

QSettings& settings()
{
    static QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvorra"),
                       QStringLiteral("sheetimport"));
    return s;
}

const QString kUnitKey = QStringLiteral("价格单位");

QString shown(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return {};
    if (v.typeId() == QMetaType::Double) return QString::number(v.toDouble(), 'f', 2);
    return v.toString();
}

// A new file in the export folder under `base`, claimed so nothing is overwritten.
QString claimExportFile(const QString& base)
{
    const QString folder = TFrmPubExport::exportFolder();
    if (!QDir().mkpath(folder)) throw DbError(QStringLiteral("无法建立文件夹：%1").arg(folder));
    for (int n = 1;; ++n) {
        const QString path = QDir(folder).filePath(
            base + (n > 1 ? QStringLiteral("_%1").arg(n) : QString()) + QStringLiteral(".xlsx"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
        if (n > 999) throw DbError(QStringLiteral("无法在 %1 中建立文件。").arg(folder));
    }
}

} // namespace

SheetImportWindow::SheetImportWindow(Register r, Connection& main, QWidget* parent)
    : QDialog(parent), m_reg(r), m_main(main)
{
    setObjectName(QStringLiteral("FrmSheetImport"));
    setWindowTitle(QStringLiteral("从表格导入%1").arg(registerName(r)));
    resize(900, 640);
    auto* root = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    cbSheet = new QComboBox(this);
    cbSheet->setObjectName(QStringLiteral("cbSheet"));
    cbUnit = new QComboBox(this);
    cbUnit->setObjectName(QStringLiteral("cbUnit"));
    cbUnit->addItems({QStringLiteral("元"), QStringLiteral("万元")});
    top->addWidget(new QLabel(QStringLiteral("工作表"), this));
    top->addWidget(cbSheet, 1);
    top->addWidget(new QLabel(QStringLiteral("本系统的价格单位"), this));
    top->addWidget(cbUnit);
    root->addLayout(top);

    root->addWidget(new QLabel(QStringLiteral("表格的列导入到（可改为其他列或“不导入”）："), this));
    tblMap = new QTableWidget(2, 0, this);
    tblMap->setObjectName(QStringLiteral("tblMap"));
    tblMap->setVerticalHeaderLabels({QStringLiteral("表格的标题"), QStringLiteral("导入到")});
    tblMap->horizontalHeader()->setVisible(false);
    tblMap->setMaximumHeight(90);
    root->addWidget(tblMap);

    root->addWidget(new QLabel(QStringLiteral("前 %1 行导入后的样子：").arg(kPreviewRows), this));
    tblPreview = new QTableWidget(this);
    tblPreview->setObjectName(QStringLiteral("tblPreview"));
    tblPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    root->addWidget(tblPreview, 2);

    auto* opts = new QHBoxLayout;
    chkKeep = new QCheckBox(QStringLiteral("可能重复的记录也导入"), this);
    chkKeep->setObjectName(QStringLiteral("chkKeep"));
    chkDict = new QCheckBox(QStringLiteral("字典中没有的楼层、户型、位置、权属加入字典"), this);
    chkDict->setObjectName(QStringLiteral("chkDict"));
    opts->addWidget(chkKeep);
    opts->addWidget(chkDict);
    opts->addStretch();
    root->addLayout(opts);

    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    root->addWidget(lblResult);
    tblResult = new QTableWidget(0, 4, this);
    tblResult->setObjectName(QStringLiteral("tblResult"));
    tblResult->setHorizontalHeaderLabels({QStringLiteral("行"), QStringLiteral("处理"),
                                          QStringLiteral("列"), QStringLiteral("原因")});
    tblResult->horizontalHeader()->setStretchLastSection(true);
    tblResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    root->addWidget(tblResult, 1);

    auto* buttons = new QHBoxLayout;
    btnCheck = namedButton(this, "btnCheck", QStringLiteral("检查全部行"));
    btnExportRefused = namedButton(this, "btnExportRefused", QStringLiteral("导出问题行"));
    btnImport = namedButton(this, "btnImport", QStringLiteral("导入"));
    btnCancel = namedButton(this, "btnCancel", QStringLiteral("取消"));
    buttons->addStretch();
    for (QPushButton* b : {btnCheck, btnExportRefused, btnImport, btnCancel})
        buttons->addWidget(b);
    root->addLayout(buttons);
    btnExportRefused->setEnabled(false);

    onSignal(btnCheck, &QPushButton::clicked, this,
             [this] { guarded([this] { btnCheckClick(); }); });
    onSignal(btnExportRefused, &QPushButton::clicked, this,
             [this] { guarded([this] { btnExportRefusedClick(); }); });
    onSignal(btnImport, &QPushButton::clicked, this,
             [this] { guarded([this] { btnImportClick(); }); });
    onSignal(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    onSignal(cbUnit, &QComboBox::currentIndexChanged, this, [this] {
        settings().setValue(kUnitKey, cbUnit->currentText());
        forgetCheck();
        guarded([this] { showPreview(); });
    });
    onSignal(cbSheet, &QComboBox::activated, this, [this] {
        if (cbSheet->currentText() != m_table.sheet) load(m_path, cbSheet->currentText());
    });
    for (QCheckBox* c : {chkKeep, chkDict})
        onSignal(c, &QCheckBox::toggled, this, [this] { forgetCheck(); });
}

Options SheetImportWindow::options() const
{
    Options o;
    o.reg = m_reg;
    o.company = companyCode(m_main);
    // Rows without an entry date get the login's operation date, as the entry
    // windows give it.
    o.today = CZRQ.isEmpty() ? QDate::currentDate().toString(QStringLiteral("yyMMdd")) : CZRQ;
    o.unit = cbUnit->currentIndex() == 1 ? PriceUnit::TenThousand : PriceUnit::Yuan;
    o.keepDuplicates = chkKeep->isChecked();
    o.addDictionaryValues = chkDict->isChecked();
    o.source = QFileInfo(m_path).absoluteFilePath();
    return o;
}

bool SheetImportWindow::load(const QString& path, const QString& sheet)
{
    // The unit of the register's prices is asked once, then remembered (and shown
    // here to be changed).
    if (!settings().contains(kUnitKey)) {
        const bool yuan = dialogs().question(
            parentWidget(), QStringLiteral("本系统中的价格是以“元”为单位保存的吗？\n"
                                           "选“是”：按元保存（“120万”导入为 1200000）；\n"
                                           "选“否”：按万元保存（“120万”导入为 120）。"));
        settings().setValue(kUnitKey, yuan ? QStringLiteral("元") : QStringLiteral("万元"));
    }
    {
        const QSignalBlocker block(cbUnit);
        cbUnit->setCurrentIndex(
            settings().value(kUnitKey).toString() == QStringLiteral("万元") ? 1 : 0);
    }
    try {
        ImportProgress progress(QStringLiteral("正在读取表格……"), this);
        SheetReader::Options ro;
        ro.sheet = sheet;
        ro.progress = [&](qint64 done, qint64 total) { return progress.step(done, total); };
        SheetReader::Table t = SheetReader::read(path, ro);
        Mapping m = guess(m_reg, t);
        recall(m_reg, m);
        m_path = path;
        m_table = std::move(t);
        m_mapping = m;
    } catch (const SheetReader::Cancelled&) {
        return false;
    } catch (const DbError& e) {
        dialogs().message(isVisible() ? this : parentWidget(), e.text());
        return false;
    }
    {
        const QSignalBlocker block(cbSheet);
        cbSheet->clear();
        cbSheet->addItems(m_table.sheets);
        if (!m_table.sheets.contains(m_table.sheet)) cbSheet->addItem(m_table.sheet);
        cbSheet->setCurrentText(m_table.sheet);
    }
    forgetCheck();
    fillMapping();
    guarded([this] { showPreview(); });
    return true;
}

void SheetImportWindow::fillMapping()
{
    tblMap->clear();
    tblMap->setColumnCount(m_mapping.headers.size());
    QStringList choices{skipWord()};
    for (const Target& t : targets(m_reg))
        choices << t.column;
    for (int i = 0; i < m_mapping.headers.size(); ++i) {
        tblMap->setItem(0, i, new QTableWidgetItem(m_mapping.headers[i]));
        tblMap->item(0, i)->setFlags(Qt::ItemIsEnabled);
        auto* box = new QComboBox(tblMap);
        box->setObjectName(QStringLiteral("cbMap%1").arg(i));
        box->addItems(choices);
        const QString col = i < m_mapping.columns.size() ? m_mapping.columns[i] : QString();
        box->setCurrentText(col.isEmpty() ? skipWord() : col);
        onSignal(box, &QComboBox::currentIndexChanged, this, [this, i, box] {
            const QString col = box->currentText() == skipWord() ? QString() : box->currentText();
            // One register column takes one sheet column: the one it had before lets go.
            for (int k = 0; k < m_mapping.columns.size(); ++k)
                if (k != i && !col.isEmpty() && m_mapping.columns[k] == col) {
                    m_mapping.columns[k].clear();
                    if (auto* other =
                            tblMap->findChild<QComboBox*>(QStringLiteral("cbMap%1").arg(k))) {
                        const QSignalBlocker b(other);
                        other->setCurrentText(skipWord());
                    }
                }
            while (m_mapping.columns.size() <= i)
                m_mapping.columns << QString();
            m_mapping.columns[i] = col;
            mappingChanged();
        });
        tblMap->setCellWidget(1, i, box);
    }
    tblMap->resizeColumnsToContents();
}

void SheetImportWindow::mappingChanged()
{
    forgetCheck();
    guarded([this] { showPreview(); });
}

void SheetImportWindow::showPreview()
{
    // The first rows through the same conversion and checks as the import.
    SheetReader::Table head;
    head.sheet = m_table.sheet;
    for (int i = 0; i < m_table.rows.size() && i <= m_mapping.headerRow + kPreviewRows; ++i) {
        head.rows << m_table.rows[i];
        head.rowNumbers << m_table.rowNumbers[i];
    }
    const Plan plan = check(m_main, head, m_mapping, options());
    QList<int> cols;
    QStringList captions{QStringLiteral("行"), QStringLiteral("处理")};
    for (int k = 0; k < plan.columns.size(); ++k)
        if (m_mapping.columns.contains(plan.columns[k])) {
            cols << k;
            captions << plan.columns[k];
        }
    tblPreview->clear();
    tblPreview->setColumnCount(captions.size());
    tblPreview->setHorizontalHeaderLabels(captions);
    tblPreview->setRowCount(plan.rows.size());
    for (int r = 0; r < plan.rows.size(); ++r) {
        const Row& row = plan.rows[r];
        tblPreview->setItem(r, 0, new QTableWidgetItem(QString::number(row.sheetRow)));
        QString what = actionText(row.action);
        if (row.action != Action::Import && !row.reason.isEmpty()) what += u'：' + row.reason;
        tblPreview->setItem(r, 1, new QTableWidgetItem(what));
        for (int c = 0; c < cols.size(); ++c)
            tblPreview->setItem(r, c + 2, new QTableWidgetItem(shown(row.values[cols[c]])));
    }
    tblPreview->resizeColumnsToContents();
}

void SheetImportWindow::forgetCheck()
{
    m_plan.reset();
    lblResult->clear();
    tblResult->setRowCount(0);
    btnExportRefused->setEnabled(false);
}

void SheetImportWindow::btnCheckClick()
{
    m_plan = check(m_main, m_table, m_mapping, options());
    showResult();
}

void SheetImportWindow::showResult()
{
    const Plan& p = *m_plan;
    QString text =
        QStringLiteral(
            "共 %1 行：可导入 %2 行，拒绝 %3 行，可能重复跳过 %4 行，档案号已存在跳过 %5 行。")
            .arg(p.rows.size())
            .arg(p.count(Action::Import))
            .arg(p.count(Action::Refused))
            .arg(p.count(Action::Duplicate))
            .arg(p.count(Action::Exists));
    for (auto d = p.unknown.cbegin(); d != p.unknown.cend(); ++d)
        text += QStringLiteral("\n%1中没有：%2")
                    .arg(d.key(), d.value().keys().join(QStringLiteral("、")));
    lblResult->setText(text);
    QList<const Row*> listed;
    for (const Row& r : p.rows)
        if (r.action != Action::Import || !r.reason.isEmpty()) listed << &r;
    tblResult->setRowCount(listed.size());
    for (int i = 0; i < listed.size(); ++i) {
        const Row& r = *listed[i];
        const QStringList cells{QString::number(r.sheetRow), actionText(r.action), r.column,
                                r.reason};
        for (int c = 0; c < cells.size(); ++c)
            tblResult->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    tblResult->resizeColumnsToContents();
    btnExportRefused->setEnabled(p.count(Action::Import) < p.rows.size());
}

void SheetImportWindow::btnExportRefusedClick()
{
    if (!m_plan) return;
    QList<QStringList> rows;
    int width = m_mapping.headers.size();
    for (const Row& r : m_plan->rows)
        width = std::max(width, int(r.cells.size()));
    for (const Row& r : m_plan->rows) {
        if (r.action == Action::Import) continue;
        QStringList cells = r.cells;
        while (cells.size() < width)
            cells << QString();
        rows << (cells << actionText(r.action) + QStringLiteral("：") +
                              (r.column.isEmpty() ? QString()
                                                  : QStringLiteral("“%1”").arg(r.column)) +
                              r.reason);
    }
    QStringList header = m_mapping.headers;
    while (header.size() < width)
        header << QString();
    header << QStringLiteral("导入问题");
    const QString path = claimExportFile(
        QStringLiteral("%1导入问题行_%2")
            .arg(registerName(m_reg),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    RegisterExport::writeRows(path, header, rows);
    if (!dialogs().openPath(path, QFileInfo(path).absolutePath()))
        dialogs().message(this, QStringLiteral("问题行已保存到：%1").arg(path));
}

void SheetImportWindow::btnImportClick()
{
    if (!m_plan) btnCheckClick();
    const int good = m_plan->count(Action::Import);
    if (good == 0) {
        dialogs().message(this, QStringLiteral("没有可以导入的行。"));
        return;
    }
    if (!dialogs().question(this, QStringLiteral("将导入 %1 条记录，其余 %2 行不导入。是否继续？")
                                      .arg(good)
                                      .arg(m_plan->rows.size() - good)))
        return;
    Options o = options();
    setEnabled(false);
    try {
        ImportProgress progress(QStringLiteral("正在导入……"), this);
        o.progress = [&](int done, int total) { return progress.step(done, total); };
        m_imported = write(m_main, *m_plan, o);
    } catch (const SheetReader::Cancelled&) {
        setEnabled(true);
        dialogs().message(this, QStringLiteral("导入已取消，没有写入任何记录。"));
        forgetCheck();
        return;
    } catch (...) {
        setEnabled(true);
        forgetCheck();
        throw;
    }
    setEnabled(true);
    remember(m_reg, m_mapping);
    dialogs().message(this,
                      QStringLiteral("已导入 %1 条记录，查询结果按当前条件刷新。").arg(m_imported));
    accept();
}
