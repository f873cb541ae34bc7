#pragma once
// 从表格导入: the sheet read (its sheet and price unit chosen), the headers mapped to
// the register's columns (each changeable or 不导入), the first rows shown as they
// will be stored, every row checked with the refused and skipped rows listed (and
// exportable as a workbook to mend), then the good rows imported in one go.
#include "sheetimport/core/SheetImport.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class Connection;

class SheetImportWindow : public QDialog
{
    Q_OBJECT
public:
    SheetImportWindow(SheetImport::Register r, Connection& main, QWidget* parent);
    // Reads the file (or another sheet of it); false with the reason shown when refused.
    bool load(const QString& path, const QString& sheet = {});
    int imported() const { return m_imported; }

    QComboBox *cbSheet, *cbUnit;
    QTableWidget *tblMap, *tblPreview, *tblResult;
    QCheckBox *chkKeep, *chkDict;
    QLabel* lblResult;
    QPushButton *btnCheck, *btnExportRefused, *btnImport, *btnCancel;

    // Handlers.
    void btnCheckClick();
    void btnExportRefusedClick();
    void btnImportClick();

private:
    SheetImport::Options options() const;
    void fillMapping();
    void mappingChanged();
    void showPreview();
    void showResult();
    void forgetCheck();

    SheetImport::Register m_reg;
    Connection& m_main;
    QString m_path;
    SheetReader::Table m_table;
    SheetImport::Mapping m_mapping;
    std::optional<SheetImport::Plan> m_plan;
    int m_imported = 0;
};
