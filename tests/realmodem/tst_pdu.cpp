// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual modem's PDU codec and command interpreter, on their own (no daemon needed).
#include "AtModem.h"
#include "Pdu.h"

#include <QtTest>

using namespace realmodem;

Q_DECLARE_METATYPE(realmodem::Alphabet)

class TestPdu : public QObject
{
    Q_OBJECT

    static QByteArray run(AtModem &m, const QByteArray &line) { return m.input(line + '\r'); }

private slots:
    // Messages captured from networks: decoded field for field, and written back the same
    // (apart from the 16-bit concatenation reference, which we never write).
    void knownDeliver_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("smsc");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Alphabet>("alphabet");
        QTest::addColumn<QList<int>>("concat");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("7-bit with the extension table")
            << QByteArray("07912104442961F4040B916171957291F80000112082110505"
                          "0A6AC8B2BC7C9A83C220F6DB7D2ECB41EDF27C1E3E97411BDE06754FD3D1A0F9BB5D0695F1F4B29B5C"
                          "2683C6E8B03C3CA697E5F34D6AE303D1D1F2F7DD0D4ABB59A0797D8C0685E7A00028EC26832A960B28"
                          "EC2683BE6050780EBA97D96C17")
            << QStringLiteral("+12404492164") << QStringLiteral("+16175927198")
            << QStringLiteral("2011-02-28T11:50:50-05:00")
            << QStringLiteral("Here's a longer message [{with some extended characters}] thrown in, such as "
                              "\u00A3 and \u03A9\u03A0\u03A8 and \u00A7\u00BF as well.")
            << Alphabet::Gsm7 << QList<int>{0, 1, 1} << true;
        QTest::newRow("UCS-2 from an alphanumeric sender")
            << QByteArray("07919730071111F10414D04937BD2C7797E9D3E61400081130929102406108044204350441044"
                          "2")
            << QStringLiteral("+79037011111") << QStringLiteral("InternetSMS")
            << QStringLiteral("2011-03-29T19:20:04+04:00") << QStringLiteral("\u0442\u0435\u0441\u0442")
            << Alphabet::Ucs2 << QList<int>{0, 1, 1} << true;
        QTest::newRow("16-bit concatenation reference, fill bits")
            << QByteArray("07911356131313F64004850120390011609232239180A006080400100201D7327BFD6EB340E232"
                          "1BF46E83EA7790F59D1E97DBE1341B442F83C465763D3DA797E56537C81D0ECB41AB59CC1693C1"
                          "6031D96C064241E5656838AF03A96230982A269BCD462917C8FA4E8FCBED709A0D7ABBE9F6B0FB"
                          "5C7683D27350984D4FABC9A0B33C4C4FCF5D20EBFB2D079DCB62793DBD06D9C36E50FB2D4E97D9"
                          "A0B49B5E96BBCB")
            << QStringLiteral("+31653131316") << QStringLiteral("1002") << QStringLiteral("2011-06-29T23:32:19+02:00")
            << QStringLiteral("Welkom, bel om uw Voicemail te beluisteren naar +31612001233 (PrePay: *100*1233#). "
                              "Voicemail ontvangen is altijd gratis. Voor gebruik van mobiel interne")
            << Alphabet::Gsm7 << QList<int>{16, 2, 1} << false;
    }
    void knownDeliver()
    {
        QFETCH(QByteArray, hex);
        QFETCH(QString, smsc);
        QFETCH(QString, sender);
        QFETCH(QString, time);
        QFETCH(QString, text);
        QFETCH(Alphabet, alphabet);
        QFETCH(QList<int>, concat);
        QFETCH(bool, rewritten);
        QString error;
        const auto d = decode(hex, &error);
        QVERIFY2(d, qPrintable(error));
        QCOMPARE(d->type, Decoded::Deliver);
        QCOMPARE(d->deliver.smsc, smsc);
        QCOMPARE(d->deliver.sender, sender);
        QCOMPARE(d->deliver.time.toString(Qt::ISODate), time);
        QCOMPARE(d->deliver.text, text);
        QCOMPARE(d->deliver.alphabet, alphabet);
        QCOMPARE(d->deliver.concat, (Concat{concat.at(0), concat.at(1), concat.at(2)}));
        if (rewritten)
            QCOMPARE(encodeDeliver(d->deliver), hex);
    }

    // What we write, we read back: every field of every kind of message.
    void roundTrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("smsc");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("messageClass");
        QTest::addColumn<int>("validity");
        QTest::addColumn<QList<int>>("concat");
        const QString ext = QStringLiteral("\u20AC{}[]~|^\\\f end");
        const QString pairs = QStringLiteral("\U0001F600\u0645\U0001F44D");
        QTest::newRow("deliver, extension table") << 0 << "+15550000" << "+447700900123" << ext << -1 << -1 << QList<int>{0, 1, 1};
        QTest::newRow("deliver, flash, national") << 0 << "+15550000" << "5550123" << "now!" << 0 << -1 << QList<int>{0, 1, 1};
        QTest::newRow("deliver, part 2 of 3, 7-bit fill") << 0 << "+15550000" << "+15550101" << ext << -1 << -1
                                                         << QList<int>{200, 3, 2};
        QTest::newRow("deliver, UCS-2 pairs, part 1 of 2") << 0 << "+15550000" << "+15550101" << pairs << -1 << -1
                                                          << QList<int>{7, 2, 1};
        QTest::newRow("deliver, alphanumeric sender") << 0 << "" << "Bank 24" << "ok" << -1 << -1 << QList<int>{0, 1, 1};
        QTest::newRow("submit, SIM's centre, validity") << 1 << "" << "+15550102" << ext << -1 << 167 << QList<int>{0, 1, 1};
        QTest::newRow("submit, own centre, UCS-2 part") << 1 << "+447785016005" << "15550103" << pairs << 1 << -1
                                                       << QList<int>{9, 2, 2};
        QTest::newRow("status report") << 2 << "+15550000" << "+15550104" << "" << -1 << -1 << QList<int>{0, 1, 1};
    }
    void roundTrip()
    {
        QFETCH(int, kind);
        QFETCH(QString, smsc);
        QFETCH(QString, number);
        QFETCH(QString, text);
        QFETCH(int, messageClass);
        QFETCH(int, validity);
        QFETCH(QList<int>, concat);
        const Concat c{concat.at(0), concat.at(1), concat.at(2)};
        const QDateTime time(QDate(2026, 12, 7), QTime(2, 38, 15), QTimeZone(-3 * 3600 - 1800));
        QByteArray hex;
        if (kind == 0)
            hex = encodeDeliver({smsc, number, text, time, alphabetFor(text), messageClass, c});
        else if (kind == 1)
            hex = encodeSubmit({smsc, 42, number, text, alphabetFor(text), true, validity, messageClass, c});
        else
            hex = encodeStatusReport({smsc, 42, number, time, time.addSecs(90), 0x40});
        QString error;
        const auto d = decode(hex, &error);
        QVERIFY2(d, qPrintable(error));
        QCOMPARE(int(d->type), kind);
        if (kind == 0) {
            QCOMPARE(d->deliver.smsc, smsc);
            QCOMPARE(d->deliver.sender, number);
            QCOMPARE(d->deliver.text, text);
            QCOMPARE(d->deliver.time, time);
            QCOMPARE(d->deliver.time.offsetFromUtc(), time.offsetFromUtc());
            QCOMPARE(d->deliver.messageClass, messageClass);
            QCOMPARE(d->deliver.concat, c);
        } else if (kind == 1) {
            QCOMPARE(d->submit.smsc, smsc);
            QCOMPARE(d->submit.reference, 42);
            QCOMPARE(d->submit.recipient, number);
            QCOMPARE(d->submit.text, text);
            QCOMPARE(d->submit.validity, validity);
            QVERIFY(d->submit.statusReportRequested);
            QCOMPARE(d->submit.messageClass, messageClass);
            QCOMPARE(d->submit.concat, c);
            QCOMPARE(tpduLength(hex), hex.size() / 2 - (smsc.isEmpty() ? 1 : 1 + (smsc.size() + 2) / 2));
        } else {
            QCOMPARE(d->report.recipient, number);
            QCOMPARE(d->report.reference, 42);
            QCOMPARE(d->report.discharged, time.addSecs(90));
            QCOMPARE(d->report.status, 0x40);
        }
    }

    // Parts fill up to 153 septets or 67 units, never splitting what must stay whole.
    void splitText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("units");
        const QString a = QStringLiteral("a");
        const QString u = QStringLiteral("\u0639");
        QTest::newRow("160 septets, one part") << a.repeated(160) << QList<int>{160};
        QTest::newRow("161 septets") << a.repeated(161) << QList<int>{153, 8};
        QTest::newRow("extension character at the edge") << a.repeated(152) + QStringLiteral("\u20AC") + a.repeated(10)
                                                          << QList<int>{152, 12};
        QTest::newRow("70 UCS-2 units, one part") << u.repeated(70) << QList<int>{70};
        QTest::newRow("71 UCS-2 units") << u.repeated(71) << QList<int>{67, 4};
        QTest::newRow("surrogate pair at the edge") << u.repeated(66) + QStringLiteral("\U0001F600") + u.repeated(4)
                                                     << QList<int>{66, 6};
    }
    void splitText()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, units);
        const Alphabet alphabet = alphabetFor(text);
        const QStringList parts = realmodem::splitText(text, alphabet);
        QList<int> got;
        for (const QString &p : parts)
            got << unitsOf(p, alphabet);
        QCOMPARE(got, units);
        QCOMPARE(parts.join(QString()), text);
        // And each part fits one message's user data with its header.
        for (const Deliver &d : deliverParts({{}, QStringLiteral("+1"), text, {}, alphabet, -1, {}}, 1))
            QVERIFY(QByteArray::fromHex(encodeDeliver(d)).size() <= 1 + 12 + 9 + 1 + 140);
    }

    void decodeRejectsMalformed_data()
    {
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not hexadecimal") << QByteArray("07ZZ");
        QTest::newRow("odd length") << QByteArray("0001F");
        QTest::newRow("centre longer than the PDU") << QByteArray("0F91");
        QTest::newRow("reserved type") << QByteArray("0003");
        QTest::newRow("user data cut short") << QByteArray("0004" "0B916171957291F8" "0000" "11208211050500" "A0" "6AC8");
        QTest::newRow("header longer than the data") << QByteArray("0044" "0B916171957291F8" "0008" "11208211050500" "04" "FF00");
    }
    void decodeRejectsMalformed()
    {
        QFETCH(QByteArray, hex);
        QString error;
        QVERIFY(!decode(hex, &error));
        QVERIFY(!error.isEmpty());
    }

    // The SIM's lock as the host meets it: PIN, three wrong tries, then the PUK.
    void simLock()
    {
        AtModem m;
        m.lockSim();
        QVERIFY(run(m, "AT+CPIN?").contains("+CPIN: SIM PIN"));
        QVERIFY(run(m, "AT+CMGL=4").contains("+CME ERROR: 11"));
        QVERIFY(run(m, "AT+CSIM=10,\"0020000100\"").contains("\"63C3\""));
        QVERIFY(run(m, "AT+CPIN=\"0000\"").contains("+CME ERROR: 16"));
        QVERIFY(run(m, "AT+CSIM=10,\"0020000100\"").contains("\"63C2\""));
        run(m, "AT+CPIN=\"0000\"");
        run(m, "AT+CPIN=\"0000\"");
        QVERIFY(run(m, "AT+CPIN?").contains("+CPIN: SIM PUK"));
        QVERIFY(run(m, "AT+CPIN=\"1234\"").contains("ERROR"));
        QVERIFY(run(m, "AT+CPIN=\"12345678\",\"4321\"").endsWith("\r\nOK\r\n"));
        QVERIFY(run(m, "AT+CPIN?").contains("+CPIN: READY"));
    }

    // Messages through the storages: written after the prompt, listed, read, deleted,
    // refused when full or malformed.
    void storages()
    {
        AtModem m;
        const QByteArray pdu = encodeSubmit({{}, 0, QStringLiteral("+15550101"), QStringLiteral("draft"), Alphabet::Gsm7, false, -1, -1, {}});
        const QByteArray length = QByteArray::number(tpduLength(pdu));
        QVERIFY(run(m, "AT+CPMS=\"SM\",\"SM\",\"SM\"").contains("+CPMS: 0,20,0,20,0,20"));
        QCOMPARE(run(m, "AT+CMGW=" + length), QByteArray("\r\n> "));
        QVERIFY(m.input(pdu + "\x1a").contains("+CMGW: 0"));
        QVERIFY(run(m, "AT+CMGL=4").contains(QByteArray("+CMGL: 0,2,," + length + "\r\n" + pdu + "\r\n")));
        QVERIFY(run(m, "AT+CMGR=0").contains(pdu));
        QVERIFY(run(m, "AT+CPMS?").contains("\"SM\",1,20"));
        QVERIFY(run(m, "AT+CMGD=0").endsWith("OK\r\n"));
        QVERIFY(run(m, "AT+CMGR=0").contains("+CMS ERROR: 321"));

        run(m, "AT+CMGS=" + QByteArray::number(tpduLength(pdu) + 1));
        QVERIFY2(m.input(pdu + "\x1a").contains("+CMS ERROR: 304"), "length not the PDU's");
        QVERIFY(m.sent().isEmpty());
        run(m, "AT+CMGS=" + length);
        QVERIFY(m.input(pdu + "\x1a").contains("+CMGS: "));
        QCOMPARE(m.sent().size(), 1);

        m.setCapacity(QStringLiteral("SM"), 0);
        run(m, "AT+CMGW=" + length);
        QVERIFY(m.input(pdu + "\x1a").contains("+CMS ERROR: 322"));
        QString why;
        QVERIFY(m.receive({{}, QStringLiteral("+1"), QStringLiteral("x"), {}, Alphabet::Gsm7, -1, {}}, &why).isEmpty());
        QVERIFY(!why.isEmpty());
        m.setCapacity(QStringLiteral("SM"), 20);
        QCOMPARE(m.receive({{}, QStringLiteral("+1"), QString(200, QLatin1Char('x')), {}, Alphabet::Gsm7, -1, {}}, &why),
                 (QList<QByteArray>{"\r\n+CMTI: \"SM\",0\r\n", "\r\n+CMTI: \"SM\",1\r\n"}));
    }
};

QTEST_GUILESS_MAIN(TestPdu)
#include "tst_pdu.moc"
