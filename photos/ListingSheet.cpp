#include "photos/ListingSheet.h"

#include "data/Dialect.h"
#include "photos/PhotoImage.h"
#include "photos/core/PhotoStore.h"
#include "shell/Dialogs.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <optional>

namespace ListingSheet
{

namespace
{

// Photos beside the cover.
constexpr int kMore = 4;

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString shownValue(const QString& column, const QVariant& v)
{
    if (v.isNull()) return {};
    if (column == QStringLiteral("房屋面积"))
        return QString::number(v.toDouble(), 'f', 2) + QStringLiteral(" 平方米");
    if (column == QStringLiteral("信息价格")) return QString::number(v.toDouble(), 'f', 2);
    if (column == QStringLiteral("新旧程度"))
        return v.toString().isEmpty() ? QString() : v.toString() + QStringLiteral(" 年");
    return v.toString();
}

// A picture reduced to the pixels it fills on the page: the file stays small.
QImage fitted(const QByteArray& stored, const QSize& box)
{
    QImage img = PhotoImage::decode(stored, box);
    if (img.isNull()) img = PhotoImage::placeholder(box);
    return img.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void drawPicture(QPainter& p, const QRect& box, const QByteArray& stored, double pixelsPerUnit)
{
    const QSize px(qMax(1, int(box.width() * pixelsPerUnit)),
                   qMax(1, int(box.height() * pixelsPerUnit)));
    const QImage img = fitted(stored, px);
    QSize shown = img.size() / pixelsPerUnit;
    const QRect target(box.x() + (box.width() - shown.width()) / 2,
                       box.y() + (box.height() - shown.height()) / 2, shown.width(),
                       shown.height());
    p.drawImage(target, img);
    p.setPen(QPen(Qt::gray, 0));
    p.drawRect(target);
}

// The listing's public values; nothing when the number is not stored.
std::optional<QList<QVariant>> publicValues(Connection& c, const QString& number)
{
    QStringList cols;
    for (const Field& f : publicFields())
        cols << Dialect::identifier(f.column);
    Statement st(c, QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
                        .arg(cols.join(QLatin1Char(',')),
                             Dialect::identifier(QStringLiteral("房屋信息")),
                             Dialect::identifier(QStringLiteral("档案号"))));
    st.bind(1, number);
    if (!st.step()) return std::nullopt;
    QList<QVariant> values;
    for (int i = 0; i < cols.size(); ++i)
        values << st.value(i);
    return values;
}

void paintPage(QPainter& p, const QRect& page, Connection& c, const Office& office,
               const QString& number, const QList<QVariant>& values)
{
    const int w = page.width();
    const double unit = w / 190.0; // device units per millimetre of the printable width
    // Pictures at about 150 dots per inch: sharp on paper, small in a file.
    const double pixelsPerUnit = (150.0 / 25.4) / unit;
    int y = page.top();
    p.setPen(Qt::black);
    p.setFont(font(18, true));
    const int headH = int(12 * unit);
    p.drawText(QRect(page.left(), y, w * 2 / 3, headH), Qt::AlignLeft | Qt::AlignVCenter,
               office.name);
    p.setFont(font(11));
    p.drawText(QRect(page.left() + w / 3, y, w * 2 / 3, headH), Qt::AlignRight | Qt::AlignVCenter,
               office.phone.isEmpty() ? QString() : QStringLiteral("电话：") + office.phone);
    y += headH;
    p.setPen(QPen(Qt::black, unit * 0.4));
    p.drawLine(page.left(), y, page.right(), y);
    y += int(3 * unit);
    p.setFont(font(14, true));
    const int titleH = int(9 * unit);
    p.drawText(QRect(page.left(), y, w, titleH), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("房源单  档案号：") + number);
    y += titleH + int(2 * unit);

    const QList<QByteArray> pictures = Photos::pictures(c, number, 1 + kMore, true);
    if (!pictures.isEmpty()) {
        const int coverH = int(105 * unit);
        drawPicture(p, QRect(page.left(), y, w, coverH), pictures.first(), pixelsPerUnit);
        y += coverH + int(3 * unit);
        if (pictures.size() > 1) {
            const int gap = int(3 * unit);
            const int smallW = (w - gap * (kMore - 1)) / kMore;
            const int smallH = smallW * 3 / 4;
            for (int i = 1; i < pictures.size(); ++i)
                drawPicture(p, QRect(page.left() + (i - 1) * (smallW + gap), y, smallW, smallH),
                            pictures[i], pixelsPerUnit);
            y += smallH + int(4 * unit);
        }
    }

    // The public values in two columns of caption and value.
    p.setFont(font(11));
    const int lineH = int(8 * unit);
    const int colW = w / 2;
    const int capW = int(24 * unit);
    for (int i = 0; i < values.size(); ++i) {
        const int col = i % 2;
        const int x = page.left() + col * colW;
        if (y + lineH > page.bottom() - int(10 * unit)) break;
        p.setFont(font(11, true));
        p.drawText(QRect(x, y, capW, lineH), Qt::AlignLeft | Qt::AlignVCenter,
                   publicFields()[i].caption + QStringLiteral("："));
        p.setFont(font(11));
        p.drawText(QRect(x + capW, y, colW - capW, lineH),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   shownValue(publicFields()[i].column, values[i]));
        if (col == 1) y += lineH;
    }
    p.setFont(font(9));
    p.setPen(Qt::darkGray);
    p.drawText(QRect(page.left(), page.bottom() - int(8 * unit), w, int(8 * unit)),
               Qt::AlignRight | Qt::AlignBottom,
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace

const QList<Field>& publicFields()
{
    static const QList<Field> fields = {
        {QStringLiteral("小区名称"), QStringLiteral("小区名称")},
        {QStringLiteral("地址"), QStringLiteral("地址")},
        {QStringLiteral("方式"), QStringLiteral("方式")},
        {QStringLiteral("权属"), QStringLiteral("权属")},
        {QStringLiteral("户型"), QStringLiteral("户型")},
        {QStringLiteral("楼层"), QStringLiteral("楼层")},
        {QStringLiteral("房屋面积"), QStringLiteral("房屋面积")},
        {QStringLiteral("信息价格"), QStringLiteral("价格")},
        {QStringLiteral("位置"), QStringLiteral("位置")},
        {QStringLiteral("新旧程度"), QStringLiteral("房龄")},
        {QStringLiteral("设施"), QStringLiteral("设施")},
        {QStringLiteral("公交线路"), QStringLiteral("公交线路")},
    };
    return fields;
}

Office office(Connection& c, const QString& company)
{
    Statement st(c, QStringLiteral("SELECT %1, %2, %3 FROM %4")
                        .arg(Dialect::identifier(QStringLiteral("公司代码")),
                             Dialect::identifier(QStringLiteral("公司名称")),
                             Dialect::identifier(QStringLiteral("公司电话")),
                             Dialect::identifier(QStringLiteral("公司信息"))));
    Office first;
    bool any = false;
    while (st.step()) {
        const Office o{st.value(1).toString(), st.value(2).toString()};
        if (st.value(0).toString().compare(company, Qt::CaseInsensitive) == 0) return o;
        if (!any) first = o;
        any = true;
    }
    return first;
}

int paint(QPagedPaintDevice* device, Connection& c, const Office& office,
          const QStringList& numbers, const Progress& progress)
{
    QPainter p(device);
    if (!p.isActive()) return 0;
    const QRect page(QPoint(0, 0), QSize(device->width(), device->height()));
    int pages = 0;
    for (int i = 0; i < numbers.size(); ++i) {
        if (const auto values = publicValues(c, numbers[i])) {
            if (pages > 0 && !device->newPage()) break;
            paintPage(p, page, c, office, numbers[i], *values);
            ++pages;
        }
        if (progress && !progress(i + 1)) break;
    }
    p.end();
    return pages;
}

int writePdf(const QString& path, Connection& c, const Office& office, const QStringList& numbers,
             const Progress& progress)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("房源单"));
    pdf.setCreator(QStringLiteral("Halvorra"));
    return paint(&pdf, c, office, numbers, progress);
}

void preview(QWidget* parent, Connection& c, const Office& office, const QStringList& numbers,
             const Progress& progress)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("房源单"));
    QPrintPreviewDialog dlg(&printer, parent);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [&](QPrinter* pr) { paint(pr, c, office, numbers, progress); });
    dialogs().exec(&dlg);
}

} // namespace ListingSheet
