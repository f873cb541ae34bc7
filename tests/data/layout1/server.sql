-- The main database as halvorra-db create made it before the database carried a
-- version (layout 1), on a server. Kept as it was: the upgrade tests build it from here.
CREATE EXTENSION IF NOT EXISTS citext;
CREATE TABLE "房屋信息" (
  "档案号" citext COLLATE "C" CONSTRAINT "档案号最多12个字符" CHECK (char_length("档案号") <= 12),
  "小区名称" citext COLLATE "C" CONSTRAINT "小区名称最多30个字符" CHECK (char_length("小区名称") <= 30),
  "地址" citext COLLATE "C" CONSTRAINT "地址最多50个字符" CHECK (char_length("地址") <= 50),
  "楼层" citext COLLATE "C" CONSTRAINT "楼层最多10个字符" CHECK (char_length("楼层") <= 10),
  "户型" citext COLLATE "C" CONSTRAINT "户型最多20个字符" CHECK (char_length("户型") <= 20),
  "位置" citext COLLATE "C" CONSTRAINT "位置最多20个字符" CHECK (char_length("位置") <= 20),
  "方式" citext COLLATE "C" CONSTRAINT "方式最多10个字符" CHECK (char_length("方式") <= 10),
  "权属" citext COLLATE "C" CONSTRAINT "权属最多10个字符" CHECK (char_length("权属") <= 10),
  "房主姓名" citext COLLATE "C" CONSTRAINT "房主姓名最多20个字符" CHECK (char_length("房主姓名") <= 20),
  "电话" citext COLLATE "C" CONSTRAINT "电话最多12个字符" CHECK (char_length("电话") <= 12),
  "手机" citext COLLATE "C" CONSTRAINT "手机最多15个字符" CHECK (char_length("手机") <= 15),
  "类型" citext COLLATE "C" CONSTRAINT "类型最多4个字符" CHECK (char_length("类型") <= 4),
  "期限" citext COLLATE "C" CONSTRAINT "期限最多10个字符" CHECK (char_length("期限") <= 10),
  "备注" citext COLLATE "C",
  "公司编号" citext COLLATE "C" CONSTRAINT "公司编号最多3个字符" CHECK (char_length("公司编号") <= 3),
  "录入日期" citext COLLATE "C" CONSTRAINT "录入日期最多6个字符" CHECK (char_length("录入日期") <= 6),
  "序号" citext COLLATE "C" CONSTRAINT "序号最多3个字符" CHECK (char_length("序号") <= 3),
  "新旧程度" citext COLLATE "C" CONSTRAINT "新旧程度最多4个字符" CHECK (char_length("新旧程度") <= 4),
  "公交线路" citext COLLATE "C" CONSTRAINT "公交线路最多60个字符" CHECK (char_length("公交线路") <= 60),
  "房屋结构文件" citext COLLATE "C" CONSTRAINT "房屋结构文件最多100个字符" CHECK (char_length("房屋结构文件") <= 100),
  "产权证号" citext COLLATE "C" CONSTRAINT "产权证号最多20个字符" CHECK (char_length("产权证号") <= 20),
  "看房情况" citext COLLATE "C",
  "设施" citext COLLATE "C" CONSTRAINT "设施最多40个字符" CHECK (char_length("设施") <= 40),
  "房屋面积" double precision,
  "信息价格" double precision,
  "最低价格" double precision
);
CREATE TABLE "客户信息" (
  "档案号" citext COLLATE "C" CONSTRAINT "档案号最多12个字符" CHECK (char_length("档案号") <= 12),
  "地址描述" citext COLLATE "C" CONSTRAINT "地址描述最多40个字符" CHECK (char_length("地址描述") <= 40),
  "需求方式" citext COLLATE "C" CONSTRAINT "需求方式最多10个字符" CHECK (char_length("需求方式") <= 10),
  "权属" citext COLLATE "C" CONSTRAINT "权属最多10个字符" CHECK (char_length("权属") <= 10),
  "需求设施" citext COLLATE "C",
  "客户姓名" citext COLLATE "C" CONSTRAINT "客户姓名最多10个字符" CHECK (char_length("客户姓名") <= 10),
  "电话" citext COLLATE "C" CONSTRAINT "电话最多12个字符" CHECK (char_length("电话") <= 12),
  "手机" citext COLLATE "C" CONSTRAINT "手机最多15个字符" CHECK (char_length("手机") <= 15),
  "公司编号" citext COLLATE "C" CONSTRAINT "公司编号最多3个字符" CHECK (char_length("公司编号") <= 3),
  "录入日期" citext COLLATE "C" CONSTRAINT "录入日期最多6个字符" CHECK (char_length("录入日期") <= 6),
  "序号" citext COLLATE "C" CONSTRAINT "序号最多3个字符" CHECK (char_length("序号") <= 3),
  "楼层" citext COLLATE "C" CONSTRAINT "楼层最多10个字符" CHECK (char_length("楼层") <= 10),
  "户型" citext COLLATE "C" CONSTRAINT "户型最多20个字符" CHECK (char_length("户型") <= 20),
  "位置" citext COLLATE "C" CONSTRAINT "位置最多20个字符" CHECK (char_length("位置") <= 20),
  "类型" citext COLLATE "C" CONSTRAINT "类型最多4个字符" CHECK (char_length("类型") <= 4),
  "面积1" double precision,
  "面积2" double precision,
  "价格1" double precision,
  "价格2" double precision
);
CREATE TABLE "操作员档案" (
  "员工编号" citext COLLATE "C" CONSTRAINT "员工编号最多5个字符" CHECK (char_length("员工编号") <= 5),
  "员工姓名" citext COLLATE "C" CONSTRAINT "员工姓名最多20个字符" CHECK (char_length("员工姓名") <= 20),
  "员工职务" citext COLLATE "C" CONSTRAINT "员工职务最多20个字符" CHECK (char_length("员工职务") <= 20),
  "联系电话" citext COLLATE "C" CONSTRAINT "联系电话最多15个字符" CHECK (char_length("联系电话") <= 15),
  "登录密码" citext COLLATE "C" CONSTRAINT "登录密码最多10个字符" CHECK (char_length("登录密码") <= 10),
  "操作人员" citext COLLATE "C" CONSTRAINT "操作人员最多2个字符" CHECK (char_length("操作人员") <= 2),
  "功能组" citext COLLATE "C" CONSTRAINT "功能组最多10个字符" CHECK (char_length("功能组") <= 10)
);
CREATE TABLE "公司信息" (
  "公司代码" citext COLLATE "C" CONSTRAINT "公司代码最多3个字符" CHECK (char_length("公司代码") <= 3),
  "公司名称" citext COLLATE "C" CONSTRAINT "公司名称最多30个字符" CHECK (char_length("公司名称") <= 30),
  "公司地址" citext COLLATE "C" CONSTRAINT "公司地址最多50个字符" CHECK (char_length("公司地址") <= 50),
  "公司电话" citext COLLATE "C" CONSTRAINT "公司电话最多12个字符" CHECK (char_length("公司电话") <= 12)
);
CREATE TABLE "户型字典" (
  "户型" citext COLLATE "C" CONSTRAINT "户型最多20个字符" CHECK (char_length("户型") <= 20)
);
CREATE TABLE "楼层字典" (
  "楼层" citext COLLATE "C" CONSTRAINT "楼层最多10个字符" CHECK (char_length("楼层") <= 10)
);
CREATE TABLE "权属字典" (
  "权属" citext COLLATE "C" CONSTRAINT "权属最多10个字符" CHECK (char_length("权属") <= 10)
);
CREATE TABLE "位置字典" (
  "位置" citext COLLATE "C" CONSTRAINT "位置最多20个字符" CHECK (char_length("位置") <= 20)
);
CREATE TABLE "供应方式字典" (
  "供应方式" citext COLLATE "C" CONSTRAINT "供应方式最多10个字符" CHECK (char_length("供应方式") <= 10)
);
CREATE TABLE "需求方式字典" (
  "需求方式" citext COLLATE "C" CONSTRAINT "需求方式最多10个字符" CHECK (char_length("需求方式") <= 10)
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
