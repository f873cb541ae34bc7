#include "sheetimport/core/ImportColumns.h"

#include "data/DbError.h"
#include "data/Text.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSettings>

namespace SheetImport
{

namespace
{

using K = ValueKind;

Target t(const char* column, const char* caption, K kind, QStringList words,
         const char* dictionary = "", const char* dictionaryColumn = "")
{
    return {QString::fromUtf8(column),     QString::fromUtf8(caption),          kind,
            QString::fromUtf8(dictionary), QString::fromUtf8(dictionaryColumn), words};
}

QStringList w(std::initializer_list<const char*> words)
{
    QStringList l;
    for (const char* s : words)
        l << QString::fromUtf8(s);
    return l;
}

// The columns an import fills, with the words offices head them with. 公司编号 and
// 序号 come from the archive number (kept or given), never from a column of their own.
const QList<Target>& listingTargets()
{
    static const QList<Target> list{
        t("档案号", "档案号", K::Archive, w({"档案编号", "房源编号", "编号"})),
        t("小区名称", "小区名称", K::Text,
          w({"小区", "楼盘", "楼盘名称", "小区楼盘", "楼盘小区", "小区/楼盘"})),
        t("地址", "地址", K::Text, w({"详细地址", "房屋地址", "门牌", "门牌号", "房号"})),
        t("房屋面积", "房屋面积", K::Area, w({"面积", "建筑面积", "建面", "平米", "使用面积"})),
        t("楼层", "楼层", K::Dictionary, w({"层", "所在楼层"}), "楼层字典", "楼层"),
        t("户型", "户型", K::Dictionary, w({"房型", "格局"}), "户型字典", "户型"),
        t("信息价格", "价格", K::Price,
          w({"售价", "总价", "租金", "价格", "报价", "挂牌价", "月租", "出价"})),
        t("设施", "设施", K::Text, w({"配套", "配套设施"})),
        t("位置", "位置", K::Dictionary, w({"区域", "片区", "区位", "所在区域"}), "位置字典",
          "位置"),
        t("方式", "方式", K::Mode,
          w({"供应方式", "交易方式", "租售", "租售方式", "出售出租", "类别"}), "供应方式字典",
          "供应方式"),
        t("权属", "权属", K::Dictionary, w({"产权", "产权性质", "产权类型"}), "权属字典", "权属"),
        t("类型", "是否有效", K::Validity, w({"有效", "状态", "类型"})),
        t("期限", "期限", K::Date, w({"截止日期", "到期日期", "委托期限"})),
        t("录入日期", "录入日期", K::Date,
          w({"登记日期", "日期", "委托日期", "录入时间", "登记时间"})),
        t("新旧程度", "房龄", K::Digits, w({"新旧程度", "楼龄"})),
        t("公交线路", "交通", K::Text, w({"公交", "公交线路", "交通线路"})),
        t("房屋结构文件", "房屋结构文件", K::Text, w({"结构文件", "户型图"})),
        t("房主姓名", "房主姓名", K::Text,
          w({"房主", "业主", "房东", "业主姓名", "房东姓名", "联系人"})),
        t("电话", "电话", K::Text, w({"联系电话", "固话", "座机", "房主电话", "业主电话"})),
        t("手机", "手机", K::Text, w({"手机号", "手机号码", "移动电话", "房主手机", "业主手机"})),
        t("最低价格", "最低价格", K::Price, w({"最低价", "底价"})),
        t("产权证号", "产权证号", K::Text, w({"房产证号", "产权证", "房产证"})),
        t("备注", "备注", K::Text, w({"说明"})),
        t("看房情况", "看房情况", K::Text, w({"看房", "看房记录"})),
    };
    return list;
}

const QList<Target>& customerTargets()
{
    static const QList<Target> list{
        t("档案号", "档案号", K::Archive, w({"档案编号", "客户编号", "编号"})),
        t("地址描述", "地址描述", K::Text,
          w({"需求区域", "意向区域", "意向地址", "地址", "区域要求"})),
        t("需求方式", "方式", K::Mode, w({"需求", "方式", "求购求租", "租购"}), "需求方式字典",
          "需求方式"),
        t("权属", "权属", K::Dictionary, w({"产权", "产权性质"}), "权属字典", "权属"),
        t("需求设施", "需求设施", K::Text, w({"设施", "配套", "要求", "其他要求"})),
        t("客户姓名", "客户姓名", K::Text, w({"客户", "姓名", "联系人", "客户名称"})),
        t("电话", "电话", K::Text, w({"联系电话", "固话", "座机"})),
        t("手机", "手机", K::Text, w({"手机号", "手机号码", "移动电话"})),
        t("录入日期", "录入日期", K::Date, w({"登记日期", "日期", "录入时间", "登记时间"})),
        t("楼层", "楼层", K::Dictionary, w({"层", "意向楼层"}), "楼层字典", "楼层"),
        t("户型", "户型", K::Dictionary, w({"房型", "意向户型"}), "户型字典", "户型"),
        t("位置", "位置", K::Dictionary, w({"意向位置", "片区"}), "位置字典", "位置"),
        t("类型", "是否有效", K::Validity, w({"有效", "状态", "类型"})),
        t("面积1", "面积下限", K::Area, w({"最小面积", "面积从", "面积起"})),
        t("面积2", "面积上限", K::Area, w({"最大面积", "面积到", "面积止"})),
        t("价格1", "价格下限", K::Price, w({"最低价格", "最低价", "预算下限", "价格从"})),
        t("价格2", "价格上限", K::Price, w({"最高价格", "最高价", "预算上限", "预算", "价格到"})),
    };
    return list;
}

QString settingsKey(Register r, const QStringList& headers)
{
    QStringList keys;
    for (const QString& h : headers)
        keys << headerKey(h);
    const QByteArray hash =
        QCryptographicHash::hash(keys.join(u'\x1f').toUtf8(), QCryptographicHash::Sha1).toHex();
    return registerName(r) + u'/' + QString::fromLatin1(hash);
}

QSettings& settings()
{
    static QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvorra"),
                       QStringLiteral("sheetimport"));
    return s;
}

} // namespace

QString tableOf(Register r)
{
    return r == Register::Listings ? QStringLiteral("房屋信息") : QStringLiteral("客户信息");
}

QString registerName(Register r)
{
    return r == Register::Listings ? QStringLiteral("房源") : QStringLiteral("客户");
}

const QList<Target>& targets(Register r)
{
    return r == Register::Listings ? listingTargets() : customerTargets();
}

const Target* target(Register r, const QString& column)
{
    for (const Target& x : targets(r))
        if (x.column == column) return &x;
    return nullptr;
}

QString headerKey(const QString& header)
{
    QString s;
    int depth = 0;
    for (QChar c : header) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(char16_t(u - 0xFEE0));
        if (c == u'(' || c == u'[' || c == u'【')
            ++depth;
        else if (c == u')' || c == u']' || c == u'】')
            depth = std::max(0, depth - 1);
        else if (depth == 0 && !c.isSpace() && c != u'*' && c != u':' && c != u'：' && u != 0x3000)
            s += c.toUpper();
    }
    return s;
}

QString columnForHeader(Register r, const QString& header)
{
    const QString key = headerKey(header);
    if (key.isEmpty()) return {};
    // The program's own names first, so an exported file maps back exactly.
    for (const Target& x : targets(r))
        if (key == headerKey(x.column) || key == headerKey(x.caption)) return x.column;
    for (const Target& x : targets(r))
        for (const QString& word : x.words)
            if (key == headerKey(word)) return x.column;
    return {};
}

Mapping guess(Register r, const SheetReader::Table& t)
{
    Mapping best;
    int bestScore = 1;
    for (int i = 0; i < t.rows.size() && i < 30; ++i) {
        Mapping m;
        m.headerRow = i;
        m.headers = t.rows[i];
        QSet<QString> taken;
        for (const QString& h : std::as_const(m.headers)) {
            QString col = columnForHeader(r, h);
            if (taken.contains(col)) col.clear();
            if (!col.isEmpty()) taken.insert(col);
            m.columns << col;
            const Target* x = target(r, col);
            m.inTenThousands << (x && x->kind == ValueKind::Price &&
                                 h.contains(QStringLiteral("万")));
        }
        if (taken.size() > bestScore) {
            bestScore = taken.size();
            best = m;
        }
    }
    if (best.headerRow < 0)
        throw DbError(QStringLiteral("在表格的前 30 行中找不到标题行（至少要有两列的标题能认出来，"
                                     "如“小区名称”“地址”“面积”“电话”）。"));
    return best;
}

bool recall(Register r, Mapping& m)
{
    const QStringList stored = settings().value(settingsKey(r, m.headers)).toStringList();
    if (stored.size() != m.headers.size()) return false;
    for (int i = 0; i < stored.size(); ++i)
        m.columns[i] = stored[i] == skipWord() || !target(r, stored[i]) ? QString() : stored[i];
    return true;
}

void remember(Register r, const Mapping& m)
{
    QStringList cols;
    for (const QString& c : m.columns)
        cols << (c.isEmpty() ? skipWord() : c);
    settings().setValue(settingsKey(r, m.headers), cols);
    settings().sync();
}

void applyMappingFile(Register r, const QString& path, Mapping& m)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("无法打开对应关系文件：%1").arg(path));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = Text::trim(lines[n]);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const int eq = line.lastIndexOf(u'=');
        if (eq <= 0)
            throw DbError(QStringLiteral("对应关系文件第 %1 行应写成“表头=列名”。").arg(n + 1));
        const QString header = headerKey(line.left(eq));
        QString column = Text::trim(line.mid(eq + 1));
        if (column == skipWord())
            column.clear();
        else if (!target(r, column))
            throw DbError(QStringLiteral("对应关系文件第 %1 行：%2没有“%3”这一列。")
                              .arg(n + 1)
                              .arg(registerName(r), column));
        bool found = false;
        for (int i = 0; i < m.headers.size(); ++i)
            if (headerKey(m.headers[i]) == header) {
                while (m.columns.size() <= i)
                    m.columns << QString();
                m.columns[i] = column;
                found = true;
            }
        if (!found)
            throw DbError(QStringLiteral("对应关系文件第 %1 行：表格中没有标题为“%2”的列。")
                              .arg(n + 1)
                              .arg(line.left(eq)));
    }
    // A column named twice keeps its first sheet column.
    QSet<QString> taken;
    for (QString& c : m.columns) {
        if (c.isEmpty()) continue;
        if (taken.contains(c))
            c.clear();
        else
            taken.insert(c);
    }
}

QString mappingText(const Mapping& m)
{
    QStringList lines;
    for (int i = 0; i < m.headers.size(); ++i)
        if (!Text::trim(m.headers[i]).isEmpty())
            lines << Text::trim(m.headers[i]) + u'=' +
                         (i < m.columns.size() && !m.columns[i].isEmpty() ? m.columns[i]
                                                                          : skipWord());
    return lines.join(u'\n') + u'\n';
}

} // namespace SheetImport
