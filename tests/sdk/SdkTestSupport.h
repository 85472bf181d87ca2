// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the SDK suites: UTF-16 conversion, saving records, and a recorder that
// captures every event the SDK delivers (with the thread it arrived on).
#include "sdk_simulator.h"

#include <algorithm>

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QThread>

inline const UTPS_WCHAR *w(const QString &s)
{
    return reinterpret_cast<const UTPS_WCHAR *>(s.utf16());
}

inline QString q(const UTPS_WCHAR *s)
{
    // Unit for unit: QString::fromUtf16 would take a leading U+FEFF as a byte-order mark.
    return s ? QStringView(reinterpret_cast<const char16_t *>(s)).toString() : QString();
}

// A stack record the caller owns; strings live in the QStrings.
struct LocalRecord
{
    QString number;
    QString content;
    _UTPS_ST_SMS_RECORD rec{};

    LocalRecord(int pos, const QString &num, const QString &text, int initial = -1)
        : number(num), content(text)
    {
        rec.iMsgId = -1;
        rec.iPos = pos;
        rec.iInitialPos = initial < 0 ? pos : initial;
        rec.iMsgClass = UTPS_MSGCLASS_DEFAULT;
        rec.iReadStatus = 1;
        rec.pszNumber = const_cast<UTPS_WCHAR *>(w(number));
        rec.pszContent = const_cast<UTPS_WCHAR *>(w(content));
        const QString time = QStringLiteral("20260102030405");
        for (int i = 0; i < time.size(); ++i)
            rec.szTime[i] = time.at(i).unicode();
    }
};

inline int saveAt(int pos, const QString &number = QStringLiteral("+15550101"),
                  const QString &content = QStringLiteral("hello"), long *rcOut = nullptr)
{
    LocalRecord r(pos, number, content);
    int id = -1;
    const long rc = UTPS_SMSSrv_SaveMsg(&r.rec, &id, nullptr);
    if (rcOut)
        *rcOut = rc;
    return rc == UTPS_OK ? id : -1;
}

struct Fetched
{
    long rc = -1;
    _UTPS_ST_SMS_RECORD rec{};
    QString number;
    QString content;
    QString time;
};

inline Fetched fetch(int id, int memory)
{
    Fetched f;
    _UTPS_ST_SMS_RECORD *r = nullptr;
    if (UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr) != UTPS_OK)
        return f;
    r->iMsgId = id;
    f.rc = UTPS_SMSSrv_GetMsg(r, static_cast<_UTPS_EN_SMS_MEM>(memory));
    f.rec = *r;
    f.number = q(r->pszNumber);
    f.content = q(r->pszContent);
    f.time = q(r->szTime);
    f.rec.pszNumber = f.rec.pszContent = nullptr;
    UTPS_SMSSrv_ReleaseSMSRecord(&r);
    return f;
}

inline int countOf(int memory)
{
    int n = -1;
    return UTPS_SMSSrv_SMSRecordSetGetRecordCount(&n, static_cast<_UTPS_EN_SMS_MEM>(memory)) == UTPS_OK ? n : -1;
}

struct Captured
{
    int channel = 0; // 0 SMS, 1 phone book, 2 device
    int event = -1;
    int id = -1;
    int pos = -1;
    int initialPos = -1;
    int status = -1;
    int msgType = -1;
    int msgClass = -1;
    int extra1 = 0, extra2 = 0, extra3 = 0;
    int code = -1;   // event 2: status code
    int memory = -1; // event 2: memory
    QString number;
    QString content;
    QThread *thread = nullptr;
};

// Process-wide: C callbacks cannot carry a context pointer.
class EventRecorder
{
public:
    static EventRecorder &instance()
    {
        static EventRecorder r;
        return r;
    }
    // Element-wise copies: the list's buffer is never shared with the event thread.
    QList<Captured> events(int channel = -1, int event = -1)
    {
        QMutexLocker lock(&m_mutex);
        QList<Captured> out;
        for (const Captured &c : std::as_const(m_events))
            if (channel < 0 || (c.channel == channel && c.event == event))
                out.append(c);
        return out;
    }
    int size()
    {
        QMutexLocker lock(&m_mutex);
        return int(m_events.size());
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_events.clear();
    }
    void add(int channel, int event, void *data)
    {
        Captured c;
        c.channel = channel;
        c.event = event;
        c.thread = QThread::currentThread();
        if (channel == 0 && event == EVENT_SMS_ONSTATUSCHANGED && data) {
            c.code = static_cast<int *>(data)[0];
            c.memory = static_cast<int *>(data)[1];
        } else if (channel == 0 && data) {
            auto *r = static_cast<_UTPS_ST_SMS_RECORD *>(data);
            c.id = r->iMsgId;
            c.pos = r->iPos;
            c.initialPos = r->iInitialPos;
            c.status = r->iStatus;
            c.msgType = r->iMsgType;
            c.msgClass = r->iMsgClass;
            c.extra1 = r->iExtra1;
            c.extra2 = r->iExtra2;
            c.extra3 = r->iExtra3;
            c.number = q(r->pszNumber);
            c.content = q(r->pszContent);
        }
        QMutexLocker lock(&m_mutex);
        m_events.append(c);
    }

    static int smsCallback(int event, void *data)
    {
        instance().add(0, event, data);
        return 1;
    }
    static int pbCallback(int event, void *data)
    {
        instance().add(1, event, data);
        return 1;
    }
    static int devCallback(int event, void *data)
    {
        instance().add(2, event, data);
        return 1;
    }

    static void registerAll()
    {
        UTPS_SMSSrv_RegCallBack(smsCallback);
        UTPS_PBSrv_RegisterPBCallback(pbCallback);
        UTPS_DevSrv_RegisterDevInitEventCallback(devCallback);
    }

private:
    QMutex m_mutex;
    QList<Captured> m_events;
};

inline int eventCount(int event)
{
    return int(EventRecorder::instance().events(0, event).size());
}

// Whether a status event (event 2) with this code has been recorded.
inline bool hasStatus(int code)
{
    const auto events = EventRecorder::instance().events(0, EVENT_SMS_ONSTATUSCHANGED);
    return std::any_of(events.begin(), events.end(), [code](const Captured &c) { return c.code == code; });
}

// The memory's ids in ascending order; empty when the memory cannot be read.
inline QList<int> idsOf(int memory)
{
    int *ids = nullptr;
    int count = 0;
    QList<int> out;
    if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, static_cast<_UTPS_EN_SMS_MEM>(memory)) == UTPS_OK)
        out = QList<int>(ids, ids + count);
    UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    std::sort(out.begin(), out.end());
    return out;
}

struct PinStatus
{
    int state = -1;
    int pin = -1;
    int puk = -1;
};

inline PinStatus pinStatus()
{
    PinStatus p;
    unsigned char pin = 0, puk = 0;
    if (UTPS_DevSrv_GetPinStatus(0, &p.state, &pin, &puk, nullptr) == UTPS_OK) {
        p.pin = pin;
        p.puk = puk;
    }
    return p;
}

// Every test case starts from an empty store with the defaults and no demo data.
inline void resetSdk()
{
    SimCtl_SetDemoSeed(0);
    SimCtl_Reset();
    EventRecorder::instance().clear();
}
