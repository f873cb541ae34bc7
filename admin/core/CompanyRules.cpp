#include "admin/core/CompanyRules.h"

#include "data/Text.h"

#include <QByteArray>
#include <cerrno>
#include <iconv.h>

namespace Company
{

int gb2312Length(const QString& s)
{
    QByteArray in = s.toUtf8();
    if (in.isEmpty()) return 0;
    iconv_t cd = iconv_open("GB2312", "UTF-8");
    if (cd == iconv_t(-1)) return -1;
    QByteArray out(in.size() * 2 + 8, '\0');
    char* src = in.data();
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    // A character without a GB2312 form is refused rather than counted as something else.
    if (rc == size_t(-1) || srcLeft != 0) return -1;
    return int(size_t(out.size()) - dstLeft);
}

Failure check(const QString& code, const QString& name)
{
    const int len = gb2312Length(Text::trim(code));
    if (len < 0) return Failure::CodeCharset;
    if (len != 3) return Failure::CodeLength;
    if (Text::trim(name).isEmpty()) return Failure::NameEmpty;
    return Failure::None;
}

QString message(Failure f)
{
    switch (f) {
    case Failure::CodeLength:
        return QStringLiteral("公司代码必须为3位！");
    case Failure::CodeCharset:
        return QStringLiteral("公司代码中有不能使用的字符，请重新输入。");
    case Failure::NameEmpty:
        return QStringLiteral("公司名称不能为空");
    case Failure::None:
        break;
    }
    return {};
}

} // namespace Company
