#include "deals/Frm_tjfx.h"

#include "data/DataSource.h"
#include "data/Dmbasic.h"
#include "data/Query.h"
#include "deals/core/Deals.h"
#include "export/U_PubExport.h"
#include "pickers/PubParams.h"
#include "registers/QueryWindow.h"
#include "session/PubVars.h"
#include "shell/Dialogs.h"
#include "shell/Door.h"
#include "shell/Guard.h"
#include "widgets/DbGrid.h"
#include "widgets/WidgetUtil.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QBoxPlotSeries>
#include <QtCharts/QBoxSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <functional>

namespace
{

Connection& mainDb()
{
    if (!dmbasic) throw DbError(QStringLiteral("数据库连接没有打开。"));
    return dmbasic->adoCntnfybase;
}

using Compute = std::function<Statistics::Table(Connection&, const Statistics::Filter&)>;

struct PageDef {
    const char* tab;
    Compute compute;
};

QList<PageDef> pageDefs()
{
    using namespace Statistics;
    return {
        {"新增房源客户", newPerMonth},
        {"供需（位置）",
         [](Connection& c, const Filter& f) { return supplyDemand(c, f, QStringLiteral("位置")); }},
        {"供需（户型）",
         [](Connection& c, const Filter& f) { return supplyDemand(c, f, QStringLiteral("户型")); }},
        {"每平方米价格", unitPrices},
        {"每月成交", dealsPerMonth},
        {"经纪人成交", dealsPerAgent},
        {"跟进记录", notesPerOperator}};
}

bool isMoney(const QString& column)
{
    return column.endsWith(QStringLiteral("(元)"));
}

QString rowLabel(const Statistics::Table& t, const QVariantList& row)
{
    QStringList parts;
    for (int i = 0; i < t.keyColumns; ++i)
        parts << row[i].toString();
    return parts.join(QLatin1Char(' '));
}

// Bars of the counts by the row's name; money (yuan) as lines on an axis of its own.
QChart* barChart(const Statistics::Table& t)
{
    auto* chart = new QChart;
    chart->setTitle(t.title);
    QStringList categories;
    for (const QVariantList& row : t.rows)
        categories << rowLabel(t, row);
    auto* bars = new QBarSeries(chart);
    QList<QLineSeries*> lines;
    for (int col = t.keyColumns; col < t.columns.size(); ++col) {
        if (t.columns[col] == QStringLiteral("合计")) continue;
        if (isMoney(t.columns[col])) {
            auto* line = new QLineSeries(chart);
            line->setName(t.columns[col]);
            for (int r = 0; r < t.rows.size(); ++r)
                line->append(r, t.rows[r][col].toDouble());
            lines << line;
            continue;
        }
        auto* set = new QBarSet(t.columns[col]);
        for (const QVariantList& row : t.rows)
            *set << row[col].toDouble();
        bars->append(set);
    }
    chart->addSeries(bars);
    auto* x = new QBarCategoryAxis(chart);
    x->append(categories);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);
    auto* y = new QValueAxis(chart);
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(y);
    // Counts on whole ticks from zero.
    y->setMin(0);
    y->applyNiceNumbers();
    if (!lines.isEmpty()) {
        auto* money = new QValueAxis(chart);
        money->setLabelFormat(QStringLiteral("%.0f"));
        money->setTitleText(QStringLiteral("元"));
        chart->addAxis(money, Qt::AlignRight);
        for (QLineSeries* l : lines) {
            chart->addSeries(l);
            l->attachAxis(x);
            l->attachAxis(money);
        }
        money->setMin(0);
        money->applyNiceNumbers();
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// One box plot per mode: sale and rent prices differ by orders of magnitude.
QList<QChart*> boxCharts(const Statistics::Table& t)
{
    QList<QChart*> out;
    for (const QString& mode : {QStringLiteral("出售"), QStringLiteral("出租")}) {
        auto* series = new QBoxPlotSeries;
        series->setName(mode);
        for (const QVariantList& row : t.rows) {
            if (row[1].toString() != mode) continue;
            auto* box = new QBoxSet(row[3].toDouble(), row[4].toDouble(), row[5].toDouble(),
                                    row[6].toDouble(), row[7].toDouble(), row[0].toString());
            series->append(box);
        }
        if (series->count() == 0) {
            delete series;
            continue;
        }
        auto* chart = new QChart;
        chart->setTitle(QStringLiteral("%1 - %2").arg(t.title, mode));
        chart->addSeries(series);
        chart->createDefaultAxes();
        chart->legend()->hide();
        out << chart;
    }
    return out;
}

} // namespace

struct TFrmTJFX::Page {
    QWidget* widget = nullptr;
    QHBoxLayout* charts = nullptr;
    QLabel* empty = nullptr;
    DbGrid* grid = nullptr;
    Query rows;
    DataSource link;
    Statistics::Table table;
    QList<QChartView*> views;
    Compute compute;
};

TFrmTJFX::TFrmTJFX(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmTJFX"));
    setWindowTitle(QStringLiteral("统计分析"));
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    resize(1000, 720);

    const QDate today = QDate::currentDate();
    dtFrom = new QDateEdit(QDate(today.year(), 1, 1), this);
    dtFrom->setObjectName(QStringLiteral("dtFrom"));
    dtTo = new QDateEdit(today, this);
    dtTo->setObjectName(QStringLiteral("dtTo"));
    for (QDateEdit* d : {dtFrom, dtTo}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    cbWZ = new QComboBox(this);
    cbWZ->setObjectName(QStringLiteral("cbWZ"));
    cbWZ->addItem(QStringLiteral("全部"));
    guarded([&] {
        fillList(cbWZ, QStringLiteral("select 位置 from 位置字典"), QStringLiteral("位置"));
        cbWZ->insertItem(0, QStringLiteral("全部"));
        cbWZ->setCurrentIndex(0);
    });
    btnTJ = namedButton(this, "btnTJ", QStringLiteral("统计"));
    btnDY = namedButton(this, "btnDY", QStringLiteral("打印"));
    btnPNG = namedButton(this, "btnPNG", QStringLiteral("保存图片"));
    btnExcel = namedButton(this, "btnExcel", QStringLiteral("生成Excel"));
    btnTC = namedButton(this, "btnTC", QStringLiteral("退出"));
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));

    for (const PageDef& def : pageDefs()) {
        auto page = std::make_unique<Page>();
        page->compute = def.compute;
        page->widget = new QWidget(tabs);
        auto* lay = new QVBoxLayout(page->widget);
        page->charts = new QHBoxLayout;
        lay->addLayout(page->charts, 3);
        page->empty = new QLabel(Statistics::emptyText(), page->widget);
        page->empty->setObjectName(QStringLiteral("lblEmpty"));
        page->empty->setAlignment(Qt::AlignCenter);
        page->empty->setVisible(false);
        lay->addWidget(page->empty);
        page->grid = new DbGrid(page->widget);
        page->grid->setObjectName(QStringLiteral("grid"));
        page->link.setDataSet(&page->rows);
        lay->addWidget(page->grid, 2);
        tabs->addTab(page->widget, QString::fromUtf8(def.tab));
        m_pages.push_back(std::move(page));
    }

    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("日期"), this));
    filter->addWidget(dtFrom);
    filter->addWidget(new QLabel(QStringLiteral("至"), this));
    filter->addWidget(dtTo);
    filter->addWidget(new QLabel(QStringLiteral("位置"), this));
    filter->addWidget(cbWZ);
    for (QPushButton* b : {btnTJ, btnDY, btnPNG, btnExcel, btnTC})
        filter->addWidget(b);
    filter->addStretch();
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(filter);
    lay->addWidget(tabs, 1);

    onSignal(btnTJ, &QPushButton::clicked, this, &TFrmTJFX::btnTJClick);
    onSignal(btnDY, &QPushButton::clicked, this, &TFrmTJFX::btnDYClick);
    onSignal(btnPNG, &QPushButton::clicked, this, &TFrmTJFX::btnPNGClick);
    onSignal(btnExcel, &QPushButton::clicked, this, &TFrmTJFX::btnExcelClick);
    onSignal(btnTC, &QPushButton::clicked, this, &QDialog::accept);
    btnTJClick();
}

TFrmTJFX::~TFrmTJFX() = default;

int TFrmTJFX::pageCount() const
{
    return int(m_pages.size());
}

const Statistics::Table& TFrmTJFX::table(int page) const
{
    return m_pages[page]->table;
}

QList<QChartView*> TFrmTJFX::chartViews(int page) const
{
    return m_pages[page]->views;
}

DbGrid* TFrmTJFX::grid(int page) const
{
    return m_pages[page]->grid;
}

void TFrmTJFX::btnTJClick()
{
    Statistics::Filter f{dtFrom->date(), dtTo->date(),
                         cbWZ->currentIndex() <= 0 ? QString() : cbWZ->currentText(),
                         Deals::mayChange(CurUser.GNZ)};
    if (const auto why = Statistics::refusal(f)) {
        dialogs().message(this, *why);
        dtFrom->setFocus();
        return;
    }
    guarded([&] {
        Connection& c = mainDb();
        // One consistent view of the database for every figure.
        Connection::Transaction snapshot(c, Connection::Transaction::Snapshot);
        for (auto& page : m_pages)
            present(*page, page->compute(c, f));
        snapshot.commit();
    });
}

void TFrmTJFX::present(Page& page, Statistics::Table t)
{
    page.table = std::move(t);
    for (QChartView* v : page.views)
        delete v;
    page.views.clear();
    const bool empty = page.table.rows.isEmpty();
    page.empty->setVisible(empty);
    if (!empty) {
        const QList<QChart*> charts = page.table.chart == Statistics::Table::BoxPlot
                                          ? boxCharts(page.table)
                                          : QList<QChart*>{barChart(page.table)};
        for (QChart* chart : charts) {
            auto* view = new QChartView(chart, page.widget);
            view->setRenderHint(QPainter::Antialiasing);
            view->setMinimumHeight(260);
            page.charts->addWidget(view);
            page.views << view;
        }
    }
    QList<ColumnInfo> columns;
    std::vector<QVector<QVariant>> rows;
    QList<GridColumn> gridColumns;
    for (int i = 0; i < page.table.columns.size(); ++i) {
        const QString& name = page.table.columns[i];
        const bool number = i >= page.table.keyColumns;
        const bool decimals = number && !page.table.rows.isEmpty() &&
                              page.table.rows.first()[i].typeId() == QMetaType::Double;
        columns << ColumnInfo{name,
                              decimals ? ColumnInfo::Float
                              : number ? ColumnInfo::Integer
                                       : ColumnInfo::Text,
                              0};
        gridColumns << GridColumn{name, name, -1, decimals ? QStringLiteral("0.00") : QString(),
                                  true};
    }
    for (const QVariantList& r : page.table.rows)
        rows.push_back(QVector<QVariant>(r.begin(), r.end()));
    page.rows.openRows(columns, std::move(rows));
    QueryWindowConfig config;
    config.columns = gridColumns;
    QueryWindow::setupGrid(page.grid, &page.link, config);
    QueryWindow::fitDefaultWidths(page.grid);
}

QImage TFrmTJFX::picture(int page) const
{
    const QList<QChartView*>& views = m_pages[page]->views;
    const QSize one(800, 480);
    QImage img(qMax(1, int(views.size())) * one.width(), one.height(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < views.size(); ++i) {
        // Drawn at a fixed size, whatever the size of the window.
        QChart* chart = views[i]->chart();
        const QSizeF shown = chart->size();
        chart->resize(one);
        chart->scene()->render(&p, QRectF(QPointF(i * one.width(), 0), one),
                               QRectF(QPointF(0, 0), one));
        chart->resize(shown);
    }
    if (views.isEmpty()) {
        p.drawText(img.rect(), Qt::AlignCenter, Statistics::emptyText());
    }
    return img;
}

void TFrmTJFX::printPage(QPrinter* printer) const
{
    const int page = tabs->currentIndex();
    const Statistics::Table& t = m_pages[page]->table;
    QPainter p;
    if (!p.begin(printer)) return;
    const QRect area = printer->pageLayout().paintRectPixels(printer->resolution());
    const double scale = printer->resolution() / 96.0;
    QFont title = pixelFont(QStringLiteral("楷体_GB2312"), int(20 * scale), true);
    QFont body = pixelFont(QStringLiteral("宋体"), int(12 * scale));
    p.setFont(title);
    int y = 0;
    const QString heading =
        QStringLiteral("%1（%2至%3%4）")
            .arg(t.title, dtFrom->date().toString(Qt::ISODate), dtTo->date().toString(Qt::ISODate),
                 cbWZ->currentIndex() <= 0 ? QString()
                                           : QStringLiteral("，") + cbWZ->currentText());
    const int titleH = p.fontMetrics().height() * 2;
    p.drawText(QRect(0, y, area.width(), titleH), Qt::AlignCenter, heading);
    y += titleH;
    const QImage img = picture(page);
    const QSize drawn = img.size().scaled(area.width(), area.height() / 2, Qt::KeepAspectRatio);
    p.drawImage(QRect(QPoint((area.width() - drawn.width()) / 2, y), drawn), img);
    y += drawn.height() + int(10 * scale);
    p.setFont(body);
    const int rowH = p.fontMetrics().height() + int(6 * scale);
    const int colW = area.width() / qMax(1, int(t.columns.size()));
    const auto drawRow = [&](const QStringList& cells) {
        if (y + rowH > area.height()) {
            printer->newPage();
            y = 0;
        }
        for (int i = 0; i < cells.size(); ++i) {
            const QRect cell(i * colW, y, colW, rowH);
            p.drawRect(cell);
            p.drawText(cell.adjusted(int(3 * scale), 0, -int(3 * scale), 0),
                       Qt::AlignVCenter | (i < t.keyColumns ? Qt::AlignLeft : Qt::AlignRight),
                       cells[i]);
        }
        y += rowH;
    };
    drawRow(t.columns);
    for (const QVariantList& row : t.rows) {
        QStringList cells;
        for (const QVariant& v : row)
            cells << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'f', 2)
                                                      : v.toString());
        drawRow(cells);
    }
    if (t.rows.isEmpty()) drawRow({Statistics::emptyText()});
    p.end();
}

void TFrmTJFX::btnDYClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPrintPreviewDialog dlg(&printer, this);
    connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
            [this](QPrinter* pr) { printPage(pr); });
    dialogs().exec(&dlg);
}

void TFrmTJFX::btnPNGClick()
{
    QString path =
        dialogs().saveFile(this, FileDialogSpec{QStringLiteral("PNG图片|*.png")},
                           m_pages[tabs->currentIndex()]->table.title + QStringLiteral(".png"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
    if (QFile::exists(path)) {
        if (!dialogs().question(this, QStringLiteral("文件“%1”已存在，是否覆盖？").arg(path)))
            return;
    }
    if (!picture(tabs->currentIndex()).save(path, "PNG"))
        dialogs().message(this, QStringLiteral("图片保存失败：%1").arg(path));
}

void TFrmTJFX::btnExcelClick()
{
    Page& page = *m_pages[tabs->currentIndex()];
    if (!page.rows.isActive()) return;
    Query copy;
    QList<ColumnInfo> columns;
    for (int i = 0; i < page.rows.fieldCount(); ++i)
        columns << page.rows.column(i);
    std::vector<QVector<QVariant>> rows;
    for (const QVariantList& r : page.table.rows)
        rows.push_back(QVector<QVariant>(r.begin(), r.end()));
    copy.openRows(columns, std::move(rows));
    PubGrid = page.grid;
    PubDataSet = &copy;
    {
        TFrmPubExport dlg(this);
        dlg.edtTitle->setText(page.table.title);
        dialogs().exec(&dlg);
    }
    PubDataSet = nullptr;
}
