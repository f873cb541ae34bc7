-- The main database as halvorra-db create made it before the database carried a
-- version (layout 1), on a file. Kept as it was: the upgrade tests build it from here.
PRAGMA application_id=1213615409;
CREATE TABLE "房屋信息" (
  "档案号" TEXT(12) COLLATE NOCASE CONSTRAINT "档案号最多12个字符" CHECK ("档案号" IS NULL OR (typeof("档案号")='text' AND length("档案号")<=12)),
  "小区名称" TEXT(30) COLLATE NOCASE CONSTRAINT "小区名称最多30个字符" CHECK ("小区名称" IS NULL OR (typeof("小区名称")='text' AND length("小区名称")<=30)),
  "地址" TEXT(50) COLLATE NOCASE CONSTRAINT "地址最多50个字符" CHECK ("地址" IS NULL OR (typeof("地址")='text' AND length("地址")<=50)),
  "楼层" TEXT(10) COLLATE NOCASE CONSTRAINT "楼层最多10个字符" CHECK ("楼层" IS NULL OR (typeof("楼层")='text' AND length("楼层")<=10)),
  "户型" TEXT(20) COLLATE NOCASE CONSTRAINT "户型最多20个字符" CHECK ("户型" IS NULL OR (typeof("户型")='text' AND length("户型")<=20)),
  "位置" TEXT(20) COLLATE NOCASE CONSTRAINT "位置最多20个字符" CHECK ("位置" IS NULL OR (typeof("位置")='text' AND length("位置")<=20)),
  "方式" TEXT(10) COLLATE NOCASE CONSTRAINT "方式最多10个字符" CHECK ("方式" IS NULL OR (typeof("方式")='text' AND length("方式")<=10)),
  "权属" TEXT(10) COLLATE NOCASE CONSTRAINT "权属最多10个字符" CHECK ("权属" IS NULL OR (typeof("权属")='text' AND length("权属")<=10)),
  "房主姓名" TEXT(20) COLLATE NOCASE CONSTRAINT "房主姓名最多20个字符" CHECK ("房主姓名" IS NULL OR (typeof("房主姓名")='text' AND length("房主姓名")<=20)),
  "电话" TEXT(12) COLLATE NOCASE CONSTRAINT "电话最多12个字符" CHECK ("电话" IS NULL OR (typeof("电话")='text' AND length("电话")<=12)),
  "手机" TEXT(15) COLLATE NOCASE CONSTRAINT "手机最多15个字符" CHECK ("手机" IS NULL OR (typeof("手机")='text' AND length("手机")<=15)),
  "类型" TEXT(4) COLLATE NOCASE CONSTRAINT "类型最多4个字符" CHECK ("类型" IS NULL OR (typeof("类型")='text' AND length("类型")<=4)),
  "期限" TEXT(10) COLLATE NOCASE CONSTRAINT "期限最多10个字符" CHECK ("期限" IS NULL OR (typeof("期限")='text' AND length("期限")<=10)),
  "备注" MEMO COLLATE NOCASE CONSTRAINT "备注必须是文本" CHECK ("备注" IS NULL OR typeof("备注")='text'),
  "公司编号" TEXT(3) COLLATE NOCASE CONSTRAINT "公司编号最多3个字符" CHECK ("公司编号" IS NULL OR (typeof("公司编号")='text' AND length("公司编号")<=3)),
  "录入日期" TEXT(6) COLLATE NOCASE CONSTRAINT "录入日期最多6个字符" CHECK ("录入日期" IS NULL OR (typeof("录入日期")='text' AND length("录入日期")<=6)),
  "序号" TEXT(3) COLLATE NOCASE CONSTRAINT "序号最多3个字符" CHECK ("序号" IS NULL OR (typeof("序号")='text' AND length("序号")<=3)),
  "新旧程度" TEXT(4) COLLATE NOCASE CONSTRAINT "新旧程度最多4个字符" CHECK ("新旧程度" IS NULL OR (typeof("新旧程度")='text' AND length("新旧程度")<=4)),
  "公交线路" TEXT(60) COLLATE NOCASE CONSTRAINT "公交线路最多60个字符" CHECK ("公交线路" IS NULL OR (typeof("公交线路")='text' AND length("公交线路")<=60)),
  "房屋结构文件" TEXT(100) COLLATE NOCASE CONSTRAINT "房屋结构文件最多100个字符" CHECK ("房屋结构文件" IS NULL OR (typeof("房屋结构文件")='text' AND length("房屋结构文件")<=100)),
  "产权证号" TEXT(20) COLLATE NOCASE CONSTRAINT "产权证号最多20个字符" CHECK ("产权证号" IS NULL OR (typeof("产权证号")='text' AND length("产权证号")<=20)),
  "看房情况" MEMO COLLATE NOCASE CONSTRAINT "看房情况必须是文本" CHECK ("看房情况" IS NULL OR typeof("看房情况")='text'),
  "设施" TEXT(40) COLLATE NOCASE CONSTRAINT "设施最多40个字符" CHECK ("设施" IS NULL OR (typeof("设施")='text' AND length("设施")<=40)),
  "房屋面积" FLOAT CONSTRAINT "房屋面积必须是数值" CHECK ("房屋面积" IS NULL OR typeof("房屋面积") IN ('real','integer')),
  "信息价格" FLOAT CONSTRAINT "信息价格必须是数值" CHECK ("信息价格" IS NULL OR typeof("信息价格") IN ('real','integer')),
  "最低价格" FLOAT CONSTRAINT "最低价格必须是数值" CHECK ("最低价格" IS NULL OR typeof("最低价格") IN ('real','integer'))
);
CREATE TABLE "客户信息" (
  "档案号" TEXT(12) COLLATE NOCASE CONSTRAINT "档案号最多12个字符" CHECK ("档案号" IS NULL OR (typeof("档案号")='text' AND length("档案号")<=12)),
  "地址描述" TEXT(40) COLLATE NOCASE CONSTRAINT "地址描述最多40个字符" CHECK ("地址描述" IS NULL OR (typeof("地址描述")='text' AND length("地址描述")<=40)),
  "需求方式" TEXT(10) COLLATE NOCASE CONSTRAINT "需求方式最多10个字符" CHECK ("需求方式" IS NULL OR (typeof("需求方式")='text' AND length("需求方式")<=10)),
  "权属" TEXT(10) COLLATE NOCASE CONSTRAINT "权属最多10个字符" CHECK ("权属" IS NULL OR (typeof("权属")='text' AND length("权属")<=10)),
  "需求设施" MEMO COLLATE NOCASE CONSTRAINT "需求设施必须是文本" CHECK ("需求设施" IS NULL OR typeof("需求设施")='text'),
  "客户姓名" TEXT(10) COLLATE NOCASE CONSTRAINT "客户姓名最多10个字符" CHECK ("客户姓名" IS NULL OR (typeof("客户姓名")='text' AND length("客户姓名")<=10)),
  "电话" TEXT(12) COLLATE NOCASE CONSTRAINT "电话最多12个字符" CHECK ("电话" IS NULL OR (typeof("电话")='text' AND length("电话")<=12)),
  "手机" TEXT(15) COLLATE NOCASE CONSTRAINT "手机最多15个字符" CHECK ("手机" IS NULL OR (typeof("手机")='text' AND length("手机")<=15)),
  "公司编号" TEXT(3) COLLATE NOCASE CONSTRAINT "公司编号最多3个字符" CHECK ("公司编号" IS NULL OR (typeof("公司编号")='text' AND length("公司编号")<=3)),
  "录入日期" TEXT(6) COLLATE NOCASE CONSTRAINT "录入日期最多6个字符" CHECK ("录入日期" IS NULL OR (typeof("录入日期")='text' AND length("录入日期")<=6)),
  "序号" TEXT(3) COLLATE NOCASE CONSTRAINT "序号最多3个字符" CHECK ("序号" IS NULL OR (typeof("序号")='text' AND length("序号")<=3)),
  "楼层" TEXT(10) COLLATE NOCASE CONSTRAINT "楼层最多10个字符" CHECK ("楼层" IS NULL OR (typeof("楼层")='text' AND length("楼层")<=10)),
  "户型" TEXT(20) COLLATE NOCASE CONSTRAINT "户型最多20个字符" CHECK ("户型" IS NULL OR (typeof("户型")='text' AND length("户型")<=20)),
  "位置" TEXT(20) COLLATE NOCASE CONSTRAINT "位置最多20个字符" CHECK ("位置" IS NULL OR (typeof("位置")='text' AND length("位置")<=20)),
  "类型" TEXT(4) COLLATE NOCASE CONSTRAINT "类型最多4个字符" CHECK ("类型" IS NULL OR (typeof("类型")='text' AND length("类型")<=4)),
  "面积1" FLOAT CONSTRAINT "面积1必须是数值" CHECK ("面积1" IS NULL OR typeof("面积1") IN ('real','integer')),
  "面积2" FLOAT CONSTRAINT "面积2必须是数值" CHECK ("面积2" IS NULL OR typeof("面积2") IN ('real','integer')),
  "价格1" FLOAT CONSTRAINT "价格1必须是数值" CHECK ("价格1" IS NULL OR typeof("价格1") IN ('real','integer')),
  "价格2" FLOAT CONSTRAINT "价格2必须是数值" CHECK ("价格2" IS NULL OR typeof("价格2") IN ('real','integer'))
);
CREATE TABLE "操作员档案" (
  "员工编号" TEXT(5) COLLATE NOCASE CONSTRAINT "员工编号最多5个字符" CHECK ("员工编号" IS NULL OR (typeof("员工编号")='text' AND length("员工编号")<=5)),
  "员工姓名" TEXT(20) COLLATE NOCASE CONSTRAINT "员工姓名最多20个字符" CHECK ("员工姓名" IS NULL OR (typeof("员工姓名")='text' AND length("员工姓名")<=20)),
  "员工职务" TEXT(20) COLLATE NOCASE CONSTRAINT "员工职务最多20个字符" CHECK ("员工职务" IS NULL OR (typeof("员工职务")='text' AND length("员工职务")<=20)),
  "联系电话" TEXT(15) COLLATE NOCASE CONSTRAINT "联系电话最多15个字符" CHECK ("联系电话" IS NULL OR (typeof("联系电话")='text' AND length("联系电话")<=15)),
  "登录密码" TEXT(10) COLLATE NOCASE CONSTRAINT "登录密码最多10个字符" CHECK ("登录密码" IS NULL OR (typeof("登录密码")='text' AND length("登录密码")<=10)),
  "操作人员" TEXT(2) COLLATE NOCASE CONSTRAINT "操作人员最多2个字符" CHECK ("操作人员" IS NULL OR (typeof("操作人员")='text' AND length("操作人员")<=2)),
  "功能组" TEXT(10) COLLATE NOCASE CONSTRAINT "功能组最多10个字符" CHECK ("功能组" IS NULL OR (typeof("功能组")='text' AND length("功能组")<=10))
);
CREATE TABLE "公司信息" (
  "公司代码" TEXT(3) COLLATE NOCASE CONSTRAINT "公司代码最多3个字符" CHECK ("公司代码" IS NULL OR (typeof("公司代码")='text' AND length("公司代码")<=3)),
  "公司名称" TEXT(30) COLLATE NOCASE CONSTRAINT "公司名称最多30个字符" CHECK ("公司名称" IS NULL OR (typeof("公司名称")='text' AND length("公司名称")<=30)),
  "公司地址" TEXT(50) COLLATE NOCASE CONSTRAINT "公司地址最多50个字符" CHECK ("公司地址" IS NULL OR (typeof("公司地址")='text' AND length("公司地址")<=50)),
  "公司电话" TEXT(12) COLLATE NOCASE CONSTRAINT "公司电话最多12个字符" CHECK ("公司电话" IS NULL OR (typeof("公司电话")='text' AND length("公司电话")<=12))
);
CREATE TABLE "户型字典" (
  "户型" TEXT(20) COLLATE NOCASE CONSTRAINT "户型最多20个字符" CHECK ("户型" IS NULL OR (typeof("户型")='text' AND length("户型")<=20))
);
CREATE TABLE "楼层字典" (
  "楼层" TEXT(10) COLLATE NOCASE CONSTRAINT "楼层最多10个字符" CHECK ("楼层" IS NULL OR (typeof("楼层")='text' AND length("楼层")<=10))
);
CREATE TABLE "权属字典" (
  "权属" TEXT(10) COLLATE NOCASE CONSTRAINT "权属最多10个字符" CHECK ("权属" IS NULL OR (typeof("权属")='text' AND length("权属")<=10))
);
CREATE TABLE "位置字典" (
  "位置" TEXT(20) COLLATE NOCASE CONSTRAINT "位置最多20个字符" CHECK ("位置" IS NULL OR (typeof("位置")='text' AND length("位置")<=20))
);
CREATE TABLE "供应方式字典" (
  "供应方式" TEXT(10) COLLATE NOCASE CONSTRAINT "供应方式最多10个字符" CHECK ("供应方式" IS NULL OR (typeof("供应方式")='text' AND length("供应方式")<=10))
);
CREATE TABLE "需求方式字典" (
  "需求方式" TEXT(10) COLLATE NOCASE CONSTRAINT "需求方式最多10个字符" CHECK ("需求方式" IS NULL OR (typeof("需求方式")='text' AND length("需求方式")<=10))
);
CREATE UNIQUE INDEX 房屋信息_档案号 ON 房屋信息(档案号);
CREATE INDEX 房屋信息_序号 ON 房屋信息(公司编号, 录入日期, 序号);
CREATE INDEX 房屋信息_录入日期 ON 房屋信息(录入日期);
CREATE UNIQUE INDEX 客户信息_档案号 ON 客户信息(档案号);
CREATE INDEX 客户信息_序号 ON 客户信息(公司编号, 录入日期, 序号);
CREATE INDEX 客户信息_录入日期 ON 客户信息(录入日期);
CREATE UNIQUE INDEX 操作员档案_员工编号 ON 操作员档案(员工编号);
CREATE INDEX 房屋信息_匹配 ON 房屋信息(方式, 类型, 档案号, 房屋面积, 信息价格, 户型, 楼层, 位置, 权属, 小区名称, 地址);
CREATE INDEX 客户信息_匹配 ON 客户信息(需求方式, 类型, 档案号, 面积1, 面积2, 价格1, 价格2, 户型, 楼层, 位置, 权属, 地址描述);
INSERT INTO 公司信息 VALUES ('001', '本公司', '', '');
INSERT INTO 供应方式字典 VALUES ('出售');
INSERT INTO 供应方式字典 VALUES ('出租');
INSERT INTO 需求方式字典 VALUES ('求购');
INSERT INTO 需求方式字典 VALUES ('求租');
INSERT INTO 户型字典 VALUES ('一室一厅'), ('两室一厅'), ('两室两厅'), ('三室一厅'), ('三室两厅'), ('四室两厅'), ('复式'), ('别墅');
INSERT INTO 楼层字典 VALUES ('底层'), ('低层'), ('中层'), ('高层'), ('顶层'), ('跃层');
INSERT INTO 权属字典 VALUES ('商品房'), ('房改房'), ('经济适用房'), ('私房'), ('集资房');
INSERT INTO 位置字典 VALUES ('市中心'), ('城东'), ('城西'), ('城南'), ('城北'), ('开发区'), ('郊区');
INSERT INTO 操作员档案 VALUES ('admin', '系统管理员', '系统管理员', '', 'admin', '是', '系统管理员');
