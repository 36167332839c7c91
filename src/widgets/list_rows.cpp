#include "widgets/list_rows.h"

#include <QListWidget>

void RemoveListRow(QListWidget* list, int row)
{
    QListWidgetItem* item = list->item(row);
    if (!item)
        return;
    const bool wasCurrent = list->currentRow() == row || item->isSelected();
    delete list->takeItem(row);
    if (wasCurrent) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}
