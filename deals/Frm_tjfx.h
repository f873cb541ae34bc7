#pragma once
// 统计分析: the office's figures for a date range and optionally one 位置, one page
// per figure: its chart above, its table below (or a line saying there is nothing
// to show). Each page is printed (chart and table), saved as a PNG picture and its
// table exported with the Excel export. Turnover and commission are shown to senior
// operators and system administrators only.
#include "deals/core/Statistics.h"

#include <QDialog>
#include <vector>

class DbGrid;
class DataSource;
class Query;
class QChart;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPrinter;
class QPushButton;
class QTabWidget;

class TFrmTJFX : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmTJFX(QWidget* parent = nullptr);
    ~TFrmTJFX() override;

    QDateEdit *dtFrom, *dtTo;
    QComboBox* cbWZ; // 位置; first item 全部
    QTabWidget* tabs;
    QPushButton *btnTJ, *btnDY, *btnPNG, *btnExcel, *btnTC; // 统计, 打印, 保存图片, 生成Excel, 退出

    void btnTJClick();
    void btnDYClick();
    void btnPNGClick();
    void btnExcelClick();

    // The figures of each page as last computed.
    const Statistics::Table& table(int page) const;
    int pageCount() const;
    // The charts of a page (a box plot page has one per mode); none for an empty table.
    QList<QChartView*> chartViews(int page) const;
    DbGrid* grid(int page) const;
    // The current page drawn as one picture: its charts side by side.
    QImage picture(int page) const;
    // Prints the current page (title, charts, table) on a set-up printer.
    void printPage(QPrinter* printer) const;

private:
    struct Page;
    void present(Page& page, Statistics::Table t);
    std::vector<std::unique_ptr<Page>> m_pages;
};
