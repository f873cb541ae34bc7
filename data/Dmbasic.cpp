#include "data/Dmbasic.h"

#include "data/Schema.h"

Tdmbasic* dmbasic = nullptr;

namespace
{
const char* kProvider = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
const char* kTail = ";Persist Security Info=False;Jet OLEDB:Database Password=";
} // namespace

Tdmbasic::Tdmbasic(QObject* parent) : QObject(parent)
{
    // Defaults until the login rebuilds the strings; never connected with these.
    adoCntnfybase.setConnectionString(
        mainConnectionString(QStringLiteral("D:\\brenquil\\fybase.mdb")));
    adoCntnfyExp.setConnectionString(
        exchangeConnectionString(QStringLiteral("D:\\brenquil\\fyExp.mdb")));
    qryFWXX.addSql(QStringLiteral("select * from 房屋信息Exp"));
    qryKHXX.addSql(QStringLiteral("select * from 客户信息Exp"));
    // Filters in the "description|pattern|description|pattern" form; the dialog
    // service turns them into the platform's own.
    OpenDBPath.filter = QStringLiteral("数据库文件|*.mdb");
    OpenPic.filter =
        QStringLiteral("所有图片|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png|JPEG 图片|*.jpg;*.jpeg|"
                       "位图|*.bmp|图标|*.ico|增强型图元文件|*.emf|图元文件|*.wmf");
    OpenPic.picture = true;
    if (!dmbasic) dmbasic = this;
}

Tdmbasic::~Tdmbasic()
{
    QryPUB.close();
    qryTemp1.close();
    qryFWXX.close();
    qryKHXX.close();
    adoCntnfybase.close();
    adoCntnfyExp.close();
    adoCntn.close();
    if (dmbasic == this) dmbasic = nullptr;
}

QString Tdmbasic::mainConnectionString(const QString& path)
{
    return QString::fromLatin1(kProvider) + path + QString::fromLatin1(kTail) +
           QString::fromLatin1(Schema::mainPassword());
}

QString Tdmbasic::exchangeConnectionString(const QString& path)
{
    return QString::fromLatin1(kProvider) + path + QString::fromLatin1(kTail) +
           QString::fromLatin1(Schema::exchangePassword());
}
