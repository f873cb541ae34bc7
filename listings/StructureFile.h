#pragma once
// The house-structure file of a listing (房屋结构文件), linked and opened the same
// way on 房源输入 and on the listing record card.
class Query;
class QWidget;

namespace StructureFile
{

// "联接房屋结构文件": the picture-open dialog; on a choice the row is put into
// editing and the file's full path written to 房屋结构文件. A path longer than the
// column holds is refused at once with a message, the row left as it was.
// Nothing happens on cancel or while the row set is closed.
void link(QWidget* parent, Query& row);

// "打开": hands the trimmed path to the desktop; nothing when none is linked.
void open(const Query& row);

} // namespace StructureFile
