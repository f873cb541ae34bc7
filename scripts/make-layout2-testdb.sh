#!/usr/bin/env bash
# Makes tests/data/layout2/operators.mdb: a main database of layout 2 (plain
# passwords in 操作员档案) as the program of that layout made it, with operators
# whose passwords the upgrade test looks for byte by byte afterwards. Run it with
# a halvorra-db of layout 2 (the one built before the passwords were hashed):
#   scripts/make-layout2-testdb.sh path/to/halvorra-db
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:?halvorra-db of layout 2}"
out=tests/data/layout2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$tool" demo "$work" --listings 40 --customers 20 --notes 10 >/dev/null
{
  echo "PRAGMA key='marblecanyons';"
  # Deleted rows keep their bytes in the free pages, as a file of the old layout may.
  echo "PRAGMA secure_delete=OFF;"
  echo "BEGIN;"
  # Operators: the initial password (the staff number), quotes and blanks,
  # Chinese and emoji, the full width of the column; a staff member who is none.
  echo "INSERT INTO 操作员档案 VALUES ('10001','张三','业务员','','10001','是','普通操作员');"
  echo "INSERT INTO 操作员档案 VALUES ('10002','李四','经理','','Q''u o\"te9','是','高级操作员');"
  echo "INSERT INTO 操作员档案 VALUES ('10003','王五','业务员','','密码钥匙🔑x7','是','普通操作员');"
  echo "INSERT INTO 操作员档案 VALUES ('10004','赵六','业务员','','ZhaoLiu#42','是','普通操作员');"
  echo "INSERT INTO 操作员档案 VALUES ('10005','钱七','文员','','#','否','#');"
  # Enough rows for the table to spill over several pages, then deleted again:
  # their passwords lay in pages that are free afterwards.
  for i in $(seq 100 399); do
    echo "INSERT INTO 操作员档案 VALUES ('t$i','临时$i','','','Spill$i','是','普通操作员');"
  done
  echo "COMMIT;"
  echo "DELETE FROM 操作员档案 WHERE 员工编号 LIKE 't%';"
} | sqlcipher "$work/fybase.mdb" >/dev/null
mkdir -p "$out"
cp "$work/fybase.mdb" "$out/operators.mdb"
echo "$out/operators.mdb"
