// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSUITreeWidget.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalBlocker>

#include "store/SMSStatusUILogic.h"
#include "SMSUIMainDlg.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

namespace {
const QString kDragFormat = QStringLiteral("Text/stringids");
} // namespace

SMSUITreeWidget::SMSUITreeWidget(QWidget *parent)
    : QTreeWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

int SMSUITreeWidget::depthOf(const QTreeWidgetItem *item)
{
    int depth = 0;
    for (const QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
        ++depth;
    return depth;
}

int SMSUITreeWidget::firstItemAt(const QRect &rect, std::initializer_list<int> positions,
                                 QTreeWidgetItem **item) const
{
    if (!m_pMainDlg)
        return EN_POS_INVALID;
    for (int position : positions) {
        QTreeWidgetItem *candidate = m_pMainDlg->treeItem(static_cast<_EN_SMS_POSITION>(position));
        // A hidden or collapsed folder has an empty rectangle and so never matches.
        if (candidate && visualItemRect(candidate).contains(rect)) {
            if (item)
                *item = candidate;
            return position;
        }
    }
    return EN_POS_INVALID;
}

int SMSUITreeWidget::GetItemAtPos(const QRect &rect, QTreeWidgetItem **item) const
{
    const int found = firstItemAt(rect, {EN_LOCAL_ROOT, EN_SIM_ROOT, EN_DEVICE_ROOT,
                                         EN_LOCAL_INBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS,
                                         EN_SIM_INBOX},
                                  item);
    return found != EN_POS_INVALID ? found : GetItemAtPosForDraftDeleteImportant(rect, item);
}

int SMSUITreeWidget::GetItemAtPosForDraftDeleteImportant(const QRect &rect,
                                                         QTreeWidgetItem **item) const
{
    return firstItemAt(rect, {EN_LOCAL_DRAFT, EN_LOCAL_TRASH, EN_LOCAL_FAVORITE, EN_SIM_OUTBOX,
                              EN_DEVICE_OUTBOX, EN_DEVICE_INBOX},
                       item);
}

void SMSUITreeWidget::setCurrentItemQuietly(QTreeWidgetItem *item)
{
    if (!item || currentItem() == item)
        return;
    // Blocked, the tree does not announce the change, so the window keeps its folder.
    const QSignalBlocker blocker(this);
    setCurrentItem(item);
    viewport()->update();
}

bool SMSUITreeWidget::isOwnDrag(const QDropEvent *event) const
{
    // Only rows of the table on show may be dropped. The window also names the table whose
    // drag runs, which stands in for the source when the drag is not a platform one.
    const QObject *source = event->source() ? event->source() : m_pMainDlg->activeDragTable();
    return source && source == m_pMainDlg->currentTable()
        && m_pMainDlg->activeDragTable() == m_pMainDlg->currentTable();
}

void SMSUITreeWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (!event)
        return;
    if (event->mimeData() && event->mimeData()->hasFormat(kDragFormat)) {
        event->acceptProposedAction();
        setMouseTracking(true);
    } else {
        event->ignore();
    }
}

void SMSUITreeWidget::dragMoveEvent(QDragMoveEvent *event)
{
    SMSStatusUILogic *store = SMSStatusUILogic::Instance();
    if (!event || !m_pMainDlg || !store) {
        if (event)
            event->ignore();
        return;
    }
    QTreeWidgetItem *item = nullptr;
    const int target = GetItemAtPos(event->answerRect(), &item);
    m_pMainDlg->setDragOver(true);
    if (!isOwnDrag(event)) {
        m_pMainDlg->setDropRefused(true);
        event->ignore();
        return;
    }
    if (target != EN_POS_INVALID && store->IsAcceptDrop(m_pMainDlg->dragSourcePosition(), target)) {
        event->accept();
        m_pMainDlg->setDropRefused(false);
        setCurrentItemQuietly(item);
        return;
    }
    m_pMainDlg->setDropRefused(true);
    event->ignore();
    setCurrentItemQuietly(m_pMainDlg->dragOriginItem());
}

void SMSUITreeWidget::dropEvent(QDropEvent *event)
{
    if (!event || !m_pMainDlg)
        return;
    setMouseTracking(false);
    if (m_pMainDlg->isDropRefused() || !isOwnDrag(event)) {
        m_pMainDlg->setDropRefused(false);
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QString payload = event->mimeData()
        ? QString::fromUtf8(event->mimeData()->data(kDragFormat))
        : QString();
    const QStringList parts = payload.split(QStringLiteral("-1"));
    for (const QString &id : parts) {
        qCDebug(lcSmsWindow) << "Obtained SmsMsgId =" << id;
        m_droppedIds.append(id);
    }
    m_pMainDlg->markDropped(event->modifiers().testFlag(Qt::ControlModifier));
    // The window takes the folder under the drop, then decides on its selection signal.
    emit itemEntered(currentItem(), 0);
    smsItemSelectionChanged();
}
