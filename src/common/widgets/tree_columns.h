#pragma once
class QTreeView;

// Widens the columns of a list whose caption or items in view would be cut,
// taking the room from the columns wider than their texts (see
// FitColumnWidths); columns that show all their texts keep their widths.
void FitTreeColumns(QTreeView& view);
