// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Modem menu: drives the simulated modem the way a person would test the SMS page
// against a real one (traffic arriving, the card or the modem going away, the radio, full
// storages).
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;
class DeviceManager;
class MainFrame;

class ModemMenu : public QObject
{
    Q_OBJECT
public:
    ModemMenu(DeviceManager *device, MainFrame *frame, QObject *parent = nullptr);

    // The menu, owned by the frame's menu bar once added there.
    QMenu *menu() const { return m_menu; }

    // The commands, also callable without the menu. Each returns the SDK result (0 = done).
    long receiveMessage(int storage = -1);  // -1: the receive storage
    long receiveFlashMessage();
    long receiveStatusReport(bool delivered = true);
    long receiveCellBroadcast();
    long fillStorage(int memory);
    long restoreCapacities();

    // What keeps a message from arriving now (UTPS_E_NO_DEVICE, UTPS_E_NO_SIM,
    // UTPS_E_NO_NETWORK for flight mode), or UTPS_OK.
    long arrivalBlocker() const;
    // Why the "Receive a message from..." dialog cannot accept sender and text yet; empty
    // when it can.
    static QString receiveProblem(const QString &sender, const QString &text);
    // A result code in words, for the status bar.
    static QString reason(long rc);

private:
    static QAction *addAction(QMenu *menu, const char *objectName, const char *key, const char *english);
    void receiveCustomMessage();
    void syncToggles();
    long inject(int storage, const QString &sender, const QString &text, int msgClass);
    void report(const QString &done, const QString &notDone, long rc);

    DeviceManager *m_device;
    QPointer<MainFrame> m_frame;
    QMenu *m_menu;
    QAction *m_sim = nullptr;
    QAction *m_plugged = nullptr;
    QAction *m_flight = nullptr;
    QAction *m_canSend = nullptr;
    QList<QAction *> m_receiveActions;
    QHash<int, QAction *> m_fillActions;  // by memory
    int m_sampleIndex = 0;
};
