#pragma once
// Prints a data grid the way it is shown: its visible columns in the grid's order,
// with their titles and widths, a centred page-header title on every page, the
// footer row, and a text after the grid. Columns that do not fit the page width
// continue on further pages (nothing is shrunk to fit). A print preview offers
// page set-up and the choice of printer; printing to a PDF file needs no window.
#include <QFont>
#include <QMarginsF>
#include <QString>

class DbGrid;
class QPrinter;
class QWidget;

class GridPrinter
{
public:
    explicit GridPrinter(DbGrid* grid);

    void setTitle(const QString& t) { m_title = t; }
    QString title() const { return m_title; }
    void setAfterText(const QString& t) { m_after = t; }
    QString afterText() const { return m_after; }
    void setFooterText(const QString& t) { m_footer = t; }
    // Page margins in millimetres.
    void setMarginsMm(double all) { m_margins = QMarginsF(all, all, all, all); }
    QMarginsF marginsMm() const { return m_margins; }
    // Fonts; a pixel size means a screen pixel (1/96 inch) on paper.
    void setHeaderFont(const QFont& f) { m_headerFont = f; }
    void setFooterFont(const QFont& f) { m_footerFont = f; }
    void setPrintFont(const QFont& f) { m_printFont = f; }
    QFont headerFont() const { return m_headerFont; }
    QFont footerFont() const { return m_footerFont; }
    QFont printFont() const { return m_printFont; }

    // Applies the margins to a printer (before the preview or a file print).
    void preparePrinter(QPrinter& printer) const;
    // Renders every page on an already set-up printer. Returns the page count.
    int print(QPrinter* printer) const;
    // Opens the print preview (through the dialog service) from which the page is
    // set up, the printer chosen and the grid printed.
    void preview(QWidget* parent) const;
    // Prints straight into a PDF file; false when the file cannot be written.
    bool printToPdf(const QString& path) const;

private:
    DbGrid* m_grid;
    QString m_title, m_after, m_footer;
    QMarginsF m_margins{2.0, 2.0, 2.0, 2.0};
    QFont m_headerFont, m_footerFont, m_printFont;
};
