#pragma once
// The export "公用导出": the visible columns of PubGrid and the rows of
// PubDataSet become a new workbook (merged title, bold header, text cells,
// borders, footer), saved in the user's documents folder and opened with the
// desktop's spreadsheet program.
#include "export/core/ExportLayout.h"

#include <QDateTime>
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QToolButton;

class TFrmPubExport : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmPubExport(QWidget* parent = nullptr);
    ~TFrmPubExport() override;

    QLineEdit* edtTitle;       // 标题: the workbook's title
    QListWidget* DstList;      // 要导出的字段: the grid's visible columns
    QLineEdit* edtZbry;        // 制表人员: who made the table
    QLineEdit* edtZbrq;        // 制表日期: the date of the table
    QToolButton* SpeedButton4; // 导出: writes and opens the workbook
    QToolButton* SpeedButton5; // 取消
    QStatusBar* StatusBar1;    // progress while the workbook is written
    QLabel* StatusPanel0;      // first panel: the progress text
    QLabel* StatusPanel1;      // second panel, empty

    void FormCreate();        // the visible columns of PubGrid, the operator and the date
    void SpeedButton4Click(); // 导出

    // The workbook files written by this window, in order.
    QStringList writtenFiles() const { return m_files; }

    // Where workbooks are saved: the folder Halvorra in the user's documents folder.
    static QString exportFolder();
    // The file name of a workbook without extension: the trimmed title and the time.
    static QString fileBaseName(const QString& title, const QDateTime& when);

private:
    QStringList m_fieldNames; // field names of the DstList entries, same order
    QStringList m_files;
};
