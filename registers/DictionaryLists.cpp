#include "registers/DictionaryLists.h"

#include "widgets/WidgetUtil.h"

#include <QComboBox>

void fillList(QComboBox* list, const RegisterRules::DictionaryList& d)
{
    fillList(list, d.statement, d.column);
    if (!d.anyFirst) return;
    list->insertItem(0, RegisterRules::any());
    list->setCurrentIndex(-1);
    if (list->isEditable()) list->setEditText(QString());
}
