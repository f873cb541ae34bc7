#pragma once
// Rules on the company record: the company code is exactly three characters
// counted in GB2312 bytes (a Chinese character counts as two), after trimming;
// the company name is not empty.
#include <QString>

namespace Company
{

// Bytes the text takes in GB2312; -1 when a character has no GB2312 form.
int gb2312Length(const QString& s);

enum class Failure { None, CodeLength, CodeCharset, NameEmpty };

// Checks the values in the order the save does: code first, then name.
Failure check(const QString& code, const QString& name);
QString message(Failure f);

} // namespace Company
