// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh data folder, simulator and plug-in folder for each window test, with a
// configuration file written per test and the shipped images beside it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "CommonUtils.h"
#include "window/SMSUIMainDlg.h"
#include "settings/SmsSettingUILogic.h"
#include "TestEnv.h"
#include "sdk_simulator.h"
#include "utps_sdk.h"

// (memory, position) of every stored message whose text is content, sorted: where a
// message really is, whatever the window shows.
inline QList<QPair<int, int>> storedPlaces(const QString &content)
{
    QList<QPair<int, int>> places;
    for (int memory : {UTPS_SMS_MEM_PC, UTPS_SMS_MEM_SIM, UTPS_SMS_MEM_DEVICE}) {
        int *ids = nullptr;
        int count = 0;
        if (UTPS_SMSSrv_GetSmsIdList(&ids, &count, _UTPS_EN_SMS_MEM(memory)) != 0)
            continue;
        for (int i = 0; i < count; ++i) {
            _UTPS_ST_SMS_RECORD *r = nullptr;
            UTPS_SMSSrv_CreateSMSRecord(&r, nullptr, nullptr);
            r->iMsgId = ids[i];
            if (UTPS_SMSSrv_GetMsg(r, _UTPS_EN_SMS_MEM(memory)) == 0 && r->pszContent
                && QString::fromUtf16(reinterpret_cast<const char16_t *>(r->pszContent)) == content)
                places.append({memory, r->iPos});
            UTPS_SMSSrv_ReleaseSMSRecord(&r);
        }
        UTPS_SMSSrv_ReleaseSmsIdList(&ids);
    }
    std::sort(places.begin(), places.end());
    return places;
}

struct WindowConfig
{
    bool showCount = true;
    bool sentItems = true;
};

class WindowFixture
{
public:
    WindowFixture() = default;
    ~WindowFixture() { tearDown(); }

    void setUp(const WindowConfig &config = {}, bool demo = false)
    {
        tearDown();
        m_home = std::make_unique<TestDataHome>();
        m_pluginRoot = std::make_unique<QTemporaryDir>();
        const QString folder = m_pluginRoot->path() + QStringLiteral("/plugins/SMSUIPlugin/");
        QDir().mkpath(folder);
        const QDir shipped(QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin"));
        const QStringList files = shipped.entryList({QStringLiteral("*.png")}, QDir::Files);
        for (const QString &f : files)
            QFile::copy(shipped.filePath(f), folder + f);
        QFile xml(shipped.filePath(QStringLiteral("SMSUIPluginConfig.xml")));
        QVERIFY(xml.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(xml.readAll());
        text.replace(QStringLiteral("<ShowSMCount>true</ShowSMCount>"),
                     QStringLiteral("<ShowSMCount>%1</ShowSMCount>")
                         .arg(config.showCount ? "true" : "false"));
        text.replace(QStringLiteral("<SentItemsBox>true</SentItemsBox>"),
                     QStringLiteral("<SentItemsBox>%1</SentItemsBox>")
                         .arg(config.sentItems ? "true" : "false"));
        QFile out(folder + QStringLiteral("SMSUIPluginConfig.xml"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        out.close();
        qputenv("DIALCREST_PLUGIN_ROOT", m_pluginRoot->path().toUtf8());
        SimCtl_SetDemoSeed(demo ? 1 : 0);
        QCOMPARE(SimCtl_Reset(), 0L);
    }

    void tearDown()
    {
        SMSUIMainDlg::Destroy();
        SMSSettingUILogic::Destroy();
        if (m_home) {
            SimCtl_Reset();
            m_home.reset();
        }
        m_pluginRoot.reset();
    }

    // Lays the window out; simPresent stands for the host having reported a SIM.
    static SMSUIMainDlg *createWindow(bool simPresent = false)
    {
        SMSUIMainDlg *w = SMSUIMainDlg::GetInstance();
        w->setSimStateFlag(simPresent);
        if (!w->CreateSMSMainLayout())
            return nullptr;
        w->resize(900, 600);
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return nullptr;
        return w;
    }

    // Stores a message straight in the SDK; returns its id. A negative initialPosition
    // means the folder it is saved in.
    static int save(int position, const QString &number, const QString &content,
                    const QString &time = QStringLiteral("20260101120000"), int unread = 0,
                    int status = 1, int priority = 4, int initialPosition = -1)
    {
        _UTPS_ST_SMS_RECORD *r = nullptr;
        if (UTPS_SMSSrv_CreateSMSRecord(&r, reinterpret_cast<const UTPS_WCHAR *>(number.utf16()),
                                        reinterpret_cast<const UTPS_WCHAR *>(content.utf16()))
            != 0)
            return -1;
        r->iPos = position;
        r->iInitialPos = initialPosition < 0 ? position : initialPosition;
        r->iReadStatus = unread;
        r->iStatus = status;
        r->iPriority = priority;
        std::fill(std::begin(r->szTime), std::end(r->szTime), UTPS_WCHAR(0));
        for (int i = 0; i < time.size() && i < UTPS_TIME_LEN - 1; ++i)
            r->szTime[i] = time.at(i).unicode();
        int id = -1;
        const long result = UTPS_SMSSrv_SaveMsg(r, &id, nullptr);
        UTPS_SMSSrv_ReleaseSMSRecord(&r);
        return result == 0 ? id : -1;
    }

private:
    std::unique_ptr<TestDataHome> m_home;
    std::unique_ptr<QTemporaryDir> m_pluginRoot;
};
