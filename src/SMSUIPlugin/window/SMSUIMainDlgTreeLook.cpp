// SPDX-License-Identifier: GPL-3.0-or-later
// How the folder tree looks: icons (mirrored for right-to-left), widths, tooltips and the
// storage labels.
#include "SMSUIMainDlg.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPixmap>

#include "Change.h"
#include "operations/SMSEditUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"

namespace {
constexpr int kIconCount = 9;
constexpr int kIconSize = 16;
constexpr int kRootIcon = 0;
constexpr int kOpenRootIcon = 7;
const QString kTreeImageFile = QStringLiteral("sms_tree_Images.png");

// Icons of the always-present local nodes, by position.
struct NodeIcon
{
    _EN_SMS_POSITION position;
    int icon;
};
constexpr NodeIcon kLocalIcons[] = {
    {EN_LOCAL_ROOT, 0},   {EN_LOCAL_INBOX, 3}, {EN_LOCAL_OUTBOX, 2},
    {EN_LOCAL_SENTITEMS, 8}, {EN_LOCAL_DRAFT, 4}, {EN_LOCAL_FAVORITE, 1},
    {EN_LOCAL_TRASH, 5},  {EN_LOCAL_REPORT, 6}, {EN_LOCAL_CBSBOX, 8},
};
} // namespace

bool SMSUIMainDlg::isRightToLeft() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft;
}

void SMSUIMainDlg::storeAllTreeNodeImages()
{
    m_treeIcons.clear();
    m_mirrorTreeIcons.clear();
    for (int i = 0; i < kIconCount; ++i) {
        QIcon normal;
        QIcon mirror;
        getImageFromFile(i, normal);
        getMirrorImage(i, mirror);
        m_treeIcons.append(normal);
        m_mirrorTreeIcons.append(mirror);
    }
}

void SMSUIMainDlg::getImageFromFile(int index, QIcon &icon) const
{
    const QPixmap strip(m_strPluginPath + kTreeImageFile);
    if (strip.isNull()) {
        qCWarning(lcSmsWindow) << "tree image strip missing:" << m_strPluginPath + kTreeImageFile;
        return;
    }
    icon.addPixmap(strip.copy(kIconSize * index, 0, kIconSize, kIconSize), QIcon::Selected,
                   QIcon::Off);
}

void SMSUIMainDlg::getMirrorImage(int index, QIcon &icon) const
{
    const QPixmap strip(m_strPluginPath + kTreeImageFile);
    if (strip.isNull())
        return;
    const QImage cell = strip.copy(kIconSize * index, 0, kIconSize, kIconSize).toImage();
    icon.addPixmap(QPixmap::fromImage(cell.mirrored(true, false)), QIcon::Selected, QIcon::Off);
}

const QList<QIcon> &SMSUIMainDlg::treeIcons() const
{
    return isRightToLeft() ? m_mirrorTreeIcons : m_treeIcons;
}

void SMSUIMainDlg::setTreeIcons(bool mirrored, bool local, bool sim, bool device)
{
    const QList<QIcon> &icons = mirrored ? m_mirrorTreeIcons : m_treeIcons;
    if (local) {
        for (const NodeIcon &n : kLocalIcons) {
            if (QTreeWidgetItem *item = treeItem(n.position))
                item->setIcon(0, icons.value(n.icon));
        }
    }
    const auto set = [&icons](QTreeWidgetItem *item, int index) {
        if (item)
            item->setIcon(0, icons.value(index));
    };
    if (sim) {
        set(m_pSimRoot, kRootIcon);
        set(m_pSimInbox, 3);
        set(m_pSimOutbox, 2);
    }
    if (device) {
        set(m_pDeviceRoot, kRootIcon);
        set(m_pDeviceOutbox, 2);
        set(m_pDeviceInbox, 3);
    }
}

void SMSUIMainDlg::setLocalTreeNodeImages()
{
    if (!m_pLocalRoot || !m_pLocalInbox || !m_pLocalOutbox || !m_pLocalDraft
        || !m_pLocalFavorite || !m_pLocalTrash || !m_pLocalReport)
        return;
    setTreeIcons(isRightToLeft(), true, false, false);
}

void SMSUIMainDlg::resetImagesForSMSTreeNode()
{
    setTreeIcons(false, true, true, true);
    // The SIM and device roots keep their icon: only their folders are reset here.
    setTreeIcons(false, false, false, false);
}

void SMSUIMainDlg::setMirrorImageForLocal()
{
    setTreeIcons(true, true, false, false);
}

void SMSUIMainDlg::setMirrorImageForSim()
{
    setTreeIcons(true, false, true, false);
}

void SMSUIMainDlg::setMirrorImageForDevice()
{
    setTreeIcons(true, false, false, true);
}

void SMSUIMainDlg::createOpenFolderIcon(QTreeWidgetItem *item)
{
    const QList<QIcon> &icons = m_treeIcons;
    for (QTreeWidgetItem *root : {m_pLocalRoot, m_pSimRoot, m_pDeviceRoot}) {
        if (root)
            root->setIcon(0, icons.value(root == item ? kOpenRootIcon : kRootIcon));
    }
}

void SMSUIMainDlg::mirrorImageOfOpenFolder(QTreeWidgetItem *item)
{
    const QList<QIcon> &icons = m_mirrorTreeIcons;
    for (QTreeWidgetItem *root : {m_pLocalRoot, m_pSimRoot, m_pDeviceRoot}) {
        if (root)
            root->setIcon(0, icons.value(root == item ? kOpenRootIcon : kRootIcon));
    }
}

void SMSUIMainDlg::setWidthForSMSTreeWidget()
{
    if (!m_pTreeWidget)
        return;
    // The viewport's width, not the widget's: the frame and a vertical scroll bar take
    // their share, and a column wider than the viewport shows a horizontal scroll bar
    // although nothing is cut.
    m_pTreeWidget->setColumnWidth(0, m_pTreeWidget->viewport()->width());
    QTreeWidgetItemIterator it(m_pTreeWidget);
    while (*it) {
        setSmsTreeToolTipAndScrollBar(*it);
        ++it;
    }
}

void SMSUIMainDlg::setSmsTreeToolTipAndScrollBar(QTreeWidgetItem *item)
{
    if (!item || !m_pTreeWidget)
        return;
    const QString text = item->text(0);
    const QVariant fontData = item->data(0, Qt::FontRole);
    const QFont font = fontData.canConvert<QFont>() ? fontData.value<QFont>() : QFont();
    const int needed = int(text.size()) + QFontMetrics(font).horizontalAdvance(text)
        + m_pTreeWidget->indentation() * (SMSUITreeWidget::depthOf(item) + 2);
    const int treeWidth = m_pTreeWidget->viewport()->width();
    item->setToolTip(0, needed <= treeWidth ? QString() : text);
    if (needed > treeWidth || needed > m_pTreeWidget->columnWidth(0))
        m_pTreeWidget->setColumnWidth(0, needed);
    m_pTreeWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void SMSUIMainDlg::setOtherSmsLanguage()
{
    const auto retranslate = [this](SMSUITableWidget *table) {
        if (!table)
            return;
        connect(table->horizontalHeader(), &QHeaderView::sectionClicked, this,
                &SMSUIMainDlg::OnHeaderClicked, Qt::UniqueConnection);
        setTableHeaderTexts(table);
    };
    for (SMSUITableWidget *table : std::as_const(m_tableMap))
        retranslate(table);
    retranslate(m_pEmptyTable);
    setLanguageForPreviewAtTableSelection();
    if (isRightToLeft()) {
        setMirrorImageForLocal();
        setMirrorImageForSim();
        setMirrorImageForDevice();
        mirrorImageOfOpenFolder(m_pCurrentTreeItem);
    } else {
        resetImagesForSMSTreeNode();
        createOpenFolderIcon(m_pCurrentTreeItem);
    }
    setSmsToolbarTooltipLanguage();
    emit changeLanguageForTitle(0);
}

// The translated text of key with its first "%s" replaced by word.
static QString textWithWord(const QString &key, const QString &word)
{
    QString text = SMSUIMainDlg::tr(key);
    const int at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, word);
    return text;
}

QString SMSUIMainDlg::GetSIMText(const QString &key) const
{
    return textWithWord(key, m_pEditLogic ? m_pEditLogic->GetUserIdentityByString() : QString());
}

QString SMSUIMainDlg::GetSIMTextEx(const QString &key) const
{
    QString word;
    if (m_pEditLogic) {
        switch (m_SMSThreadInst.destination()) {
        case EN_SIM_OUTBOX:
        case EN_SIM_INBOX:
            word = m_pEditLogic->GetUserIdentityByString();
            break;
        case EN_DEVICE_OUTBOX:
        case EN_DEVICE_INBOX:
            word = tr(QStringLiteral("IDS_TREE_DEVICE"));
            break;
        default:
            break;
        }
    }
    return textWithWord(key, word);
}

QString SMSUIMainDlg::ReplaceSIMTextWithDevice(const QString &key) const
{
    return tr(key).replace(QLatin1String("%s"), tr(QStringLiteral("IDS_TREE_DEVICE")));
}

QString SMSUIMainDlg::ReplaceSIMTextWithLocal(const QString &key) const
{
    return tr(key).replace(QLatin1String("%s"), tr(QStringLiteral("IDS_TREE_LOCAL")));
}
