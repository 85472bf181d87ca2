// SPDX-License-Identifier: GPL-3.0-or-later
// New messages: taking each arrival into its tables and announcing it (usage file, the
// host's status bar, the pop-up, the flash window and the alert sound).
//
// The store signals each arrival twice, from the SDK's thread, queued: first the record's id,
// then the announcement. Both are only queued here and handled on the next turn of the event
// loop, in slices of bounded length, so that a burst of hundreds of messages is taken in
// while the window still repaints and answers between slices. An arrival's row is always in
// its table before the arrival is announced.
#include "SMSUIMainDlg.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QTimer>
#include <QTreeWidgetItem>

#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"

namespace {
// Work done per turn of the event loop before the window gets to answer again.
constexpr qint64 kArrivalSliceMs = 12;

// The tables an arrival into position goes to: its folder and its storage's root.
QList<_EN_SMS_POSITION> arrivalTables(int position)
{
    switch (position) {
    case EN_LOCAL_INBOX:
        return {EN_LOCAL_INBOX, EN_LOCAL_ROOT};
    case EN_LOCAL_REPORT:
        return {EN_LOCAL_REPORT, EN_LOCAL_ROOT};
    case EN_SIM_INBOX:
        return {EN_SIM_INBOX, EN_SIM_ROOT};
    case EN_DEVICE_INBOX:
        return {EN_DEVICE_INBOX, EN_DEVICE_ROOT};
    case EN_LOCAL_CBSBOX:
        return {EN_LOCAL_CBSBOX, EN_LOCAL_ROOT};
    default:
        return {};
    }
}

// A message can reach a card storage the window does not show: it was announced just before
// the card or modem went, or the modem stores it while the card is locked. Its row would go
// into a hidden table and its pop-up would point at a folder that is not there; the message
// itself stays stored and is shown when the storage is read again.
bool arrivedInHiddenStorage(int position, bool simShown, bool deviceShown)
{
    const int memory = GetMemPosition(position);
    return (memory == UTPS_SMS_MEM_SIM && !simShown)
        || (memory == UTPS_SMS_MEM_DEVICE && !deviceShown);
}
} // namespace

void SMSUIMainDlg::connectArrivalSignals(SMSStatusUILogic *store)
{
    connect(store, &SMSStatusUILogic::SMSReceiveRecord, this,
            &SMSUIMainDlg::onSMSReceiverecordRecieved);
    connect(store, &SMSStatusUILogic::NewMsg_Event, this, &SMSUIMainDlg::ShowNewMessageDialog);
}

void SMSUIMainDlg::onSMSReceiverecordRecieved(int id)
{
    m_pendingReceivedIds.append(id);
    scheduleArrivalWork();
}

void SMSUIMainDlg::ShowNewMessageDialog(const QString &content, const QString &number,
                                        const QString &time, int position, int ordinary)
{
    m_iLastNewMsgPosition = position;
    m_pendingNotices.append({content, number, time, position, ordinary != 0});
    scheduleArrivalWork();
}

void SMSUIMainDlg::scheduleArrivalWork()
{
    if (!m_pArrivalTimer) {
        m_pArrivalTimer = new QTimer(this);
        m_pArrivalTimer->setSingleShot(true);
        m_pArrivalTimer->setInterval(0);
        connect(m_pArrivalTimer, &QTimer::timeout, this, &SMSUIMainDlg::processArrivals);
    }
    if (!m_pArrivalTimer->isActive())
        m_pArrivalTimer->start();
}

void SMSUIMainDlg::processArrivals()
{
    QElapsedTimer slice;
    slice.start();
    bool added = false;
    while (!m_pendingReceivedIds.isEmpty() && slice.elapsed() < kArrivalSliceMs)
        added |= takeReceivedRecordIntoTables(m_pendingReceivedIds.takeFirst());
    if (added)
        refreshAfterArrivals();
    // Announced once every row named so far is in: View then finds the message.
    if (m_pendingReceivedIds.isEmpty() && !m_pendingNotices.isEmpty()) {
        if (m_newMessageMutex.tryLock()) {
            const QList<NewMessageNotice> notices = std::exchange(m_pendingNotices, {});
            announce(notices);
            m_newMessageMutex.unlock();
            playSoundAlert();
        }
    }
    if (!m_pendingReceivedIds.isEmpty() || !m_pendingNotices.isEmpty())
        scheduleArrivalWork();
}

bool SMSUIMainDlg::takeReceivedRecordIntoTables(int id)
{
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "arrival" << id << "without a message store";
        return false;
    }
    SmsRecord *record = m_pStatusLogicObject->takeFirstReceivedRecord();
    if (!record || record->iMsgId != id) {
        // Null: the message was removed before its row was made; nothing to show.
        qCWarning(lcSmsWindow) << "invalid input param: arrival" << id << "does not match"
                               << (record ? record->iMsgId : -1);
        return false;
    }
    if (arrivedInHiddenStorage(record->enPos, m_bSimStorageAvailable, m_bDeviceStorageAvailable)) {
        qCDebug(lcSmsWindow) << "arrival" << id << "in a storage not shown: left to its reading";
        return false;
    }
    m_iLastArrivedId = record->iMsgId;
    m_iLastArrivedPosition = record->enPos;
    const QList<_EN_SMS_POSITION> tables = arrivalTables(record->enPos);
    for (_EN_SMS_POSITION position : tables)
        addRecToSMSTable(position, record);
    return !tables.isEmpty();
}

void SMSUIMainDlg::refreshAfterArrivals()
{
    updateCount();
    if (m_pCurrentTable && m_pCurrentTable->selectedRowNumbers().isEmpty() && m_pTreeWidget
        && m_pTreeWidget->currentItem())
        loadPreviewtextOnTreeNodeClick(m_pTreeWidget->currentItem()->text(0));
}

void SMSUIMainDlg::announce(const QList<NewMessageNotice> &notices)
{
    // Several arrivals handled together count as many, but open one pop-up (for the latest
    // message) and tell the status bar once.
    SaveSMSInfoForAgent(QStringLiteral("SMS02"), QStringLiteral("SMSReceived"),
                        QString::number(notices.size()));
    const NewMessageNotice *latestOrdinary = nullptr;
    for (const NewMessageNotice &notice : notices) {
        if (notice.ordinary)
            latestOrdinary = &notice;
        else
            showFlashMessage(notice.content, notice.number, notice.time);
    }
    if (!latestOrdinary)
        return;
    const bool hidden = arrivedInHiddenStorage(latestOrdinary->position, m_bSimStorageAvailable,
                                               m_bDeviceStorageAvailable);
    INotifyService *notify = notifyService();
    if (!notify) {
        qCWarning(lcSmsWindow) << "m_pNotify is NULL: new message not announced";
        return;
    }
    notify->SendTo(QString::fromLatin1(PluginIds::StatusBar), HostEvent::StatusBarNotice, 0, 0);
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "m_pSMSStatusUILogicInstance is NULL";
        return;
    }
    if (hidden)
        qCDebug(lcSmsWindow) << "no pop-up for a message in a storage not shown";
    else if (smsSetting("VisionAlert", true))
        m_pStatusLogicObject->showNotifyDialog(latestOrdinary->number);
    else
        qCDebug(lcSmsWindow) << "visual alerts are off";
}

bool SMSUIMainDlg::smsSetting(const char *key, bool defaultValue) const
{
    // Alerts are on until the user turns them off (the settings page's defaults).
    bool value = defaultValue;
    if (!m_pStatusLogicObject)
        return value;
    if (m_pStatusLogicObject->GetSMSSetting(QString::fromLatin1(key), value) != 0)
        qCDebug(lcSmsWindow) << "GetSMSSetting failed for" << key << "; default" << value;
    return value;
}

INotifyService *SMSUIMainDlg::notifyService() const
{
    PluginContainer *container = Startup::GetPluginContainer();
    QObject *object = container ? container->GetPlugin(QString::fromLatin1(PluginIds::NotifyService),
                                                       InterfaceId::NotifyService)
                                : nullptr;
    return object ? qobject_cast<INotifyService *>(object) : nullptr;
}
