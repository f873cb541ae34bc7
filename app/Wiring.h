#pragma once
// Wires the rooms that sit side by side and never include each other: each
// register's record card and the matching of its rows (registers/RegisterWiring.h).
// Run once before the first window opens (start-up; the test programs' main).
void wireWindows();
// The query windows' 从表格导入, 查重 and 导出全部 and the entry windows' question
// about likely duplicates (sheetimport/SheetWindows.h); the program runs it at
// start-up, the tests of those tools themselves.
void wireSheetTools();
