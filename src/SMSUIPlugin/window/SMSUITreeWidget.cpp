#include "SMSUITreeWidget.h"

int SMSUITreeWidget::depthOf(const QTreeWidgetItem *item)
{
    int depth = 0;
    for (const QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
        ++depth;
    return depth;
}
