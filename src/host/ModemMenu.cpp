// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

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
        return a;
    };
    m_receiveActions = {
        add("dialcrest_ModemReceive", "IDS_HOST_RECEIVE", "Receive a message", [this] { receiveMessage(); }),
        add("dialcrest_ModemReceiveCustom", "IDS_HOST_RECEIVE_CUSTOM", "Receive a message from…",
            [this] { receiveCustomMessage(); }),
        add("dialcrest_ModemFlash", "IDS_HOST_RECEIVE_FLASH", "Receive a flash message",
            [this] { receiveFlashMessage(); }),
        add("dialcrest_ModemReport", "IDS_HOST_RECEIVE_REPORT", "Receive a delivery report",
            [this] { receiveStatusReport(true); }),
        add("dialcrest_ModemBroadcast", "IDS_HOST_RECEIVE_CB", "Receive a cell broadcast",
            [this] { receiveCellBroadcast(); })};
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
        m_fillActions.insert(s.memory, a);
    }
    add("dialcrest_ModemRestore", "IDS_HOST_RESTORE", "Restore storage capacities", [this] { restoreCapacities(); });
    connect(m_device, &DeviceManager::stateChanged, this, &ModemMenu::syncToggles);
    // Every command here acts on the simulated modem; a real one is not at our command.
    m_menu->menuAction()->setVisible(SdkBackend_Current() == SDK_BACKEND_SIMULATOR);
    syncToggles();
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
                                                  // An unplugged modem shows no card.
                                                  {m_sim, m_device->devicePlugged() && m_device->simInserted()},
                                                  {m_flight, m_device->flightMode()},
                                                  {m_canSend, m_device->canSend()}};
    for (const auto &[action, state] : toggles) {
        const QSignalBlocker block(action);
        action->setChecked(state);
    }
    // Without the modem there is no card to see and no radio to switch: those toggles show
    // the state they will have when it comes back, but cannot be changed meanwhile.
    const bool plugged = m_device->devicePlugged();
    for (QAction *action : {m_sim, m_flight, m_canSend})
        action->setEnabled(plugged);
    const bool canArrive = arrivalBlocker() == UTPS_OK;
    for (QAction *action : std::as_const(m_receiveActions))
        action->setEnabled(canArrive);
    m_fillActions.value(UTPS_SMS_MEM_SIM)->setEnabled(plugged && m_device->simInserted());
    m_fillActions.value(UTPS_SMS_MEM_DEVICE)->setEnabled(plugged);
}

long ModemMenu::arrivalBlocker() const
{
    if (!m_device->devicePlugged())
        return UTPS_E_NO_DEVICE;
    if (!m_device->simInserted())
        return UTPS_E_NO_SIM;
    if (m_device->flightMode())
        return UTPS_E_NO_NETWORK;
    return UTPS_OK;
}

QString ModemMenu::reason(long rc)
{
    switch (rc) {
    case UTPS_E_STORAGE_FULL:
        return HostText::text("IDS_HOST_WHY_FULL", "the storage is full");
    case UTPS_E_NO_DEVICE:
        return HostText::text("IDS_HOST_WHY_NODEVICE", "the modem is unplugged");
    case UTPS_E_NO_SIM:
        return HostText::text("IDS_HOST_WHY_NOSIM", "no SIM card is inserted");
    case UTPS_E_NO_NETWORK:
        return HostText::text("IDS_HOST_WHY_FLIGHT", "flight mode is on");
    case UTPS_E_NOT_READY:
        return HostText::text("IDS_HOST_WHY_NOTREADY", "the storage is still starting up");
    default:
        return HostText::text("IDS_HOST_WHY_OTHER", "the modem refused (error %1)").arg(rc);
    }
}

void ModemMenu::report(const QString &done, const QString &notDone, long rc)
{
    if (rc != UTPS_OK)
        qCWarning(lcHostModem) << done << "failed with" << rc;
    if (!m_frame)
        return;
    m_frame->showTransientMessage(
        rc == UTPS_OK ? done
                      : HostText::text("IDS_HOST_NOT_DONE", "%1: %2").arg(notDone, reason(rc)));
}

long ModemMenu::inject(int storage, const QString &sender, const QString &text, int msgClass)
{
    long rc = arrivalBlocker();
    if (rc == UTPS_OK)
        rc = SimCtl_InjectMessage(storage, sender.toUtf8().constData(), text.toUtf8().constData(),
                                  nullptr, msgClass, nullptr);
    report(msgClass == UTPS_MSGCLASS_FLASH
               ? HostText::text("IDS_HOST_RECEIVED_FLASH", "Flash message received")
               : HostText::text("IDS_HOST_RECEIVED", "Message received"),
           HostText::text("IDS_HOST_NOT_RECEIVED", "No message received"), rc);
    return rc;
}

long ModemMenu::receiveMessage(int storage)
{
    const Sample &s = kSamples[m_sampleIndex++ % std::size(kSamples)];
    return inject(storage < 0 ? SIMCTL_RECEIVE_STORAGE : storage, QString::fromUtf8(s.sender),
                  QString::fromUtf8(s.text), UTPS_MSGCLASS_DEFAULT);
}

long ModemMenu::receiveFlashMessage()
{
    return inject(SIMCTL_RECEIVE_STORAGE, QStringLiteral("+15550100999"),
                  QStringLiteral("Network notice: your data bundle expires tonight at midnight."),
                  UTPS_MSGCLASS_FLASH);
}

long ModemMenu::receiveStatusReport(bool delivered)
{
    long rc = arrivalBlocker();
    if (rc == UTPS_OK)
        rc = SimCtl_InjectStatusReport("+447700900123", delivered ? 0 : 1, nullptr, nullptr);
    report(HostText::text("IDS_HOST_RECEIVED_REPORT", "Delivery report received"),
           HostText::text("IDS_HOST_NOT_RECEIVED", "No message received"), rc);
    return rc;
}

long ModemMenu::receiveCellBroadcast()
{
    long rc = arrivalBlocker();
    if (rc == UTPS_OK)
        rc = SimCtl_InjectCellBroadcast("50", "Area info: roadworks on the ring road until Friday.",
                                        nullptr);
    report(HostText::text("IDS_HOST_RECEIVED_CB", "Cell broadcast received"),
           HostText::text("IDS_HOST_NOT_RECEIVED", "No message received"), rc);
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
    report(HostText::text("IDS_HOST_FILLED", "Storage filled"),
           HostText::text("IDS_HOST_NOT_FILLED", "Storage not filled"), rc);
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
    report(HostText::text("IDS_HOST_RESTORED", "Storage capacities restored"),
           HostText::text("IDS_HOST_NOT_RESTORED", "Storage capacities not restored"), rc);
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
    // Announced by its label, not by the entry it shows.
    storage->setAccessibleName(HostText::text("IDS_HOST_STORAGE", "Storage"));
    storage->addItem(HostText::text("IDS_HOST_STORAGE_DEFAULT", "Receive storage"), SIMCTL_RECEIVE_STORAGE);
    storage->addItem(HostText::text("IDS_HOST_FILL_PC", "This computer"), UTPS_SMS_MEM_PC);
    storage->addItem(HostText::text("IDS_HOST_FILL_SIM", "SIM card"), UTPS_SMS_MEM_SIM);
    storage->addItem(HostText::text("IDS_HOST_FILL_DEVICE", "Modem memory"), UTPS_SMS_MEM_DEVICE);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(HostText::text("IDS_HOST_SENDER", "From"), sender);
    form->addRow(HostText::text("IDS_HOST_TEXT", "Text"), text);
    form->addRow(HostText::text("IDS_HOST_STORAGE", "Storage"), storage);
    auto *hint = new QLabel(&dialog);
    hint->setObjectName(QStringLiteral("dialcrest_ReceiveHint"));
    form->addRow(hint);
    form->addRow(buttons);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("dialcrest_ReceiveOk"));
    // A message always has a sender and some text; OK waits for both.
    const auto validate = [=] {
        const QString problem = receiveProblem(sender->text(), text->toPlainText());
        hint->setText(problem);
        hint->setVisible(!problem.isEmpty());
        ok->setEnabled(problem.isEmpty());
    };
    connect(sender, &QLineEdit::textChanged, &dialog, validate);
    connect(text, &QPlainTextEdit::textChanged, &dialog, validate);
    validate();
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    text->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return;
    inject(storage->currentData().toInt(), sender->text().trimmed(), text->toPlainText(),
           UTPS_MSGCLASS_DEFAULT);
}

QString ModemMenu::receiveProblem(const QString &sender, const QString &text)
{
    // A sender is a phone number (digits, an optional leading +) or a short name of up to
    // eleven letters and digits, as networks allow for senders such as banks.
    static const QRegularExpression number(QStringLiteral("^\\+?[0-9]{1,20}$"));
    static const QRegularExpression name(QStringLiteral("^[\\p{L}\\p{N} ]{1,11}$"));
    const QString from = sender.trimmed();
    if (from.isEmpty())
        return HostText::text("IDS_HOST_NEED_SENDER", "Enter who the message is from.");
    if (!number.match(from).hasMatch() && !name.match(from).hasMatch())
        return HostText::text("IDS_HOST_BAD_SENDER",
                              "The sender is a phone number or a name of up to 11 letters.");
    if (text.trimmed().isEmpty())
        return HostText::text("IDS_HOST_NEED_TEXT", "Enter the text of the message.");
    return QString();
}
