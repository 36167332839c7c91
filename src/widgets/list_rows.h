#pragma once
// Row removal for list widgets that act on "the selected entry".

class QListWidget;

// Removes the row. When it was the selected one nothing is selected
// afterwards: a list view would make a neighbour current and selected, and
// the next command would act on an entry the player never chose.
void RemoveListRow(QListWidget* list, int row);
