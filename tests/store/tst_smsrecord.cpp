// SPDX-License-Identifier: GPL-3.0-or-later
// The message record: folder table, conversions to and from the SDK's record, display
// time and priority keys. No storage involved.
#include <QDateTime>
#include <QLocale>
#include <QtTest>

#include "store/SmsRecord.h"

namespace {

// An SDK record whose strings live in the test.
struct SdkRecord
{
    QString number = QStringLiteral("+4912;+4934");
    // Begins with U+FFFE, which a byte-order-mark reading would take for swapped bytes.
    QString content = QChar(0xFFFE) + QStringLiteral("Grüße 😀");
    _UTPS_ST_SMS_RECORD rec{};

    SdkRecord()
    {
        rec = {7, 1, 6, 6, 1, 0, 3, 11, 12, 13, 2, {}, nullptr, nullptr};
        const QString time = QStringLiteral("20250314092653");
        for (int i = 0; i < time.size(); ++i)
            rec.szTime[i] = time.at(i).unicode();
        rec.pszNumber = const_cast<UTPS_WCHAR *>(number.utf16());
        rec.pszContent = const_cast<UTPS_WCHAR *>(content.utf16());
    }
};

QString timeText(const _UTPS_ST_SMS_RECORD &rec)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(rec.szTime));
}

} // namespace

class TestSmsRecord : public QObject
{
    Q_OBJECT

private slots:
    void parentAndMemory_data();
    void parentAndMemory();
    void roundTripKeepsEveryField();
    void sentItemsMapping_data();
    void sentItemsMapping();
    void timeArrayStaysTerminated_data();
    void timeArrayStaysTerminated();
    void displayTime();
    void priorityKeys_data();
    void priorityKeys();
};

void TestSmsRecord::parentAndMemory_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("parent");
    QTest::addColumn<int>("memory");
    const int pcFolders[] = {0, 1, 2, 3, 4, 5, 10, 15};
    for (int p : pcFolders)
        QTest::addRow("pc %d", p) << p << 13 << 0;
    QTest::newRow("sim outbox") << 6 << 12 << 1;
    QTest::newRow("sim inbox") << 7 << 12 << 1;
    QTest::newRow("device outbox") << 8 << 14 << 2;
    QTest::newRow("device inbox") << 9 << 14 << 2;
    QTest::newRow("no folder") << 11 << 16 << 16;
    QTest::newRow("sim root") << 12 << 12 << 1;
    QTest::newRow("pc root") << 13 << 13 << 0;
    QTest::newRow("device root") << 14 << 14 << 2;
    QTest::newRow("16") << 16 << 16 << 16;
    QTest::newRow("17") << 17 << 16 << 16;
    QTest::newRow("negative") << -1 << 16 << 16;
}

void TestSmsRecord::parentAndMemory()
{
    QFETCH(int, position);
    QFETCH(int, parent);
    QFETCH(int, memory);
    QCOMPARE(GetParentPos(position), parent);
    QCOMPARE(GetMemPosition(position), memory);
}

void TestSmsRecord::roundTripKeepsEveryField()
{
    SdkRecord in;
    SmsRecord local;
    QCOMPARE(SmsRecordFromSdk(&in.rec, &local, true), 0);
    QCOMPARE((QList<int>{local.iMsgId, local.iReadStatus, local.enInitialPos, local.enPos,
                         local.iStatus, local.iMsgClass, local.iExtra3, local.iMessagePriority}),
             (QList<int>{7, 1, 6, 6, 1, 3, 13, 2}));
    QCOMPARE(local.strNumber, in.number);
    QCOMPARE(local.strContent, in.content);
    QCOMPARE(local.strTime, QStringLiteral("20250314092653"));

    _UTPS_ST_SMS_RECORD out;
    std::memset(&out, 0xAB, sizeof(out));
    QCOMPARE(SmsRecordToSdk(&out, local), 0);
    QCOMPARE(SmsRecordToSdk(nullptr, local), 23);
    in.rec.pszNumber = nullptr;
    QCOMPARE(SmsRecordFromSdk(&in.rec, &local, false), 23);
    QCOMPARE(std::memcmp(&out, &in.rec, offsetof(_UTPS_ST_SMS_RECORD, szTime)), 0);
    QCOMPARE(timeText(out), local.strTime);
    QCOMPARE(SmsTextFromSdk(out.pszNumber), in.number);
    QCOMPARE(SmsTextFromSdk(out.pszContent), in.content);
}

void TestSmsRecord::sentItemsMapping_data()
{
    QTest::addColumn<bool>("box");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("shownAt");
    QTest::newRow("sent outbox, box") << true << 0 << 0 << 15;
    QTest::newRow("sent outbox, no box") << false << 0 << 0 << 0;
    QTest::newRow("unsent outbox, box") << true << 0 << 1 << 0;
    QTest::newRow("sent SIM outbox, box") << true << 6 << 0 << 6;
    QTest::newRow("trash from outbox, box") << true << 4 << 0 << 4;
}

void TestSmsRecord::sentItemsMapping()
{
    QFETCH(bool, box);
    QFETCH(int, position);
    QFETCH(int, status);
    QFETCH(int, shownAt);
    SdkRecord in;
    in.rec.iPos = in.rec.iInitialPos = position;
    in.rec.iStatus = status;
    SmsRecord local;
    QCOMPARE(SmsRecordFromSdk(&in.rec, &local, box), 0);
    QCOMPARE(local.enPos, shownAt);
    QCOMPARE(local.enInitialPos, shownAt == 15 ? 15 : position);

    // Back to the SDK, sent items is the PC outbox again, for position and origin alike.
    _UTPS_ST_SMS_RECORD out{};
    QCOMPARE(SmsRecordToSdk(&out, local), 0);
    QCOMPARE(out.iPos, position);
    QCOMPARE(out.iInitialPos, position);

    local.enPos = EN_LOCAL_TRASH;
    local.enInitialPos = EN_LOCAL_SENTITEMS;
    QCOMPARE(SmsRecordToSdk(&out, local), 0);
    QCOMPARE(out.iPos, int(EN_LOCAL_TRASH));
    QCOMPARE(out.iInitialPos, int(EN_LOCAL_OUTBOX));
}

void TestSmsRecord::timeArrayStaysTerminated_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("written");
    QTest::newRow("normal") << "20260102030405" << "20260102030405";
    QTest::newRow("19 units") << "2026010203040512345" << "2026010203040512345";
    QTest::newRow("20 units") << "20260102030405123456" << "2026010203040512345";
    QTest::newRow("far too long") << QString(64, QLatin1Char('9')) << QString(19, QLatin1Char('9'));
    QTest::newRow("empty") << "" << "";
}

void TestSmsRecord::timeArrayStaysTerminated()
{
    QFETCH(QString, time);
    QFETCH(QString, written);
    SmsRecord local;
    local.strTime = time;
    _UTPS_ST_SMS_RECORD out;
    std::memset(&out, 0x41, sizeof(out)); // garbage that must not survive
    QCOMPARE(SmsRecordToSdk(&out, local), 0);
    QCOMPARE(out.szTime[UTPS_TIME_LEN - 1], UTPS_WCHAR(0));
    QCOMPARE(timeText(out), written);
    // Everything after the text is cleared, not just the terminator.
    for (qsizetype i = written.size(); i < UTPS_TIME_LEN; ++i)
        QCOMPARE(out.szTime[i], UTPS_WCHAR(0));
}

void TestSmsRecord::displayTime()
{
    const QLocale locale;  // the default: the interface language's
    const QDateTime when(QDate(2025, 3, 14), QTime(9, 26, 53));
    QCOMPARE(SmsDisplayTime(QStringLiteral("20250314092653")),
             locale.toString(when, QLocale::ShortFormat));
    QVERIFY(SmsDisplayTime(QStringLiteral("2025031409265")).isEmpty());
    QVERIFY(SmsDisplayTime(QString()).isEmpty());
    QVERIFY(SmsDisplayTime(QStringLiteral("2025-03-14 9:26")).isEmpty());
    QVERIFY(SmsDisplayTime(QStringLiteral("20251340250000")).isEmpty());  // month 13
    QVERIFY(SmsDisplayTime(QStringLiteral("2025031409265x")).isEmpty());

    // The same text as the locale's own short format, in several languages, for messages
    // of the same day and of other days in turn, also right after the language changed.
    const QLocale interfaceLanguage = QLocale();
    const QString times[] = {QStringLiteral("20250314092653"), QStringLiteral("20250314235959"),
                             QStringLiteral("19991231000000"), QStringLiteral("20260101134501"),
                             QStringLiteral("20250314120000")};
    for (const char *name : {"C", "en_US", "en_GB", "de_DE", "fr_FR", "ar_EG", "ja_JP", "ko_KR", "zh_CN", "fa_IR", "hi_IN"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        const QLocale language;
        for (const QString &text : times) {
            const QDateTime stamp(QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd")),
                                  QTime::fromString(text.mid(8), QStringLiteral("hhmmss")));
            QCOMPARE(SmsDisplayTime(text), language.toString(stamp, QLocale::ShortFormat));
        }
    }
    QLocale::setDefault(interfaceLanguage);
    QCOMPARE(SmsDisplayTime(QStringLiteral("20250314092653")),
             locale.toString(when, QLocale::ShortFormat));

    // Fourteen zeros stand for "now"; the minute may turn while we look.
    const QString before = locale.toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const QString shown = SmsDisplayTime(QStringLiteral("00000000000000"));
    const QString after = locale.toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    QVERIFY2(shown == before || shown == after, qPrintable(shown));
}

void TestSmsRecord::priorityKeys_data()
{
    QTest::addColumn<int>("priority");
    QTest::addColumn<bool>("multiMode");
    QTest::addColumn<bool>("hide");
    QTest::addColumn<QString>("key");
    QTest::newRow("urgent") << 2 << false << false << "IDS_RAD_URGENT";
    QTest::newRow("emergency") << 3 << true << false << "IDS_RAD_EMERGENCY";
    QTest::newRow("none") << 4 << false << false << "";
    QTest::newRow("normal") << 0 << false << true << "IDS_RAD_NORMAL";
    QTest::newRow("unknown") << 9 << false << false << "IDS_RAD_NORMAL";
    QTest::newRow("hidden dual mode") << 2 << true << true << "";
}

void TestSmsRecord::priorityKeys()
{
    QFETCH(int, priority);
    QFETCH(bool, multiMode);
    QFETCH(bool, hide);
    QFETCH(QString, key);
    QCOMPARE(SmsPriorityKey(priority, multiMode, hide), key);
}

QTEST_GUILESS_MAIN(TestSmsRecord)
#include "tst_smsrecord.moc"
