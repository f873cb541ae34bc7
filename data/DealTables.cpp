#include "data/DealTables.h"

namespace Schema
{

namespace
{

using T = ColumnInfo::Type;

// The listing and the customer of a standing deal are unique among standing deals,
// so a second deal on either is refused by the database even if a writer skipped the
// check. Deals are listed and counted by date, their agents read by deal; both
// indexes hold what the statistics sum, so those read no table row.
const char* const kDealIndexes[] = {
    "CREATE UNIQUE INDEX 成交记录_房源 ON 成交记录(房源档案号) WHERE 状态='有效'",
    "CREATE UNIQUE INDEX 成交记录_客户 ON 成交记录(客户档案号) WHERE 状态='有效'",
    "CREATE INDEX 成交记录_日期 ON 成交记录(成交日期, 状态, 位置, 编号, 成交价格, 业主佣金, "
    "客户佣金)",
    "CREATE INDEX 成交经纪人_成交 ON 成交经纪人(成交编号, 员工编号, 员工姓名, 佣金)",
    // The office's figures over 100,000 listings, customers and notes: each grouped
    // statement reads one of these ranges alone.
    "CREATE INDEX 房屋信息_统计 ON 房屋信息(录入日期, 方式, 位置, 房屋面积, 信息价格)",
    "CREATE INDEX 客户信息_统计 ON 客户信息(录入日期, 需求方式, 位置)",
    "CREATE INDEX 房屋信息_供需 ON 房屋信息(类型, 位置, 户型)",
    "CREATE INDEX 客户信息_供需 ON 客户信息(类型, 位置, 户型)",
    "CREATE INDEX 跟进记录_时间 ON 跟进记录(时间, 操作员)",
};

} // namespace

const QList<TableDef>& dealTables()
{
    // Dates "yyyy-MM-dd", times "yyyy-MM-dd HH:mm:ss"; money in fen.
    static const QList<TableDef> defs = {
        {"成交记录",
         {{"编号", T::Integer, 0},
          {"房源档案号", T::Text, 12},
          {"客户档案号", T::Text, 12},
          // The listing's mode (出售/出租) and location when the deal was made.
          {"方式", T::Text, 10},
          {"位置", T::Text, 20},
          {"成交日期", T::Text, 10},
          {"成交价格", T::Integer, 0},
          {"业主佣金", T::Integer, 0},
          {"客户佣金", T::Integer, 0},
          {"合同编号", T::Text, 30},
          {"备注", T::Memo, 0},
          // 有效 while the deal stands, 撤销 once cancelled.
          {"状态", T::Text, 4},
          // 1 where registering the deal turned the record from 有效 to 无效.
          {"房源作废", T::Integer, 0},
          {"客户作废", T::Integer, 0},
          {"登记时间", T::Text, 19},
          {"登记人", T::Text, 5},
          {"撤销时间", T::Text, 19},
          {"撤销人", T::Text, 5},
          {"撤销原因", T::Text, 100}},
         true},
        // The agents of a deal; the name is kept so a deal still names a staff member
        // removed from the register later.
        {"成交经纪人",
         {{"编号", T::Integer, 0},
          {"成交编号", T::Integer, 0},
          {"员工编号", T::Text, 5},
          {"员工姓名", T::Text, 20},
          {"比例", T::Integer, 0},
          {"佣金", T::Integer, 0}},
         true},
    };
    return defs;
}

void createDealTables(Connection& c)
{
    createTables(c, dealTables());
    for (const char* s : kDealIndexes)
        c.run(QString::fromUtf8(s));
}

} // namespace Schema
