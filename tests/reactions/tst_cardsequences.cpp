// SPDX-License-Identifier: GPL-3.0-or-later
// The window against the modem through orders of card, modem, network and flight-mode
// events, driven as the Modem menu drives them (the simulator's control calls, and the host
// events the device manager sends with them): after every step the tree shows exactly the
// storages the modem has, each with what it holds, nothing of a storage that went stays on
// screen or in reach of a command, and no dialog about it stays open.
#include <QRandomGenerator>

#include "ArrivalHost.h"
#include "DeviceManager.h"
#include "notify/SMSMemoryFullPopup.h"
#include "window/SMSCommandIds.h"
#include "window/SMSWaitingDlg.h"

using namespace arrival;

namespace {

enum class Step {
    SimOut, SimIn, ModemOut, ModemIn, PinLock, PinUnlock, NetOff, NetOn, FlightOn, FlightOff,
    RefuseSend, AcceptSend, ArriveSim, ArriveDevice, SimFull, DeviceFull, Progress, OpenDevice,
    OpenSim
};

const QHash<QString, Step> &stepNames()
{
    static const QHash<QString, Step> names{
        {"sim-", Step::SimOut},          {"sim+", Step::SimIn},
        {"modem-", Step::ModemOut},      {"modem+", Step::ModemIn},
        {"lock", Step::PinLock},         {"unlock", Step::PinUnlock},
        {"net-", Step::NetOff},          {"net+", Step::NetOn},
        {"flight+", Step::FlightOn},     {"flight-", Step::FlightOff},
        {"refuse", Step::RefuseSend},    {"accept", Step::AcceptSend},
        {"arrive-sim", Step::ArriveSim}, {"arrive-device", Step::ArriveDevice},
        {"sim-full", Step::SimFull},     {"device-full", Step::DeviceFull},
        {"progress", Step::Progress},    {"open-device", Step::OpenDevice},
        {"open-sim", Step::OpenSim}};
    return names;
}

struct Folder
{
    int total = 0;
    int unread = 0;
};

// What the modem holds, folder by folder (SIM and device inbox and outbox).
QHash<int, Folder> storedFolders(int memory)
{
    QHash<int, Folder> folders;
    int *ids = nullptr;
    int count = 0;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, _UTPS_EN_SMS_MEM(memory)) != 0)
        return folders;
    _UTPS_ST_SMS_RECORD *r = nullptr;
    UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
    for (int i = 0; r && i < count; ++i) {
        r->iMsgId = ids[i];
        if (UTPS_SMSSrv_GetMsg(r, _UTPS_EN_SMS_MEM(memory)) != 0)
            continue;
        Folder &f = folders[r->iPos];
        ++f.total;
        f.unread += r->iReadStatus == 1;
    }
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    return folders;
}

// The storages a user should see now: the modem's own while it is plugged in, the card's
// while it is in and unlocked.
bool storageShown(int memory)
{
    unsigned short types[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    unsigned short count = 4;
    if (UTPS_SMSSrv_SMSGetMemoryListType(types, &count) != 0)
        return false;
    const unsigned short wanted = memory == UTPS_SMS_MEM_SIM ? UTPS_MEMLIST_SIM : UTPS_MEMLIST_DEVICE;
    if (std::find(types, types + count, wanted) == types + count)
        return false;
    if (memory != UTPS_SMS_MEM_SIM)
        return true;
    int pin = UTPS_PIN_STATE_NO_SIM;
    UTPS_DevSrv_GetPinStatus(0, &pin, nullptr, nullptr, nullptr);
    return pin == UTPS_PIN_STATE_READY || pin == UTPS_PIN_STATE_VERIFIED;
}

struct Card
{
    int memory;
    _EN_SMS_POSITION root, inbox, outbox;
    int fullStatus;
};
const Card kCards[] = {
    {UTPS_SMS_MEM_SIM, EN_SIM_ROOT, EN_SIM_INBOX, EN_SIM_OUTBOX, UTPS_SMS_STATUS_SIM_FULL},
    {UTPS_SMS_MEM_DEVICE, EN_DEVICE_ROOT, EN_DEVICE_INBOX, EN_DEVICE_OUTBOX,
     UTPS_SMS_STATUS_DEVICE_FULL}};

// Where the plug-in's root would stand: hands the host's events to the SMS service, as the
// plug-in does.
class SmsNotifyRelay : public QObject, public INotify
{
    Q_OBJECT
    Q_INTERFACES(INotify)
public:
    int Notify(unsigned int event, unsigned int param1, unsigned int param2) override
    {
        CSMSUIService *sms = CSMSUIService::instance();
        sms->Notify(event, param1, param2);
        sms->checkNotifyType(event, 0, 0);
        return 0;
    }
};

} // namespace

class tst_CardSequences : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sequences_data();
    void sequences();
    void randomWalk();

private:
    void openWindow();
    bool run(Step step);
    // Empty when the window matches the modem, else what differs.
    QString mismatch() const;
    void runChecked(const QString &name, Step step);

    WindowFixture m_fixture;
    std::unique_ptr<ArrivalHost> m_host;
    std::unique_ptr<DeviceManager> m_device;
    SmsNotifyRelay m_relay;
    SMSUIMainDlg *m_window = nullptr;
    // The storage each open dialog is about (-1: none open by this test).
    int m_popupMemory = -1;
    int m_progressMemory = -1;
    int m_arrivals = 0;
};

void tst_CardSequences::init()
{
    cleanup();  // a failed start leaves no cleanup behind it
    m_fixture.setUp();
    m_host = std::make_unique<ArrivalHost>();
    alertsOn(/* visual */ true);
    m_popupMemory = m_progressMemory = -1;
    m_arrivals = 0;
    for (int i = 0; i < 2; ++i)
        QVERIFY(WindowFixture::save(EN_SIM_INBOX, QStringLiteral("+1555000%1").arg(i),
                                    QStringLiteral("sim %1").arg(i), {}, /* unread */ i)
                >= 0);
    QVERIFY(WindowFixture::save(EN_SIM_OUTBOX, QStringLiteral("+15550009"),
                                QStringLiteral("sim out")) >= 0);
    for (int i = 0; i < 3; ++i)
        QVERIFY(WindowFixture::save(EN_DEVICE_INBOX, QStringLiteral("+1555100%1").arg(i),
                                    QStringLiteral("device %1").arg(i)) >= 0);
    m_host->container->RegisterPlugin(QLatin1String(PluginIds::SmsUi),
                                      QLatin1String(PluginIds::SmsUi), &m_relay, 0);
}

void tst_CardSequences::cleanup()
{
    CommonUtils::SetMessageResponder({});
    if (m_window && m_window->waitingDialog())
        m_window->waitingDialog()->stopTimer();
    arrival::closeWindow();
    m_window = nullptr;
    m_device.reset();
    m_host.reset();
    m_fixture.tearDown();
}

void tst_CardSequences::openWindow()
{
    // As the application starts it: the SMS service builds the window, then the device
    // manager tells it what is there.
    QCOMPARE(CSMSUIService::instance()->Init(), 1);
    m_window = SMSUIMainDlg::existingInstance();
    QVERIFY(m_window);
    m_window->resize(900, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_device = std::make_unique<DeviceManager>(m_host->notify.get());
    m_device->announceState();
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    QTRY_VERIFY2(mismatch().isEmpty(), qPrintable(mismatch()));
}

bool tst_CardSequences::run(Step step)
{
    SMSUIMainDlg *w = m_window;
    const auto open = [w](_EN_SMS_POSITION p) {
        QTreeWidgetItem *item = w->treeItem(p);
        if (!item || item->isHidden() || !w->tableAt(p) || w->tableAt(p)->rowCount() == 0)
            return;
        w->treeWidget()->setCurrentItem(item);
        w->onClickSMSTreeNode(item, 0);
        w->currentTable()->selectRow(0);
        w->onClickTableRow(0);
    };
    switch (step) {
    case Step::SimOut: return m_device->setSimInserted(false);
    case Step::SimIn: return m_device->setSimInserted(true);
    case Step::ModemOut: return m_device->setDevicePlugged(false);
    case Step::ModemIn: return m_device->setDevicePlugged(true);
    case Step::PinLock: return SimCtl_SetPinState(UTPS_PIN_STATE_PIN_REQUIRED, 3, 10) == 0;
    case Step::PinUnlock: return SimCtl_SetPinState(UTPS_PIN_STATE_VERIFIED, 3, 10) == 0;
    case Step::NetOff: return SimCtl_SetNetworkRegistered(0) == 0;
    case Step::NetOn: return SimCtl_SetNetworkRegistered(1) == 0;
    case Step::FlightOn: return m_device->setFlightMode(true);
    case Step::FlightOff: return m_device->setFlightMode(false);
    case Step::RefuseSend: return m_device->setCanSend(false);
    case Step::AcceptSend: return m_device->setCanSend(true);
    case Step::ArriveSim:
    case Step::ArriveDevice: {
        const int memory = step == Step::ArriveSim ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE;
        const QByteArray text = "arrival " + QByteArray::number(++m_arrivals);
        // Refused while the storage is away; that is the modem's answer, not a fault. A
        // message the modem keeps in a storage not shown (a locked card) gets no pop-up: one
        // open now is an earlier message's.
        SMSTaskbarNotifier *notifier = SMSTaskbarNotifier::existingInstance();
        const bool popupOpen = notifier && notifier->notifyDialog()
            && notifier->notifyDialog()->isVisible();
        if (inject(memory, "+447700900123", text.constData()) >= 0
            && (storageShown(memory) || !popupOpen))
            m_popupMemory = memory;
        return true;
    }
    case Step::SimFull:
    case Step::DeviceFull: {
        const bool sim = step == Step::SimFull;
        // A modem only says a storage is full while it has that storage.
        if (storageShown(sim ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE))
            return SimCtl_RaiseStatus(sim ? UTPS_SMS_STATUS_SIM_FULL : UTPS_SMS_STATUS_DEVICE_FULL,
                                      sim ? UTPS_SMS_MEM_SIM : UTPS_SMS_MEM_DEVICE) == 0;
        return true;
    }
    case Step::Progress: {
        // A batch on whichever card storage is there, with its progress on screen.
        for (const Card &c : kCards) {
            if (!storageShown(c.memory))
                continue;
            SMSWaitingDlg *progress = w->waitingDialog();
            if (!progress)
                return false;
            progress->m_iSteps = 0;
            progress->m_iMaximum = 10;
            progress->ShowAnimationDialog(w, 2);
            m_progressMemory = c.memory;
            return true;
        }
        return true;
    }
    case Step::OpenDevice: open(EN_DEVICE_INBOX); return true;
    case Step::OpenSim: open(EN_SIM_INBOX); return true;
    }
    return false;
}

QString tst_CardSequences::mismatch() const
{
    SMSUIMainDlg *w = m_window;
    QStringList wrong;
    const QString countsOf = QStringLiteral("(%1/%2)");
    for (const Card &c : kCards) {
        const bool shown = storageShown(c.memory);
        QTreeWidgetItem *root = w->treeItem(c.root);
        const bool visible = root && !root->isHidden();
        if (visible != shown)
            wrong << QStringLiteral("memory %1 shown %2, modem has it %3")
                         .arg(c.memory).arg(visible).arg(shown);
        const QHash<int, Folder> stored = shown ? storedFolders(c.memory) : QHash<int, Folder>{};
        for (_EN_SMS_POSITION p : {c.inbox, c.outbox}) {
            const int rows = w->tableAt(p) ? w->tableAt(p)->rowCount() : -1;
            if (rows != stored.value(p).total)
                wrong << QStringLiteral("folder %1: %2 rows, %3 stored")
                             .arg(p).arg(rows).arg(stored.value(p).total);
            QTreeWidgetItem *item = w->treeItem(p);
            const QString count = p == c.inbox
                ? countsOf.arg(stored.value(p).unread).arg(stored.value(p).total)
                : QStringLiteral("(%1)").arg(stored.value(p).total);
            if (shown && (!item || !item->text(0).endsWith(count)))
                wrong << QStringLiteral("folder %1 reads \"%2\", expected %3")
                             .arg(p).arg(item ? item->text(0) : QString(), count);
        }
        if (shown)
            continue;
        // Nothing of a storage that went is on screen or in reach of a command.
        if (GetMemPosition(w->selectedTreeNode()) == c.memory)
            wrong << QStringLiteral("folder %1 of a gone storage is open").arg(w->selectedTreeNode());
        SMSUITableWidget *table = w->currentTable();
        for (int row = 0; table && row < table->rowCount(); ++row) {
            const SmsRecord *record = table->recordAt(row);
            if (record && GetMemPosition(record->enPos) == c.memory) {
                wrong << QStringLiteral("a message of gone memory %1 on screen").arg(c.memory);
                break;
            }
        }
        if (w->memoryFullPopup() && w->lastStorageStatus() == c.fullStatus)
            wrong << QStringLiteral("storage-full pop-up of gone memory %1").arg(c.memory);
        SMSWaitingDlg *progress = w->waitingDialog();
        if (m_progressMemory == c.memory && progress && progress->dialog()
            && progress->dialog()->isVisible())
            wrong << QStringLiteral("progress of a batch on gone memory %1").arg(c.memory);
        SMSTaskbarNotifier *notifier = SMSTaskbarNotifier::existingInstance();
        if (m_popupMemory == c.memory && notifier && notifier->notifyDialog()
            && notifier->notifyDialog()->isVisible())
            wrong << QStringLiteral("new-message pop-up of gone memory %1").arg(c.memory);
    }
    // Delete and Call act on the selected rows; with no rows selected they have nothing to do.
    SMSUITableWidget *table = w->currentTable();
    const bool selected = table && !table->selectedItems().isEmpty();
    for (int id : {SmsCommand::Delete, SmsCommand::Call}) {
        if (!selected && w->isToolBarItemEnabled(id))
            wrong << QStringLiteral("command %1 enabled with nothing selected").arg(id);
    }
    return wrong.join(QLatin1String("; "));
}

void tst_CardSequences::runChecked(const QString &name, Step step)
{
    QVERIFY2(run(step), qPrintable(name));
    QCOMPARE(SimCtl_WaitIdle(5000), 0L);
    // The modem's reports are queued to the window, and an arrival takes one more turn.
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    QTRY_VERIFY2(mismatch().isEmpty(), qPrintable(name + QStringLiteral(": ") + mismatch()));
}

void tst_CardSequences::sequences_data()
{
    QTest::addColumn<QString>("steps");
    // The card's folders come back however card and modem went and came.
    QTest::newRow("card out, modem out, modem in, card in")
        << "sim- modem- modem+ sim+ arrive-sim";
    QTest::newRow("card out, modem out, card in, modem in")
        << "sim- modem- sim+ modem+ arrive-sim";
    QTest::newRow("modem out, card out, modem in, card in")
        << "modem- sim- modem+ sim+ arrive-sim";
    QTest::newRow("modem in with a locked card, then unlocked")
        << "lock modem- modem+ unlock arrive-sim";
    // A message the modem keeps on a locked card waits, unseen, until the card is unlocked.
    QTest::newRow("message on a locked card") << "lock arrive-sim sim- sim+ unlock";
    // Unplugging after the card went takes the modem's messages and dialogs with it.
    QTest::newRow("modem folder open, card out, modem out")
        << "open-device arrive-device progress device-full sim- modem- modem+";
    QTest::newRow("card folder open, card locked, modem out")
        << "open-sim arrive-sim sim-full lock progress modem- modem+ unlock";
    QTest::newRow("modem folder open, flight mode, card out, modem out")
        << "open-device flight+ device-full sim- arrive-device progress modem- flight- modem+ sim+";
}

void tst_CardSequences::sequences()
{
    QFETCH(QString, steps);
    openWindow();
    if (QTest::currentTestFailed())
        return;
    for (const QString &name : steps.split(QLatin1Char(' '))) {
        QVERIFY2(stepNames().contains(name), qPrintable(name));
        runChecked(name, stepNames().value(name));
        if (QTest::currentTestFailed())
            return;
    }
}

void tst_CardSequences::randomWalk()
{
    openWindow();
    if (QTest::currentTestFailed())
        return;
    bool given = false;
    const quint32 seed = qEnvironmentVariableIntValue("DIALCREST_WALK_SEED", &given);
    QRandomGenerator random(given ? seed : 20261209u);
    qInfo("card walk seed %u (DIALCREST_WALK_SEED=<n> walks another)", given ? seed : 20261209u);
    // Sorted so that a seed names the same walk on every build; card and modem steps
    // count three times, so that their orders come up often in a short walk.
    QStringList names = stepNames().keys();
    names.sort();
    for (const char *often : {"sim-", "sim+", "modem-", "modem+"})
        names << QString::fromLatin1(often) << QString::fromLatin1(often);
    QStringList walked;
    for (int i = 0; i < 150; ++i) {
        const QString name = names.at(random.bounded(int(names.size())));
        walked << name;
        // The seed gives the whole walk again; the last steps are usually enough to see why.
        const QStringList last = walked.mid(std::max<qsizetype>(0, walked.size() - 12));
        runChecked(QStringLiteral("step %1, after ...%2").arg(i).arg(last.join(QLatin1Char(' '))),
                   stepNames().value(name));
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(tst_CardSequences)
#include "tst_cardsequences.moc"
