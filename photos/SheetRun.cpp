#include "photos/SheetRun.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "photos/ListingSheet.h"
#include "pickers/U_Step.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "widgets/DbGrid.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTableView>

namespace SheetRun
{

namespace
{

void run(QWidget* parent, Query& rows, const QStringList& numbers)
{
    if (numbers.isEmpty() || !rows.connection()) return;
    Connection& c = *rows.connection();
    const ListingSheet::Office office = ListingSheet::office(c, GSDM);
    const bool toPdf = dialogs().question(
        parent, QStringLiteral("共 %1 份房源单。是否保存为 PDF 文件？\n（选“否”打开打印预览）")
                    .arg(numbers.size()));
    TFrmStep step(parent);
    step.setMax(int(numbers.size()));
    const ListingSheet::Progress progress = [&](int) {
        step.stepIt();
        return true;
    };
    if (!toPdf) {
        step.show();
        ListingSheet::preview(parent, c, office, numbers, progress);
        return;
    }
    QString path =
        dialogs().saveFile(parent, FileDialogSpec{QStringLiteral("PDF 文件|*.pdf"), false, false});
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path) &&
        !dialogs().question(parent, QStringLiteral("文件“%1”已存在，是否覆盖？").arg(path)))
        return;
    step.show();
    const int pages = ListingSheet::writePdf(path, c, office, numbers, progress);
    step.hide();
    if (pages <= 0) throw DbError(QStringLiteral("房源单没有写入文件“%1”。").arg(path));
    dialogs().message(parent,
                      QStringLiteral("已把 %1 页房源单保存到文件：\n%2").arg(pages).arg(path));
}

} // namespace

void fromCard(QWidget* card, Query& rows)
{
    if (!rows.isActive() || rows.isEmpty()) return;
    run(card, rows, {rows.text(QStringLiteral("档案号"))});
}

void fromQuery(QWidget* window, DbGrid* grid, Query& rows)
{
    if (!rows.isActive() || rows.isEmpty()) return;
    const int key = rows.fieldIndex(QStringLiteral("档案号"));
    QList<int> chosen;
    for (const QModelIndex& i : grid->view()->selectionModel()->selectedRows())
        chosen << i.row();
    std::sort(chosen.begin(), chosen.end());
    if (chosen.size() <= 1) {
        chosen.clear();
        for (int r = 0; r < rows.recordCount(); ++r)
            chosen << r;
    }
    QStringList numbers;
    for (int r : chosen)
        numbers << rows.valueAt(r, key).toString();
    run(window, rows, numbers);
}

} // namespace SheetRun
