// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree: nodes, positions, clicks, expansion and the SIM and device subtrees.
#include "SMSUIMainDlg.h"

#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>

#include "CommonUtils.h"
#include "store/SMSStatusUILogic.h"
#include "SearchLineEdit.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"

namespace {
const QSize kNodeSizeHint(25, 20);

struct NodeKey
{
    _EN_SMS_POSITION position;
    const char *key;
};
// Translation keys of the folder nodes (the SIM and device roots go through GetSIMText).
constexpr NodeKey kNodeKeys[] = {
    {EN_LOCAL_ROOT, "IDS_TREE_LOCAL"},      {EN_LOCAL_INBOX, "IDS_TREE_LINBOX"},
    {EN_LOCAL_OUTBOX, "IDS_TREE_LOUTBOX"},  {EN_LOCAL_SENTITEMS, "IDS_TREE_LSENTITEMS"},
    {EN_LOCAL_DRAFT, "IDS_TREE_LDRAFT"},    {EN_LOCAL_FAVORITE, "IDS_TREE_LFAVORITE"},
    {EN_LOCAL_TRASH, "IDS_TREE_LTRASH"},    {EN_LOCAL_REPORT, "IDS_TREE_LREPORT"},
    {EN_LOCAL_CBSBOX, "IDS_TREE_CBSBOX"},   {EN_SIM_ROOT, "IDS_TREE_SIM"},
    {EN_SIM_INBOX, "IDS_TREE_SINBOX"},      {EN_SIM_OUTBOX, "IDS_TREE_SOUTBOX"},
    {EN_DEVICE_ROOT, "IDS_TREE_DEVICE"},    {EN_DEVICE_INBOX, "IDS_TREE_DINBOX"},
    {EN_DEVICE_OUTBOX, "IDS_TREE_DOUTBOX"},
};

QString keyOf(_EN_SMS_POSITION position)
{
    for (const NodeKey &n : kNodeKeys) {
        if (n.position == position)
            return QString::fromLatin1(n.key);
    }
    return QString();
}

QTreeWidgetItem *newChild(QTreeWidgetItem *parent)
{
    return parent ? new QTreeWidgetItem(parent) : nullptr;
}
} // namespace

QTreeWidgetItem *SMSUIMainDlg::treeItem(_EN_SMS_POSITION position) const
{
    switch (position) {
    case EN_LOCAL_OUTBOX: return m_pLocalOutbox;
    case EN_LOCAL_INBOX: return m_pLocalInbox;
    case EN_LOCAL_DRAFT: return m_pLocalDraft;
    case EN_LOCAL_FAVORITE: return m_pLocalFavorite;
    case EN_LOCAL_TRASH: return m_pLocalTrash;
    case EN_LOCAL_REPORT: return m_pLocalReport;
    case EN_SIM_OUTBOX: return m_pSimOutbox;
    case EN_SIM_INBOX: return m_pSimInbox;
    case EN_DEVICE_OUTBOX: return m_pDeviceOutbox;
    case EN_DEVICE_INBOX: return m_pDeviceInbox;
    case EN_LOCAL_CBSBOX: return m_pCbsBox;
    case EN_SIM_ROOT: return m_pSimRoot;
    case EN_LOCAL_ROOT: return m_pLocalRoot;
    case EN_DEVICE_ROOT: return m_pDeviceRoot;
    case EN_LOCAL_SENTITEMS: return m_pLocalSentItems;
    default: return nullptr;
    }
}

void SMSUIMainDlg::createLocalTreeItems()
{
    m_pLocalRoot = new QTreeWidgetItem(m_pTreeWidget);
    m_pLocalInbox = newChild(m_pLocalRoot);
    m_pLocalOutbox = newChild(m_pLocalRoot);
    if (m_bSentItemsBox)
        m_pLocalSentItems = newChild(m_pLocalRoot);
    m_pLocalDraft = newChild(m_pLocalRoot);
    m_pLocalFavorite = newChild(m_pLocalRoot);
    m_pLocalTrash = newChild(m_pLocalRoot);
    m_pLocalReport = newChild(m_pLocalRoot);
    if (SMSStatusUILogic::IsCbsBoxShown())
        m_pCbsBox = newChild(m_pLocalRoot);
}

void SMSUIMainDlg::createSMSTreePanel()
{
    const bool localComplete = m_pTreeWidget && m_pLocalRoot && m_pLocalInbox && m_pLocalOutbox
        && m_pLocalDraft && m_pLocalFavorite && m_pLocalTrash && m_pLocalReport;
    if (localComplete) {
        m_pTreeWidget->setColumnCount(1);
        m_pTreeWidget->setHeaderHidden(true);
        m_pTreeWidget->setRootIsDecorated(false);
        m_pTreeWidget->setExpandsOnDoubleClick(true);
        m_pTreeWidget->setContextMenuPolicy(Qt::CustomContextMenu);
        m_pTreeWidget->setSelectionMode(QAbstractItemView::SingleSelection);
        m_pTreeWidget->setTextElideMode(Qt::ElideMiddle);
        m_pTreeWidget->expandItem(m_pLocalRoot);
        for (_EN_SMS_POSITION p : {EN_LOCAL_ROOT, EN_LOCAL_INBOX, EN_LOCAL_OUTBOX,
                                   EN_LOCAL_SENTITEMS, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE,
                                   EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_LOCAL_CBSBOX}) {
            if (QTreeWidgetItem *item = treeItem(p)) {
                item->setText(0, tr(keyOf(p)));
                item->setData(0, Qt::SizeHintRole, kNodeSizeHint);
            }
        }
        setLocalTreeNodeImages();
        updateCount();
        m_pTreeWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setWidthForSMSTreeWidget();
        m_pTreeWidget->setMinimumWidth(1);
    }
    if (!m_pTreeWidget)
        return;
    connect(m_pTreeWidget, &QTreeWidget::itemEntered, this, &SMSUIMainDlg::onSmsTreeItemEntered);
    connect(m_pTreeWidget, &QTreeWidget::itemCollapsed, this,
            &SMSUIMainDlg::onLocalNodeCollapsed);
    connect(m_pTreeWidget, &QTreeWidget::itemExpanded, this, &SMSUIMainDlg::onLocalNodeExpanded);
}

void SMSUIMainDlg::initSimTree()
{
    initStorageTree(true);
}

void SMSUIMainDlg::initDeviceTree()
{
    initStorageTree(false);
}

void SMSUIMainDlg::initStorageTree(bool sim)
{
    if (!m_pStatusLogicObject || !m_pTreeWidget)
        return;
    QTreeWidgetItem *&root = sim ? m_pSimRoot : m_pDeviceRoot;
    QTreeWidgetItem *&inbox = sim ? m_pSimInbox : m_pDeviceInbox;
    QTreeWidgetItem *&outbox = sim ? m_pSimOutbox : m_pDeviceOutbox;
    const QString rootKey = sim ? QStringLiteral("IDS_TREE_SIM") : QStringLiteral("IDS_TREE_DEVICE");
    const int memory = sim ? 1 : 2;
    if (!root || !inbox || !outbox) {
        root = new QTreeWidgetItem(m_pTreeWidget);
        inbox = newChild(root);
        outbox = newChild(root);
        if (!inbox || !outbox) {
            qCWarning(lcSmsWindow) << "could not create the storage subtree" << memory;
            return;
        }
        root->setText(0, GetSIMText(rootKey));
        inbox->setText(0, tr(keyOf(sim ? EN_SIM_INBOX : EN_DEVICE_INBOX)));
        outbox->setText(0, tr(keyOf(sim ? EN_SIM_OUTBOX : EN_DEVICE_OUTBOX)));
        for (QTreeWidgetItem *item : {root, inbox, outbox})
            item->setData(0, Qt::SizeHintRole, kNodeSizeHint);
        updateCount();
        const QList<QIcon> &icons = treeIcons();
        root->setIcon(0, icons.value(0));
        inbox->setIcon(0, icons.value(3));
        outbox->setIcon(0, icons.value(2));
    }
    const bool unreadable = m_pStatusLogicObject->GetSMSRecordCount(memory) != 0;
    if (!unreadable) {
        // The device root is loaded once; the SIM is loaded again each time it is reported.
        if (sim || !root->isExpanded()) {
            if (sim)
                populateSimSMSTables();
            else
                populateDeviceSMSTables();
            m_pTreeWidget->expandItem(root);
            root->setText(0, GetSIMText(rootKey));
            if (!sim)
                notifyStatusBarCount();
        }
        return;
    }
    startDetector(sim ? m_SimDetectThread : m_DeviceDetectThread);
    m_pTreeWidget->collapseItem(root);
    root->setText(0, readingLabel(root));
    setSmsTreeToolTipAndScrollBar(root);
}

QString SMSUIMainDlg::readingLabel(QTreeWidgetItem *root) const
{
    const QString key = root == m_pSimRoot ? QStringLiteral("IDS_TREE_SIM")
                                           : QStringLiteral("IDS_TREE_DEVICE");
    return GetSIMText(key) + tr(QStringLiteral("IDS_TREE_READING_DATA"));
}

void SMSUIMainDlg::startDetector(DetectMemoryDeviceThread &detector)
{
    if (detector.isRunning()) {
        // It may be winding down after a stop request (card out and in again quickly) and
        // then ends without a word: it is started again once it has ended.
        detector.setProperty(kRestartDetectorProperty, true);
        return;
    }
    detector.setStopRequest(false);
    detector.start();
}

int SMSUIMainDlg::getSMSTreeNodePosition(QTreeWidgetItem *item)
{
    if (!item)
        return EN_LOCAL_OUTBOX;
    for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
        const auto position = static_cast<_EN_SMS_POSITION>(p);
        if (position != EN_POS_NONE && treeItem(position) == item) {
            m_iSelectedTreeNode = position;
            break;
        }
    }
    return m_iSelectedTreeNode;
}

int SMSUIMainDlg::getCurrentFrom(int position)
{
    switch (position) {
    case EN_LOCAL_OUTBOX: case EN_LOCAL_INBOX: case EN_LOCAL_DRAFT: case EN_LOCAL_FAVORITE:
    case EN_LOCAL_TRASH: case EN_LOCAL_REPORT: case EN_LOCAL_CBSBOX: case EN_POS_NONE:
    case EN_LOCAL_ROOT: case EN_LOCAL_SENTITEMS:
        return 0;
    case EN_SIM_OUTBOX: case EN_SIM_INBOX: case EN_SIM_ROOT:
        return 1;
    case EN_DEVICE_OUTBOX: case EN_DEVICE_INBOX: case EN_DEVICE_ROOT:
        return 2;
    default:
        qCWarning(lcSmsWindow) << "unknown tree position" << position;
        return -1;
    }
}

void SMSUIMainDlg::onClickSMSTreeNode(QTreeWidgetItem *item, int column)
{
    disableAllToolbarItems();
    if (m_bPendingSync) {
        // The rows the search took out go back first: the table then differs from the
        // store in nothing, or little, and is not read again.
        restoreSearchedOutRows();
        syncSMSTableWithBuffers(m_iSelectedTreeNode);
        m_bPendingSync = false;
    }
    m_pCurrentTreeItem = item;
    m_strNodeText = item ? item->text(column) : QString();
    getSMSTreeNodePosition(item);
    m_iCurrentFrom = getCurrentFrom(m_iSelectedTreeNode);
    if (m_pSearchBox && !m_pSearchBox->text().isEmpty())
        m_pSearchBox->clear();

    for (SMSUITableWidget *table : std::as_const(m_tableMap))
        table->setParent(nullptr);
    if (m_pEmptyTable)
        m_pEmptyTable->setParent(nullptr);
    if (m_pTextPreview)
        m_pTextPreview->setParent(nullptr);

    SMSUITableWidget *table = m_tableMap.value(m_iSelectedTreeNode);
    if (!table && (m_iSelectedTreeNode == EN_SIM_ROOT || m_iSelectedTreeNode == EN_DEVICE_ROOT))
        table = createEmptyTable();
    if (!table || !m_pVSplitter)
        return;
    m_pVSplitter->addWidget(table);
    m_pCurrentTable = table;
    if (m_pTextPreview)
        m_pVSplitter->addWidget(m_pTextPreview);
    table->show();
    if (m_pTextPreview)
        m_pTextPreview->show();
    m_pVSplitter->setSizes(m_splitterSizes);
    applyFocusOrder();
    table->clearFocus();
    table->setCurrentCell(-1, -1);
    if (item)
        loadPreviewtextOnTreeNodeClick(item->text(0));
    createOpenFolderIcon(item);
}

void SMSUIMainDlg::onSMSTreeItemSelectionChangedSlot()
{
    if (!m_pTreeWidget)
        return;
    if (m_bIgnoreNextTreeSelection) {
        m_bIgnoreNextTreeSelection = false;
        return;
    }
    // A drop the tree accepted: the folder under it decides between move, copy and cancel.
    if (m_iDraggedFlag) {
        enableDrop(m_iDragSourcePosition);
        return;
    }
    const QList<QTreeWidgetItem *> selected = m_pTreeWidget->selectedItems();
    if (selected.size() == 1 && selected.first() == m_pCurrentTreeItem && !m_bDropHandling) {
        m_pTreeWidget->setMouseTracking(false);
        return;
    }
    for (QTreeWidgetItem *item : selected) {
        m_pTreeWidget->setMouseTracking(false);
        onClickSMSTreeNode(item, 0);
        m_pTreeWidget->setFocus(Qt::OtherFocusReason);
    }
    if (isRightToLeft())
        m_pTreeWidget->viewport()->update();
    m_bDropHandling = false;
}

void SMSUIMainDlg::onSmsTreeItemEntered(QTreeWidgetItem *item, int)
{
    m_bIgnoreNextTreeSelection = false;
    m_pRememberedTreeItem = item;
    const int previous = m_iSelectedTreeNode;
    m_iDropTargetPosition = getSMSTreeNodePosition(item);
    m_iSelectedTreeNode = static_cast<_EN_SMS_POSITION>(previous);
}

void SMSUIMainDlg::activateCurrentTreeNode()
{
    if (!m_pTreeWidget || !m_pRememberedTreeItem)
        return;
    m_pTreeWidget->setCurrentItem(m_pRememberedTreeItem);
    const int previous = m_iSelectedTreeNode;
    m_iDropTargetPosition = getSMSTreeNodePosition(m_pRememberedTreeItem);
    m_iSelectedTreeNode = static_cast<_EN_SMS_POSITION>(previous);
}

void SMSUIMainDlg::clearTreeNodeFocus()
{
    if (!m_pTreeWidget)
        return;
    QTreeWidgetItem *current = m_pTreeWidget->currentItem();
    if (current && current->isSelected())
        current->setSelected(false);
    else if (m_pLocalInbox)
        m_pLocalInbox->setSelected(false);
    m_pTreeWidget->setCurrentItem(nullptr);
}

void SMSUIMainDlg::onTreeNodeExpanded(QTreeWidgetItem *item)
{
    if (!item || !m_pTreeWidget)
        return;
    // A root that is still being read cannot be opened: collapse it and keep waiting.
    if (m_pSimRoot && item == m_pSimRoot && item->text(0) == readingLabel(m_pSimRoot)) {
        m_pTreeWidget->collapseItem(item);
        startDetector(m_SimDetectThread);
    }
    if (m_pDeviceRoot && item == m_pDeviceRoot
        && item->text(0) == readingLabel(m_pDeviceRoot)) {
        m_pTreeWidget->collapseItem(item);
        startDetector(m_DeviceDetectThread);
    }
    setSmsTreeToolTipAndScrollBar(item);
}

void SMSUIMainDlg::onLocalNodeExpanded(QTreeWidgetItem *)
{
    if (m_pTreeWidget)
        m_pTreeWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void SMSUIMainDlg::onLocalNodeCollapsed(QTreeWidgetItem *item)
{
    if (!m_pTreeWidget)
        return;
    const bool simAbsent = !m_pSimRoot || m_pSimRoot->isHidden();
    m_pTreeWidget->setHorizontalScrollBarPolicy(item == m_pLocalRoot && simAbsent
                                                    ? Qt::ScrollBarAlwaysOff
                                                    : Qt::ScrollBarAsNeeded);
}

void SMSUIMainDlg::onSplitterMovedForSMSTree(int, int)
{
    setWidthForSMSTreeWidget();
}

void SMSUIMainDlg::getBoxItemsCount(unsigned int *total, unsigned int *unread) const
{
    if (!total || !unread)
        return;
    for (int p = EN_LOCAL_OUTBOX; p <= EN_LOCAL_SENTITEMS; ++p) {
        total[p] = 0;
        unread[p] = 0;
        if (p >= EN_LOCAL_CBSBOX && p <= EN_DEVICE_ROOT)
            continue;
        const SMSUITableWidget *table = m_tableMap.value(static_cast<_EN_SMS_POSITION>(p));
        if (!table)
            continue;
        total[p] = static_cast<unsigned int>(table->rowCount());
        if (p != EN_LOCAL_INBOX && p != EN_LOCAL_REPORT && p != EN_SIM_INBOX
            && p != EN_DEVICE_INBOX)
            continue;
        for (int row = 0; row < table->rowCount(); ++row) {
            const SmsRecord *record = table->recordAt(row);
            if (record && record->iReadStatus == 1)
                ++unread[p];
        }
    }
}

QString SMSUIMainDlg::folderTitle(int position) const
{
    if (position < 0 || position >= EN_POS_INVALID)
        return QString();
    const auto p = static_cast<_EN_SMS_POSITION>(position);
    if (p == EN_SIM_ROOT)
        return GetSIMText(QStringLiteral("IDS_TREE_SIM"));
    const QString name = tr(keyOf(p));
    if (p == EN_SIM_INBOX || p == EN_SIM_OUTBOX)
        return GetSIMText(QStringLiteral("IDS_TREE_SIM")) + QLatin1Char(' ') + name;
    if (p == EN_DEVICE_INBOX || p == EN_DEVICE_OUTBOX)
        return tr(QStringLiteral("IDS_TREE_DEVICE")) + QLatin1Char(' ') + name;
    return keyOf(p).isEmpty() ? QString() : name;
}

void SMSUIMainDlg::updateCount()
{
    if (!m_bShowSMCount)
        return;
    unsigned int total[16];
    unsigned int unread[16];
    getBoxItemsCount(total, unread);
    for (_EN_SMS_POSITION p : {EN_LOCAL_INBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS, EN_LOCAL_DRAFT,
                               EN_LOCAL_FAVORITE, EN_LOCAL_TRASH, EN_LOCAL_REPORT, EN_SIM_INBOX,
                               EN_SIM_OUTBOX, EN_DEVICE_INBOX, EN_DEVICE_OUTBOX}) {
        QTreeWidgetItem *item = treeItem(p);
        if (!item)
            continue;
        const bool inboxLike = p == EN_LOCAL_INBOX || p == EN_LOCAL_REPORT || p == EN_SIM_INBOX
            || p == EN_DEVICE_INBOX;
        const QString count = inboxLike
            ? QString::number(unread[p]) + QLatin1Char('/') + QString::number(total[p])
            : QString::number(total[p]);
        const QString label = tr(keyOf(p)) + QLatin1Char('(') + count + QLatin1Char(')');
        item->setText(0, label);
        item->setToolTip(0, label);
    }
}

void SMSUIMainDlg::setLocalTreeSmsLanguage()
{
    for (_EN_SMS_POSITION p : {EN_LOCAL_ROOT, EN_LOCAL_INBOX, EN_LOCAL_OUTBOX, EN_LOCAL_SENTITEMS,
                               EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH, EN_LOCAL_REPORT,
                               EN_LOCAL_CBSBOX}) {
        if (QTreeWidgetItem *item = treeItem(p))
            item->setText(0, tr(keyOf(p)));
    }
    updateCount();
}

void SMSUIMainDlg::setSimTreeSmsLanguage()
{
    setStorageTreeLanguage(true);
}

void SMSUIMainDlg::setDeviceSmsLanguage()
{
    setStorageTreeLanguage(false);
}

void SMSUIMainDlg::setStorageTreeLanguage(bool sim)
{
    setWidthForSMSTreeWidget();
    QTreeWidgetItem *root = sim ? m_pSimRoot : m_pDeviceRoot;
    if (root && m_pTreeWidget && m_pStatusLogicObject) {
        if (m_pStatusLogicObject->GetSMSRecordCount(sim ? 1 : 2) != 0) {
            m_pTreeWidget->collapseItem(root);
            root->setText(0, readingLabel(root));
            startDetector(sim ? m_SimDetectThread : m_DeviceDetectThread);
        } else {
            m_pTreeWidget->expandItem(root);
            root->setText(0, GetSIMText(sim ? QStringLiteral("IDS_TREE_SIM")
                                            : QStringLiteral("IDS_TREE_DEVICE")));
        }
    }
    for (_EN_SMS_POSITION p : sim ? QList<_EN_SMS_POSITION>{EN_SIM_INBOX, EN_SIM_OUTBOX}
                                  : QList<_EN_SMS_POSITION>{EN_DEVICE_INBOX, EN_DEVICE_OUTBOX}) {
        if (QTreeWidgetItem *item = treeItem(p))
            item->setText(0, tr(keyOf(p)));
    }
    updateCount();
}
