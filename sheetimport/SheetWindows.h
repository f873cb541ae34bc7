#pragma once
// What spreadsheets and likely duplicates add to the registers' windows: on each
// query window's tool bar 从表格导入, 查重 and 导出全部 (after its own buttons), and
// at 保存 of the entry windows a question listing the likely duplicates.
class QueryFrame;
class EntryWindow;

namespace SheetWindows
{

// Puts the buttons and the question in place; called once at start-up.
void install();

// The handlers (also reached by the tests).
void importFromSheet(QueryFrame& w);
void showDuplicates(QueryFrame& w);
void exportAll(QueryFrame& w);
// True when the entry window may save: no likely duplicate, or the operator says so.
bool confirmSave(EntryWindow& w);

} // namespace SheetWindows
