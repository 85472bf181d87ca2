// SPDX-License-Identifier: GPL-3.0-or-later
// Segment counts by the GSM 03.38 rules, on a table of texts around every boundary.
#include "SdkTestSupport.h"
#include "TestEnv.h"

#include <QTest>

class SdkSegmentsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { resetSdk(); }
    void cleanupTestCase() { SimCtl_Reset(); }
    void splitCount_data();
    void splitCount();

private:
    TestDataHome m_home;
};

void SdkSegmentsTest::splitCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("segments");
    const QString emoji = QStringLiteral("\U0001F600"); // two UTF-16 units
    const QString euro = QStringLiteral("\u20AC");       // extension table: two septets
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("short") << QStringLiteral("Hello") << 1;
    QTest::newRow("gsm 160") << QString(160, QLatin1Char('a')) << 1;
    QTest::newRow("gsm 161") << QString(161, QLatin1Char('a')) << 2;
    QTest::newRow("gsm 306 = 153x2") << QString(306, QLatin1Char('a')) << 2;
    QTest::newRow("gsm 307 = 153x2+1") << QString(307, QLatin1Char('a')) << 3;
    QTest::newRow("gsm accents and greek") << QStringLiteral("èéùìòÇØøÅåΔΦΓΛΩΠΨΣΘΞÆæßÉÄÖÑÜ§¿äöñüà¡£¥¤") << 1;
    QTest::newRow("80 euro signs = 160 septets") << QString(80, euro.at(0)) << 1;
    QTest::newRow("81 euro signs = 162 septets") << QString(81, euro.at(0)) << 2;
    QTest::newRow("extension chars") << QStringLiteral("{}[]~|^\\") << 1;
    // 152 septets + an escape pair that would straddle the boundary moves to part two.
    QTest::newRow("escape pair not split")
        << (QString(152, QLatin1Char('a')) + euro + QString(152, QLatin1Char('a'))) << 3;
    QTest::newRow("ucs2 70") << QString(70, QChar(0x4E2D)) << 1;
    QTest::newRow("ucs2 71") << QString(71, QChar(0x4E2D)) << 2;
    QTest::newRow("ucs2 134 = 67x2") << QString(134, QChar(0x4E2D)) << 2;
    QTest::newRow("ucs2 135 = 67x2+1") << QString(135, QChar(0x4E2D)) << 3;
    QTest::newRow("one non-gsm char forces ucs2") << (QString(69, QLatin1Char('a')) + QChar(0x0107)) << 1;
    QTest::newRow("ucs2 71 with one non-gsm") << (QString(70, QLatin1Char('a')) + QChar(0x0107)) << 2;
    QTest::newRow("35 emoji = 70 units") << emoji.repeated(35) << 1;
    QTest::newRow("36 emoji = 72 units") << emoji.repeated(36) << 2;
    // 66 units + an emoji: 68 would not fit in 67, the pair moves whole to part two.
    QTest::newRow("surrogate pair not split")
        << (QString(66, QChar(0x4E2D)) + emoji + QString(66, QChar(0x4E2D))) << 3;
    QTest::newRow("lone surrogate counts one") << (QString(70, QChar(0x4E2D)).replace(0, 1, QChar(0xD800))) << 1;
}

void SdkSegmentsTest::splitCount()
{
    QFETCH(QString, text);
    QFETCH(int, segments);
    int count = -1;
    QCOMPARE(UTPS_SMSSrv_GetMsgSplitCount(w(text), &count), UTPS_OK);
    QCOMPARE(count, segments);
}

QTEST_GUILESS_MAIN(SdkSegmentsTest)
#include "tst_sdk_segments.moc"
