// The shared windows the query windows open: date picker, column chooser,
// condition builder and Excel export.
#include "data/DbError.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "pickers/U_PubQuery.h"
#include "pickers/U_SelectItem.h"
#include "pickers/U_SelectRQ.h"
#include "registers/QueryWindow.h"
#include "shell/Dialogs.h"

#include <QComboBox>
#include <QLineEdit>

namespace QueryWindow
{

bool pickDate(QWidget* parent, QString& yymmdd)
{
    return TdlgSelectRQ::pick(parent, yymmdd);
}

void pickDate(QWidget* parent, QLineEdit* box)
{
    QString d;
    if (pickDate(parent, d)) box->setText(d);
}

void chooseColumns(DbGrid* grid)
{
    PubGrid = grid;
    TdlgSelectItem dlg(grid->window());
    dialogs().exec(&dlg);
}

bool builderSearch(QWidget* parent, Query* q, const QueryWindowConfig& config)
{
    PubTable = config.table;
    PubFields = config.builderFields;
    TFrmPubQuery dlg(parent);
    dlg.cbZDM->setMaxVisibleItems(config.builderVisibleItems);
    dlg.wholeNumberColumns = config.builderWholeNumbers;
    if (dialogs().exec(&dlg) != QDialog::Accepted) return false; // the previous result stays
    q->close();
    q->clearSql();
    for (const QString& line : RegisterRules::builderSearch(config.table, PubWhere))
        q->addSql(line);
    try {
        q->open();
    } catch (const DbError&) {
        q->close();
        dialogs().okCancel(parent, QStringLiteral("您所选择的查询条件出错！"));
        return false;
    }
    return true;
}

void exportResult(QWidget* parent, DbGrid* grid, const Query* q, const QString& title)
{
    if (!resultReady(q)) return;
    // A fresh copy of the result, owned here for the length of the export.
    Query copy(q->connection());
    copy.setSql(q->sql());
    copy.computedColumns = q->computedColumns; // the computed columns as well
    copy.open();
    PubGrid = grid;
    PubDataSet = &copy;
    {
        TFrmPubExport dlg(parent);
        dlg.edtTitle->setText(title);
        dialogs().exec(&dlg);
    }
    PubDataSet = nullptr;
    copy.close();
}

} // namespace QueryWindow
