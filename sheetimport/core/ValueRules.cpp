#include "sheetimport/core/ValueRules.h"

#include "sheetimport/core/SheetReader.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace SheetImport
{

namespace
{

QString halfWidth(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QChar(u' ');
        out += c;
    }
    return out;
}

bool allDigits(const QString& s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return !s.isEmpty();
}

QString yymmdd(int y, int m, int d)
{
    const QDate date(y, m, d);
    if (!date.isValid()) return {};
    return date.toString(QStringLiteral("yyMMdd"));
}

Value refused(const QString& why)
{
    return {QVariant(), why};
}

} // namespace

QString cleanText(const QString& cell)
{
    int a = 0, b = int(cell.size());
    auto blank = [](QChar c) { return c.unicode() <= 32 || c.unicode() == 0x3000; };
    while (a < b && blank(cell[a]))
        ++a;
    while (b > a && blank(cell[b - 1]))
        --b;
    return cell.mid(a, b - a);
}

Value amount(const QString& cell, bool isPrice, PriceUnit unit)
{
    QString s = halfWidth(cleanText(cell));
    if (s.isEmpty()) return {};
    s.remove(u',').remove(u'，').remove(u' ').remove(u'¥').remove(u'￥');
    double factor = 1;
    static const QStringList areaUnits{QStringLiteral("平方米"), QStringLiteral("平米"),
                                       QStringLiteral("平方"),   QStringLiteral("平"),
                                       QStringLiteral("㎡"),     QStringLiteral("m²"),
                                       QStringLiteral("m2"),     QStringLiteral("M2")};
    static const QStringList priceTails{QStringLiteral("元/月"), QStringLiteral("/月"),
                                        QStringLiteral("每月")};
    for (const QString& u : priceTails)
        if (s.endsWith(u)) s.chop(u.size());
    bool tenThousands = false, yuan = false;
    if (s.endsWith(QStringLiteral("万元"))) {
        s.chop(2);
        tenThousands = true;
    } else if (s.endsWith(u'万')) {
        s.chop(1);
        tenThousands = true;
    } else if (s.endsWith(u'元')) {
        s.chop(1);
        yuan = true;
    }
    for (const QString& u : areaUnits)
        if (s.endsWith(u)) {
            s.chop(u.size());
            break;
        }
    bool ok = false;
    double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return refused(QStringLiteral("“%1”不是数字").arg(cleanText(cell)));
    if (isPrice) {
        if (tenThousands && unit == PriceUnit::Yuan) factor = 10000;
        if (yuan && unit == PriceUnit::TenThousand) factor = 1.0 / 10000;
    } else if (tenThousands || yuan) {
        return refused(QStringLiteral("“%1”不是面积").arg(cleanText(cell)));
    }
    v *= factor;
    if (v < 0) return refused(QStringLiteral("“%1”是负数").arg(cleanText(cell)));
    return {v, {}};
}

Value date(const QString& cell)
{
    const QString s = halfWidth(cleanText(cell));
    if (s.isEmpty()) return {};
    static const QRegularExpression ymd(QStringLiteral(
        "^(\\d{4})\\s*[-/.年]\\s*(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})\\s*日?(?:[ T].*)?$"));
    const QRegularExpressionMatch m = ymd.match(s);
    QString out;
    if (m.hasMatch()) {
        out = yymmdd(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    } else if (allDigits(s) && s.size() == 8) {
        out = yymmdd(s.left(4).toInt(), s.mid(4, 2).toInt(), s.mid(6, 2).toInt());
    } else if (allDigits(s) && s.size() == 6) {
        // Already YYMMDD, as the register keeps dates.
        out = yymmdd(2000 + s.left(2).toInt(), s.mid(2, 2).toInt(), s.mid(4, 2).toInt());
    } else {
        // A spreadsheet serial written out as a number (a text table of a workbook).
        bool ok = false;
        const double serial = s.toDouble(&ok);
        if (ok && serial >= 10000 && serial < 100000) {
            const QString iso = SheetReader::serialDate(serial);
            out = yymmdd(iso.left(4).toInt(), iso.mid(5, 2).toInt(), iso.mid(8, 2).toInt());
        }
    }
    if (out.isEmpty()) return refused(QStringLiteral("“%1”不是日期").arg(cleanText(cell)));
    return {out, {}};
}

Value digits(const QString& cell)
{
    QString s = halfWidth(cleanText(cell));
    if (s.isEmpty()) return {};
    if (s.endsWith(u'年')) s.chop(1);
    s = cleanText(s);
    // A number cell of a workbook may read "15.0" where "15" was typed.
    if (s.endsWith(QLatin1String(".0"))) s.chop(2);
    if (!allDigits(s)) return refused(QStringLiteral("“%1”只能是数字").arg(cleanText(cell)));
    return {s, {}};
}

QString mode(const QString& cell, bool forCustomers)
{
    const QString s = cleanText(cell);
    static const QStringList sell{QStringLiteral("卖"),   QStringLiteral("售"),
                                  QStringLiteral("出售"), QStringLiteral("销售"),
                                  QStringLiteral("买卖"), QStringLiteral("二手房")};
    static const QStringList let{QStringLiteral("租"), QStringLiteral("出租"),
                                 QStringLiteral("租赁")};
    static const QStringList buy{QStringLiteral("买"),   QStringLiteral("购"),
                                 QStringLiteral("求购"), QStringLiteral("购买"),
                                 QStringLiteral("购房"), QStringLiteral("买房")};
    static const QStringList rent{QStringLiteral("租"), QStringLiteral("求租"),
                                  QStringLiteral("租房"), QStringLiteral("租赁")};
    if (forCustomers) {
        if (buy.contains(s)) return QStringLiteral("求购");
        if (rent.contains(s)) return QStringLiteral("求租");
    } else {
        if (sell.contains(s)) return QStringLiteral("出售");
        if (let.contains(s)) return QStringLiteral("出租");
    }
    return s;
}

Value validity(const QString& cell)
{
    const QString s = cleanText(cell).toUpper();
    if (s.isEmpty() || s == QStringLiteral("有效") || s == QStringLiteral("是") ||
        s == QLatin1String("TRUE") || s == QLatin1String("1") || s == QStringLiteral("Y"))
        return {QStringLiteral("有效"), {}};
    if (s == QStringLiteral("无效") || s == QStringLiteral("否") || s == QLatin1String("FALSE") ||
        s == QLatin1String("0") || s == QStringLiteral("N"))
        return {QStringLiteral("无效"), {}};
    return refused(QStringLiteral("“%1”应为“有效”或“无效”").arg(cleanText(cell)));
}

bool wellFormedArchive(const QString& number)
{
    if (number.size() != 12) return false;
    for (QChar c : number.left(3))
        if (c.unicode() <= 32) return false;
    const QString date = number.mid(3, 6), seq = number.right(3);
    if (!allDigits(date) || !allDigits(seq) || seq == QLatin1String("000")) return false;
    return !yymmdd(2000 + date.left(2).toInt(), date.mid(2, 2).toInt(), date.mid(4, 2).toInt())
                .isEmpty();
}

} // namespace SheetImport
