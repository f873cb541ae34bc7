#pragma once
// The dictionary lists of the registers' windows.
#include "registers/core/RegisterRules.h"

class QComboBox;

// Fills a register's list from its dictionary (widgets/WidgetUtil.h fillList), with
// "不限" in front where the list asks for it.
void fillList(QComboBox* list, const RegisterRules::DictionaryList& d);
