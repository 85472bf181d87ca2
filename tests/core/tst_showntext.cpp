// SPDX-License-Identifier: GPL-3.0-or-later
// Text from outside shown among the application's words: isolated, balanced, literal.
#include "ShownText.h"

#include <QTextDocument>
#include <QtTest>

namespace {
const QString FSI(QChar(0x2068));
const QString PDI(QChar(0x2069));
const QString LRI(QChar(0x2066));
const QString RLI(QChar(0x2067));
const QString RLO(QChar(0x202E));
const QString LRE(QChar(0x202A));
const QString PDF(QChar(0x202C));
} // namespace

class TestShownText : public QObject
{
    Q_OBJECT
private slots:
    void fieldIsBalancedAndIsolated_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("inside");  // what stands between our FSI and PDI
        QTest::newRow("plain") << "Ann" << "Ann";
        QTest::newRow("override left open is closed") << RLO + "evil" << RLO + "evil" + PDF;
        QTest::newRow("isolates left open are closed innermost first")
            << LRI + LRE + "x" << LRI + LRE + "x" + PDF + PDI;
        QTest::newRow("stray isolate end dropped") << "a" + PDI + RLO + "b" << "a" + RLO + "b" + PDF;
        QTest::newRow("stray embedding end dropped") << "a" + PDF + "b" << "ab";
        QTest::newRow("balanced pairs kept") << RLI + "x" + PDI + LRE + "y" + PDF
                                             << RLI + "x" + PDI + LRE + "y" + PDF;
        QTest::newRow("isolate end closes the override inside it")
            << LRI + RLO + "x" + PDI << LRI + RLO + "x" + PDI;
        QTest::newRow("embedding end cannot close an isolate")
            << RLO + LRI + PDF << RLO + LRI + PDI + PDF;
        // A paragraph ends every run the algorithm knows of: each one is closed before it.
        QTest::newRow("per paragraph") << RLO + "a\n" + PDI + "b" << RLO + "a" + PDF + "\nb";
        QTest::newRow("lone surrogates replaced")
            << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xDC00)
            << QStringLiteral("a\uFFFDb\uFFFD");
        QTest::newRow("pair kept") << QStringLiteral("\U0001F600") << QStringLiteral("\U0001F600");
    }
    void fieldIsBalancedAndIsolated()
    {
        QFETCH(QString, text);
        QFETCH(QString, inside);
        QCOMPARE(ShownText::field(text), FSI + inside + PDI);
        QCOMPARE(ShownText::field(QString()), QString());
    }

    // Rich-text widgets show markup and entities of a field as typed.
    void richTextShowsFieldLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup") << "<b>x</b><img src=\"/nonexistent.png\">";
        QTest::newRow("entities") << "&lt;b&gt; &#x202E; &amp;";
        QTest::newRow("quotes and lines") << "\"a\" 'b'\nc";
    }
    void richTextShowsFieldLiterally()
    {
        QFETCH(QString, text);
        QTextDocument html;
        html.setHtml(ShownText::htmlField(text));
        QCOMPARE(html.toPlainText(), ShownText::field(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        QTextDocument tip;
        tip.setHtml(ShownText::toolTip(text));
        QCOMPARE(tip.toPlainText(), ShownText::field(text));
    }
};

QTEST_MAIN(TestShownText)
#include "tst_showntext.moc"
