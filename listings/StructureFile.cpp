#include "listings/StructureFile.h"

#include "data/Dmbasic.h"
#include "data/Text.h"
#include "shell/Dialogs.h"

namespace StructureFile
{

namespace
{
const QString kColumn = QStringLiteral("房屋结构文件");
}

void link(QWidget* parent, Query& row)
{
    const QString path = dialogs().openFile(parent, dmbasic->OpenPic);
    if (path.isEmpty() || !row.isActive()) return;
    // A path the column cannot hold would only fail later, at save.
    const int col = row.fieldIndex(kColumn);
    const int room = col < 0 ? 0 : row.column(col).maxLength;
    if (room > 0 && Text::charCount(path) > room) {
        dialogs().message(parent, QStringLiteral("所选文件的完整路径超过 %1 个字符，不能联接。\n"
                                                 "请把文件放到路径较短的文件夹中再联接。")
                                      .arg(room));
        return;
    }
    if (!row.isEditing()) row.edit();
    row.setValue(kColumn, path);
}

void open(const Query& row)
{
    if (!row.isActive()) return;
    const QString path = Text::trim(row.text(kColumn));
    if (!path.isEmpty()) dialogs().openPath(path);
}

} // namespace StructureFile
