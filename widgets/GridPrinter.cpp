#include "widgets/GridPrinter.h"

#include "shell/Dialogs.h"
#include "widgets/DbGrid.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace
{

// Screen pixels are 1/96 inch; a pixel-sized font becomes the same physical size
// on paper.
QFont onPaper(QFont f)
{
    if (f.pixelSize() > 0) f.setPointSizeF(f.pixelSize() * 72.0 / 96.0);
    return f;
}

struct Band {
    QList<int> columns; // grid columns
    QList<int> widths;  // device pixels
};

} // namespace

GridPrinter::GridPrinter(DbGrid* grid) : m_grid(grid)
{
    m_printFont = grid->view()->font();
    m_headerFont = m_printFont;
    m_footerFont = m_printFont;
}

void GridPrinter::preparePrinter(QPrinter& printer) const
{
    printer.setPageMargins(m_margins, QPageLayout::Millimeter);
}

int GridPrinter::print(QPrinter* printer) const
{
    QPainter p;
    if (!p.begin(printer)) return 0;
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const int pageW = page.width(), pageH = page.height();
    const double scale = printer->resolution() / 96.0;

    const QFont headerFont = onPaper(m_headerFont), footerFont = onPaper(m_footerFont),
                printFont = onPaper(m_printFont);
    p.setFont(headerFont);
    const int headerH = m_title.isEmpty() ? 0 : p.fontMetrics().height() * 2;
    p.setFont(footerFont);
    const int footerH = m_footer.isEmpty() ? 0 : p.fontMetrics().height() * 2;
    p.setFont(printFont);
    const int rowH = p.fontMetrics().height() + int(6 * scale);
    const int pad = int(3 * scale);

    // Column bands that each fit the page width.
    QList<Band> bands;
    Band cur;
    int used = 0;
    for (int c : m_grid->visibleColumns()) {
        const int w = qMax(1, int(m_grid->columnWidth(c) * scale));
        if (!cur.columns.isEmpty() && used + w > pageW) {
            bands << cur;
            cur = Band();
            used = 0;
        }
        cur.columns << c;
        cur.widths << w;
        used += w;
    }
    if (!cur.columns.isEmpty()) bands << cur;

    DbGridModel* model = m_grid->model();
    const int rows = model->rowCount();
    const int footerCol = [&] {
        for (int c = 0; c < m_grid->columnCount(); ++c)
            if (!m_grid->footerText(c).isEmpty()) return c;
        return -1;
    }();
    const int gridBottom = pageH - footerH;
    int pages = 0;
    int y = 0;

    auto newPage = [&] {
        if (pages > 0) printer->newPage();
        ++pages;
        y = 0;
        if (!m_title.isEmpty()) {
            p.setFont(headerFont);
            p.drawText(QRect(0, 0, pageW, headerH), Qt::AlignCenter, m_title);
            y = headerH;
        }
        if (!m_footer.isEmpty()) {
            p.setFont(footerFont);
            p.drawText(QRect(0, pageH - footerH, pageW, footerH), Qt::AlignCenter, m_footer);
        }
        p.setFont(printFont);
    };
    auto drawRow = [&](const Band& b, const QStringList& texts, bool bold) {
        QFont f = printFont;
        f.setBold(bold);
        p.setFont(f);
        int x = 0;
        for (int i = 0; i < b.columns.size(); ++i) {
            const QRect cell(x, y, b.widths[i], rowH);
            p.drawRect(cell);
            const QRect inner = cell.adjusted(pad, 0, -pad, 0);
            p.drawText(inner, Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(texts[i], Qt::ElideRight, inner.width()));
            x += b.widths[i];
        }
        y += rowH;
    };
    auto titles = [&](const Band& b) {
        QStringList t;
        for (int c : b.columns)
            t << model->headerData(c, Qt::Horizontal).toString();
        return t;
    };

    p.setPen(QPen(Qt::black, qMax(1.0, scale / 2)));
    if (bands.isEmpty()) newPage();
    for (const Band& b : bands) {
        newPage();
        drawRow(b, titles(b), true);
        for (int r = 0; r < rows; ++r) {
            if (y + rowH > gridBottom) {
                newPage();
                drawRow(b, titles(b), true);
            }
            QStringList texts;
            for (int c : b.columns)
                texts << model->data(model->index(r, c)).toString();
            drawRow(b, texts, false);
        }
        if (footerCol >= 0) {
            if (y + rowH > gridBottom) newPage();
            QStringList texts;
            for (int c : b.columns)
                texts << (c == footerCol ? m_grid->footerText(c) : QString());
            drawRow(b, texts, false);
        }
    }
    if (!m_after.isEmpty()) {
        p.setFont(printFont);
        const int h = p.fontMetrics().height() * 2;
        if (y + h > gridBottom) newPage();
        p.setFont(printFont);
        p.drawText(QRect(0, y + h / 2, pageW, h), Qt::AlignLeft | Qt::AlignTop, m_after);
    }
    p.end();
    return pages;
}

void GridPrinter::preview(QWidget* parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintPreviewDialog dlg(&printer, parent);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [this](QPrinter* pr) { print(pr); });
    dialogs().exec(&dlg);
}

bool GridPrinter::printToPdf(const QString& path) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    preparePrinter(printer);
    return print(&printer) > 0;
}
