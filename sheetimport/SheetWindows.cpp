#include "sheetimport/SheetWindows.h"

#include "data/DbError.h"
#include "data/Dmbasic.h"
#include "duplicates/core/LikelyDuplicates.h"
#include "export/U_PubExport.h"
#include "registers/EntryWindow.h"
#include "registers/QueryFrame.h"
#include "registers/RecordCard.h"
#include "registers/RegisterWiring.h"
#include "session/PubVars.h"
#include "sheetimport/ImportWindow.h"
#include "sheetimport/core/RegisterExport.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "widgets/WidgetUtil.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using SheetImport::Register;

namespace SheetWindows
{

namespace
{

constexpr int kListedAtSave = 10;

Register registerOf(const QString& table)
{
    return table == SheetImport::tableOf(Register::Customers) ? Register::Customers
                                                              : Register::Listings;
}

QString cellText(const Query& q, int row, const QString& column)
{
    const int k = q.fieldIndex(column);
    return k < 0 ? QString() : q.valueAt(row, k).toString();
}

double cellNumber(const Query& q, int row, const QString& column)
{
    const int k = q.fieldIndex(column);
    return k < 0 ? 0 : q.valueAt(row, k).toDouble();
}

// The current row of a row set as the rule compares listings or customers.
LikelyDuplicates::Listing listingAt(const Query& q, int row)
{
    return {
        cellText(q, row, QStringLiteral("档案号")), cellText(q, row, QStringLiteral("小区名称")),
        cellText(q, row, QStringLiteral("地址")),   cellText(q, row, QStringLiteral("电话")),
        cellText(q, row, QStringLiteral("手机")),   cellNumber(q, row, QStringLiteral("房屋面积"))};
}

LikelyDuplicates::Customer customerAt(const Query& q, int row)
{
    return {cellText(q, row, QStringLiteral("档案号")),
            cellText(q, row, QStringLiteral("客户姓名")), cellText(q, row, QStringLiteral("电话")),
            cellText(q, row, QStringLiteral("手机"))};
}

QString claimFile(const QString& base)
{
    const QString folder = TFrmPubExport::exportFolder();
    if (!QDir().mkpath(folder)) throw DbError(QStringLiteral("无法建立文件夹：%1").arg(folder));
    for (int n = 1; n < 1000; ++n) {
        const QString path = QDir(folder).filePath(
            base + (n > 1 ? QStringLiteral("_%1").arg(n) : QString()) + QStringLiteral(".xlsx"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
    }
    throw DbError(QStringLiteral("无法在 %1 中建立文件。").arg(folder));
}

// The groups of likely duplicates of a result, one table row per record.
class DuplicateGroupsWindow : public QDialog
{
public:
    DuplicateGroupsWindow(const QString& title, const QStringList& captions,
                          const QList<QStringList>& rows, const QString& table, QWidget* parent)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("FrmCC"));
        setWindowTitle(title);
        resize(820, 480);
        auto* box = new QVBoxLayout(this);
        tblGroups = new QTableWidget(rows.size(), captions.size(), this);
        tblGroups->setObjectName(QStringLiteral("tblGroups"));
        tblGroups->setHorizontalHeaderLabels(captions);
        tblGroups->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tblGroups->horizontalHeader()->setStretchLastSection(true);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                tblGroups->setItem(r, c, new QTableWidgetItem(rows[r][c]));
        tblGroups->resizeColumnsToContents();
        tblGroups->setSelectionBehavior(QAbstractItemView::SelectRows);
        box->addWidget(tblGroups);
        // A row opens its record's card, to compare, mend or delete it there.
        onSignal(tblGroups, &QTableWidget::cellDoubleClicked, this, [this, table](int row, int) {
            if (const QTableWidgetItem* number = tblGroups->item(row, 1))
                RegisterWiring::openCard(table, number->text(), this);
        });
        auto* bar = new QHBoxLayout;
        bar->addWidget(new QLabel(QStringLiteral("双击一行打开该记录。"), this));
        bar->addStretch();
        auto* close = namedButton(this, "btnClose", QStringLiteral("退出"));
        onSignal(close, &QPushButton::clicked, this, &QDialog::accept);
        bar->addWidget(close);
        box->addLayout(bar);
    }
    QTableWidget* tblGroups;
};

} // namespace

void install()
{
    QueryFrame::setExtraTools({
        {QStringLiteral("btnDRBG"), QStringLiteral("从表格导入"), &importFromSheet},
        {QStringLiteral("btnCC"), QStringLiteral("查重"), &showDuplicates},
        {QStringLiteral("btnDCQB"), QStringLiteral("导出全部"), &exportAll},
    });
    EntryWindow::setSaveQuestion(&confirmSave);
}

void importFromSheet(QueryFrame& w)
{
    const QString path = dialogs().openFile(
        &w, FileDialogSpec{QStringLiteral("表格文件|*.xlsx;*.ods;*.xls;*.csv;*.txt"), false});
    if (path.isEmpty()) return;
    SheetImportWindow window(registerOf(w.config().table), dmbasic->adoCntnfybase, &w);
    if (!window.load(path)) return;
    dialogs().exec(&window);
    // The result is read again under the operator's last search: the new rows that
    // fit it show at once.
    if (window.imported() > 0 && w.rows().isActive() && !w.rows().isEditing()) w.rows().open();
}

void showDuplicates(QueryFrame& w)
{
    const Query& q = w.rows();
    if (!q.isActive() || q.recordCount() == 0) {
        dialogs().message(&w, QStringLiteral("请先查询出要查重的记录。"));
        return;
    }
    const Register reg = registerOf(w.config().table);
    const bool personal = RecordCard::showsConfidential(CurUser.GNZ);
    const QString hidden = QStringLiteral("******");
    QStringList captions{QStringLiteral("组"), QStringLiteral("档案号")};
    QList<QStringList> rows;
    QList<QList<int>> groups;
    if (reg == Register::Listings) {
        QList<LikelyDuplicates::Listing> items;
        for (int r = 0; r < q.recordCount(); ++r)
            items << listingAt(q, r);
        groups = LikelyDuplicates::groups(items);
        captions << QStringLiteral("小区名称") << QStringLiteral("地址")
                 << QStringLiteral("房屋面积") << QStringLiteral("电话") << QStringLiteral("手机")
                 << QStringLiteral("与本组第一条");
        for (int g = 0; g < groups.size(); ++g)
            for (int i : groups[g]) {
                const auto& l = items[i];
                rows << QStringList{QString::number(g + 1),
                                    l.number,
                                    l.estate,
                                    l.address,
                                    QString::number(l.area, 'f', 2),
                                    personal ? l.phone : hidden,
                                    personal ? l.mobile : hidden,
                                    i == groups[g].first()
                                        ? QString()
                                        : LikelyDuplicates::reason(items[groups[g].first()], l)};
            }
    } else {
        QList<LikelyDuplicates::Customer> items;
        for (int r = 0; r < q.recordCount(); ++r)
            items << customerAt(q, r);
        groups = LikelyDuplicates::groups(items);
        captions << QStringLiteral("客户姓名") << QStringLiteral("电话") << QStringLiteral("手机")
                 << QStringLiteral("与本组第一条");
        for (int g = 0; g < groups.size(); ++g)
            for (int i : groups[g]) {
                const auto& c = items[i];
                rows << QStringList{QString::number(g + 1),
                                    c.number,
                                    personal ? c.name : hidden,
                                    personal ? c.phone : hidden,
                                    personal ? c.mobile : hidden,
                                    i == groups[g].first()
                                        ? QString()
                                        : LikelyDuplicates::reason(items[groups[g].first()], c)};
            }
    }
    if (groups.isEmpty()) {
        dialogs().message(
            &w, QStringLiteral("当前结果中没有可能重复的%1。").arg(SheetImport::registerName(reg)));
        return;
    }
    DuplicateGroupsWindow window(QStringLiteral("可能重复的%1（%2 组）")
                                     .arg(SheetImport::registerName(reg))
                                     .arg(groups.size()),
                                 captions, rows, w.config().table, &w);
    dialogs().exec(&window);
}

void exportAll(QueryFrame& w)
{
    const Query& q = w.rows();
    if (!q.isActive() || q.recordCount() == 0) {
        dialogs().message(&w, QStringLiteral("当前结果中没有记录。"));
        return;
    }
    const Register reg = registerOf(w.config().table);
    const QStringList cols = RegisterExport::columns(dmbasic->adoCntnfybase, reg,
                                                     RecordCard::showsConfidential(CurUser.GNZ));
    const QString path = claimFile(
        QStringLiteral("%1_全部_%2")
            .arg(SheetImport::registerName(reg),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"))));
    const int n = RegisterExport::write(path, cols, q);
    if (!dialogs().openPath(path, QFileInfo(path).absolutePath()))
        dialogs().message(&w, QStringLiteral("已导出 %1 条记录到：%2").arg(n).arg(path));
}

bool confirmSave(EntryWindow& w)
{
    Query& q = w.row();
    Connection* c = q.connection();
    if (!c || q.recordCount() == 0) return true;
    const Register reg = registerOf(q.tableName());
    QList<LikelyDuplicates::Found> found;
    if (reg == Register::Listings) {
        LikelyDuplicates::Listing l{QString(),
                                    q.text(QStringLiteral("小区名称")),
                                    q.text(QStringLiteral("地址")),
                                    q.text(QStringLiteral("电话")),
                                    q.text(QStringLiteral("手机")),
                                    q.number(QStringLiteral("房屋面积"))};
        found = LikelyDuplicates::listingsLike(*c, l);
    } else {
        LikelyDuplicates::Customer x{QString(), q.text(QStringLiteral("客户姓名")),
                                     q.text(QStringLiteral("电话")),
                                     q.text(QStringLiteral("手机"))};
        found = LikelyDuplicates::customersLike(*c, x);
    }
    if (found.isEmpty()) return true;
    const bool personal = RecordCard::showsConfidential(CurUser.GNZ);
    QStringList lines;
    for (int i = 0; i < found.size() && i < kListedAtSave; ++i)
        lines << QStringLiteral("%1（%2）")
                     .arg(reg == Register::Customers && !personal ? found[i].number
                                                                  : found[i].summary,
                          found[i].reason);
    if (found.size() > kListedAtSave) lines << QStringLiteral("……共 %1 条").arg(found.size());
    return dialogs().question(&w, QStringLiteral("这条%1可能与以下已有%1重复：\n%2\n是否仍然保存？")
                                      .arg(SheetImport::registerName(reg), lines.join(u'\n')));
}

} // namespace SheetWindows
