#include "ModemMenu.h"

#include "DeviceManager.h"
#include "HostLog.h"
#include "HostText.h"
#include "MainFrame.h"
#include "sdk_backend.h"
#include "sdk_simulator.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <functional>

namespace {

struct Sample
{
    const char *sender;
    const char *text;
};

// Incoming traffic that looks like a person's phone: mixed lengths, a link, non-Latin text.
const Sample kSamples[] = {
    {"+447700900123", "Running ten minutes late, save me a seat."},
    {"+15550100777", "Your parcel 4821 will be delivered tomorrow between 9:00 and 12:00. "
                     "Track it at https://example.com/t/4821"},
    {"+966501234567", "مرحبا! هل نلتقي في المقهى الساعة الخامسة؟"},
    {"+4915112345678", "Reminder: dentist appointment on Thursday at 14:30. Reply C to cancel."},
    {"+33612345678", "Merci pour hier soir, c'était super 🙂"},
};

// Factory capacities of the simulated storages (PC, SIM, device).
constexpr int kDefaultCapacity[] = {100000, 50, 300};

} // namespace

ModemMenu::ModemMenu(DeviceManager *device, MainFrame *frame, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_frame(frame)
    , m_menu(new QMenu(frame))
{
    m_menu->setObjectName(QStringLiteral("dialcrest_MenuModem"));
    HostText::bind(m_menu, "IDS_HOST_MENU_MODEM", "&Modem");
    auto add = [this](const char *name, const char *key, const char *english, auto slot) {
        QAction *a = addAction(m_menu, name, key, english);
        connect(a, &QAction::triggered, this, slot);
    };
    add("dialcrest_ModemReceive", "IDS_HOST_RECEIVE", "Receive a message", [this] { receiveMessage(); });
    add("dialcrest_ModemReceiveCustom", "IDS_HOST_RECEIVE_CUSTOM", "Receive a message from…",
        [this] { receiveCustomMessage(); });
    add("dialcrest_ModemFlash", "IDS_HOST_RECEIVE_FLASH", "Receive a flash message", [this] { receiveFlashMessage(); });
    add("dialcrest_ModemReport", "IDS_HOST_RECEIVE_REPORT", "Receive a delivery report",
        [this] { receiveStatusReport(true); });
    add("dialcrest_ModemBroadcast", "IDS_HOST_RECEIVE_CB", "Receive a cell broadcast", [this] { receiveCellBroadcast(); });
    m_menu->addSeparator();

    // Each toggle drives the simulator; when it refuses, the toggle snaps back.
    auto toggle = [this](const char *name, const char *key, const char *english, bool checked,
                         std::function<bool(bool)> set) {
        QAction *a = addAction(m_menu, name, key, english);
        a->setCheckable(true);
        a->setChecked(checked);
        connect(a, &QAction::toggled, this, [this, set = std::move(set)](bool on) {
            if (!set(on))
                syncToggles();
        });
        return a;
    };
    DeviceManager *d = m_device;
    m_plugged = toggle("dialcrest_ModemPlugged", "IDS_HOST_PLUGGED", "Modem plugged in", d->devicePlugged(),
                       [d](bool on) { return d->setDevicePlugged(on); });
    m_sim = toggle("dialcrest_ModemSim", "IDS_HOST_SIMIN", "SIM card inserted", d->simInserted(),
                   [d](bool on) { return d->setSimInserted(on); });
    m_flight = toggle("dialcrest_ModemFlight", "IDS_HOST_FLIGHTMODE", "Flight mode", d->flightMode(),
                      [d](bool on) { return d->setFlightMode(on); });
    m_canSend = toggle("dialcrest_ModemCanSend", "IDS_HOST_NETSEND", "Network accepts messages", d->canSend(),
                       [d](bool on) { return d->setCanSend(on); });
    m_menu->addSeparator();

    QMenu *fill = m_menu->addMenu(QString());
    fill->setObjectName(QStringLiteral("dialcrest_MenuFill"));
    HostText::bind(fill, "IDS_HOST_FILL", "Fill storage");
    const struct
    {
        int memory;
        const char *key;
        const char *english;
    } storages[] = {{UTPS_SMS_MEM_SIM, "IDS_HOST_FILL_SIM", "SIM card"},
                    {UTPS_SMS_MEM_DEVICE, "IDS_HOST_FILL_DEVICE", "Modem memory"},
                    {UTPS_SMS_MEM_PC, "IDS_HOST_FILL_PC", "This computer"}};
    for (const auto &s : storages) {
        QAction *a = fill->addAction(QString());
        a->setObjectName(QStringLiteral("dialcrest_ModemFill%1").arg(s.memory));
        HostText::bind(a, s.key, s.english);
        connect(a, &QAction::triggered, this, [this, memory = s.memory] { fillStorage(memory); });
    }
    add("dialcrest_ModemRestore", "IDS_HOST_RESTORE", "Restore storage capacities", [this] { restoreCapacities(); });
    connect(m_device, &DeviceManager::stateChanged, this, &ModemMenu::syncToggles);
    // Every command here acts on the simulated modem; a real one is not at our command.
    m_menu->menuAction()->setVisible(SdkBackend_Current() == SDK_BACKEND_SIMULATOR);
}

QAction *ModemMenu::addAction(QMenu *menu, const char *objectName, const char *key, const char *english)
{
    QAction *a = menu->addAction(QString());
    a->setObjectName(QLatin1String(objectName));
    HostText::bind(a, key, english);
    return a;
}

void ModemMenu::syncToggles()
{
    const std::pair<QAction *, bool> toggles[] = {{m_plugged, m_device->devicePlugged()},
                                                  {m_sim, m_device->simInserted()},
                                                  {m_flight, m_device->flightMode()},
                                                  {m_canSend, m_device->canSend()}};
    for (const auto &[action, state] : toggles) {
        const QSignalBlocker block(action);
        action->setChecked(state);
    }
}

void ModemMenu::report(const QString &what, long rc)
{
    if (rc != UTPS_OK)
        qCWarning(lcHostModem) << what << "failed with" << rc;
    if (!m_frame)
        return;
    m_frame->showTransientMessage(rc == UTPS_OK ? what
                                                : HostText::text("IDS_HOST_MODEM_FAILED", "%1: the modem refused (%2)")
                                                      .arg(what)
                                                      .arg(rc));
}

long ModemMenu::receiveMessage(int storage)
{
    const Sample &s = kSamples[m_sampleIndex++ % std::size(kSamples)];
    const long rc = SimCtl_InjectMessage(storage < 0 ? SIMCTL_RECEIVE_STORAGE : storage, s.sender, s.text,
                                         nullptr, UTPS_MSGCLASS_DEFAULT, nullptr);
    report(HostText::text("IDS_HOST_RECEIVED", "Message received"), rc);
    return rc;
}

long ModemMenu::receiveFlashMessage()
{
    const long rc = SimCtl_InjectMessage(SIMCTL_RECEIVE_STORAGE, "+15550100999",
                                         "Network notice: your data bundle expires tonight at midnight.", nullptr,
                                         UTPS_MSGCLASS_FLASH, nullptr);
    report(HostText::text("IDS_HOST_RECEIVED_FLASH", "Flash message received"), rc);
    return rc;
}

long ModemMenu::receiveStatusReport(bool delivered)
{
    const long rc = SimCtl_InjectStatusReport("+447700900123", delivered ? 0 : 1, nullptr, nullptr);
    report(HostText::text("IDS_HOST_RECEIVED_REPORT", "Delivery report received"), rc);
    return rc;
}

long ModemMenu::receiveCellBroadcast()
{
    const long rc = SimCtl_InjectCellBroadcast("50", "Area info: roadworks on the ring road until Friday.", nullptr);
    report(HostText::text("IDS_HOST_RECEIVED_CB", "Cell broadcast received"), rc);
    return rc;
}

long ModemMenu::fillStorage(int memory)
{
    int capacity = 0, used = 0;
    long rc = UTPS_SMSSrv_GetRecordInfo(&capacity, &used, static_cast<_UTPS_EN_SMS_MEM>(memory));
    // Lower the capacity to one more than what is stored, then let one message arrive:
    // the storage fills the way it would in use and the modem announces it.
    if (rc == UTPS_OK)
        rc = SimCtl_SetCapacity(memory, used + 1);
    if (rc == UTPS_OK) {
        const Sample &s = kSamples[m_sampleIndex++ % std::size(kSamples)];
        rc = SimCtl_InjectMessage(memory, s.sender, s.text, nullptr, UTPS_MSGCLASS_DEFAULT, nullptr);
    }
    report(HostText::text("IDS_HOST_FILLED", "Storage filled"), rc);
    return rc;
}

long ModemMenu::restoreCapacities()
{
    long rc = UTPS_OK;
    for (int memory = UTPS_SMS_MEM_PC; memory <= UTPS_SMS_MEM_DEVICE; ++memory) {
        const long one = SimCtl_SetCapacity(memory, kDefaultCapacity[memory]);
        if (one != UTPS_OK)
            rc = one;
    }
    report(HostText::text("IDS_HOST_RESTORED", "Storage capacities restored"), rc);
    return rc;
}

void ModemMenu::receiveCustomMessage()
{
    QDialog dialog(m_frame);
    dialog.setObjectName(QStringLiteral("dialcrest_ReceiveDialog"));
    dialog.setWindowTitle(HostText::text("IDS_HOST_RECEIVE_CUSTOM", "Receive a message from…"));
    auto *form = new QFormLayout(&dialog);
    auto *sender = new QLineEdit(QStringLiteral("+447700900123"), &dialog);
    sender->setObjectName(QStringLiteral("dialcrest_ReceiveSender"));
    auto *text = new QPlainTextEdit(&dialog);
    text->setObjectName(QStringLiteral("dialcrest_ReceiveText"));
    auto *storage = new QComboBox(&dialog);
    storage->setObjectName(QStringLiteral("dialcrest_ReceiveStorage"));
    storage->addItem(HostText::text("IDS_HOST_STORAGE_DEFAULT", "Receive storage"), SIMCTL_RECEIVE_STORAGE);
    storage->addItem(HostText::text("IDS_HOST_FILL_PC", "This computer"), UTPS_SMS_MEM_PC);
    storage->addItem(HostText::text("IDS_HOST_FILL_SIM", "SIM card"), UTPS_SMS_MEM_SIM);
    storage->addItem(HostText::text("IDS_HOST_FILL_DEVICE", "Modem memory"), UTPS_SMS_MEM_DEVICE);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(HostText::text("IDS_HOST_SENDER", "From"), sender);
    form->addRow(HostText::text("IDS_HOST_TEXT", "Text"), text);
    form->addRow(HostText::text("IDS_HOST_STORAGE", "Storage"), storage);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const long rc = SimCtl_InjectMessage(storage->currentData().toInt(), sender->text().toUtf8().constData(),
                                         text->toPlainText().toUtf8().constData(), nullptr,
                                         UTPS_MSGCLASS_DEFAULT, nullptr);
    report(HostText::text("IDS_HOST_RECEIVED", "Message received"), rc);
}
