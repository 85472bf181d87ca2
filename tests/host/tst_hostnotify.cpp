// SPDX-License-Identifier: GPL-3.0-or-later
// The notify service: subscriptions, events for one plug-in, broadcasts, host dispatch.
#include "HostInterfaces.h"
#include "NotifyService.h"
#include "Startup.h"

#include <QTest>
#include <memory>

namespace {

// A plug-in as the notify service sees it: something in the container that has INotify.
class Recorder : public QObject, public INotify
{
    Q_OBJECT
    Q_INTERFACES(INotify)
public:
    struct Event
    {
        unsigned int code, p1, p2;
        bool operator==(const Event &o) const { return code == o.code && p1 == o.p1 && p2 == o.p2; }
    };
    int Notify(unsigned int event, unsigned int p1, unsigned int p2) override
    {
        events.append({event, p1, p2});
        if (onEvent)
            onEvent(event);
        return 0;
    }
    QList<Event> events;
    std::function<void(unsigned int)> onEvent;
};

const QString kA = QStringLiteral("AAAAAAAA-0000-0000-0000-00000000000a");
const QString kB = QStringLiteral("BBBBBBBB-0000-0000-0000-00000000000b");

} // namespace

class NotifyServiceTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sendToReachesOnlyTheTarget();
    void broadcastReachesSubscribersOnly();
    void subscriptionsIgnoreCaseAndRepeats();
    void unsubscribe();
    void missingOrDeletedReceiversAreSkipped();
    void dispatchReachesPrimaryAndSubscribersOnce();
    void receiverMayUnsubscribeWhileHandling();

private:
    std::unique_ptr<PluginContainer> m_container;
    std::unique_ptr<NotifyService> m_service;
    std::unique_ptr<Recorder> m_a, m_b;
};

void NotifyServiceTest::init()
{
    m_container = std::make_unique<PluginContainer>();
    m_service = std::make_unique<NotifyService>(m_container.get());
    m_a = std::make_unique<Recorder>();
    m_b = std::make_unique<Recorder>();
    m_container->RegisterPlugin(kA, QStringLiteral("A"), m_a.get());
    m_container->RegisterPlugin(kB, QStringLiteral("B"), m_b.get());
}

void NotifyServiceTest::cleanup()
{
    m_service.reset();
    m_a.reset();
    m_b.reset();
    m_container.reset();
}

void NotifyServiceTest::sendToReachesOnlyTheTarget()
{
    // Targeted events do not need a subscription.
    QCOMPARE(m_service->SendTo(kA, 354, 7, 9), 1);
    QCOMPARE(m_a->events, (QList<Recorder::Event>{{354, 7, 9}}));
    QVERIFY(m_b->events.isEmpty());
}

void NotifyServiceTest::broadcastReachesSubscribersOnly()
{
    m_service->Subscribe(kA, 352);
    m_service->Subscribe(kB, 353);
    QCOMPARE(m_service->Broadcast(352, 1, 2), 1);
    QCOMPARE(m_a->events, (QList<Recorder::Event>{{352, 1, 2}}));
    QVERIFY(m_b->events.isEmpty());
    QCOMPARE(m_service->Broadcast(999, 0, 0), 0);
}

void NotifyServiceTest::subscriptionsIgnoreCaseAndRepeats()
{
    QCOMPARE(m_service->Subscribe(kA.toLower(), 288), 1);
    QCOMPARE(m_service->Subscribe(kA, 288), 1);
    QVERIFY(m_service->IsSubscribed(kA, 288));
    QVERIFY(!m_service->IsSubscribed(kA, 289));
    QCOMPARE(m_service->Broadcast(288, 0, 0), 1);
    QCOMPARE(m_a->events.size(), 1);  // once, not once per Subscribe call
    QCOMPARE(m_service->Subscribe(QString(), 288), 0);
}

void NotifyServiceTest::unsubscribe()
{
    m_service->Subscribe(kA, 289);
    m_service->Subscribe(kA, 290);
    QCOMPARE(m_service->Unsubscribe(kA, 289), 1);
    QCOMPARE(m_service->Unsubscribe(kA, 289), 0);
    m_service->Broadcast(289, 0, 0);
    QVERIFY(m_a->events.isEmpty());
    m_service->UnsubscribeAll(kA);
    QCOMPARE(m_service->Broadcast(290, 0, 0), 0);
}

void NotifyServiceTest::missingOrDeletedReceiversAreSkipped()
{
    QCOMPARE(m_service->SendTo(QStringLiteral("not-registered"), 1, 0, 0), 0);
    m_service->Subscribe(kA, 352);
    m_service->Subscribe(kB, 352);
    m_b.reset();  // the plug-in went away without unsubscribing
    QCOMPARE(m_service->Broadcast(352, 0, 0), 1);
    QCOMPARE(m_a->events.size(), 1);
    m_container->SetPluginAvailable(kA, false);
    QCOMPARE(m_service->SendTo(kA, 352, 0, 0), 0);
}

void NotifyServiceTest::dispatchReachesPrimaryAndSubscribersOnce()
{
    m_service->Subscribe(kA, 578);
    m_service->Subscribe(kB, 578);
    QCOMPARE(m_service->Dispatch(kA.toLower(), 578), 2);
    QCOMPARE(m_a->events.size(), 1);
    QCOMPARE(m_b->events.size(), 1);
    QCOMPARE(m_service->Dispatch(kB, 579), 1);  // unsubscribed primary still gets it
    QCOMPARE(m_b->events.size(), 2);
}

void NotifyServiceTest::receiverMayUnsubscribeWhileHandling()
{
    m_service->Subscribe(kA, 320);
    m_service->Subscribe(kB, 320);
    m_a->onEvent = [this](unsigned int event) {
        m_service->Unsubscribe(kA, event);
        m_service->Unsubscribe(kB, event);
    };
    m_b->onEvent = m_a->onEvent;
    QCOMPARE(m_service->Broadcast(320, 0, 0), 2);
    QCOMPARE(m_service->Broadcast(320, 0, 0), 0);
}

QTEST_GUILESS_MAIN(NotifyServiceTest)
#include "tst_hostnotify.moc"
