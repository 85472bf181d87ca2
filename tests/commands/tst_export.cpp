// SPDX-License-Identifier: GPL-3.0-or-later
// Export to CSV as a spreadsheet would read it: the file is checked with Python's csv
// module, with texts holding commas, quotes, line breaks and non-Latin scripts.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "CommandsHost.h"
#include "store/SMSStatusUILogic.h"
#include "store/SmsTimeText.h"

#include <QDate>
#include <QFileInfo>

using namespace CommandsUi;

namespace {
// Prints {"bom": bool, "rows": [[...], ...], "endsWithLineFeed": bool} for the file.
const char kReader[] = R"(
import csv, json, sys
raw = open(sys.argv[1], 'rb').read()
with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:
    rows = list(csv.reader(f))
print(json.dumps({'bom': raw[:3] == b'\xef\xbb\xbf', 'rows': rows,
                  'endsWithLineFeed': raw.endswith(b'\n')}))
)";

QJsonObject readCsv(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning() << "python3 failed:" << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QStringList row(const QJsonArray &fields)
{
    QStringList out;
    for (const QJsonValue &v : fields)
        out << v.toString();
    return out;
}
} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_chooserCalls = 0;
        m_answer.clear();
        SMSUIMainDlg::setSaveFileChooser([this](QWidget *, const QString &, const QString &proposed,
                                                const QString &filter) {
            ++m_chooserCalls;
            m_proposed = proposed;
            m_filter = filter;
            return m_answer;
        });
    }
    void cleanup()
    {
        SMSUIMainDlg::setSaveFileChooser({});
        m_host.tearDown();
        m_fixture.tearDown();
    }

    void folderWithAwkwardTextsRoundTrips();
    void smallExportByteForByte();
    void selectionOnlyAndNothingSelected();
    void cancelledOrUnwritableWritesNothing();

private:
    SMSUIMainDlg *windowWith(const QStringList &contents)
    {
        m_fixture.setUp();
        m_host.setUp();
        for (int i = 0; i < contents.size(); ++i) {
            if (WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+4960%1").arg(i), contents.at(i),
                                    QStringLiteral("202601%1").arg(10 + i) + QStringLiteral("120000"))
                < 0)
                return nullptr;
        }
        return WindowFixture::createWindow();
    }

    WindowFixture m_fixture;
    CommandsHost m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_answer;
    QString m_proposed;
    QString m_filter;
    int m_chooserCalls = 0;
};

void tst_Export::folderWithAwkwardTextsRoundTrips()
{
    const QStringList contents{
        QStringLiteral("plain"),
        QStringLiteral("comma, and \"quoted\" words"),
        QStringLiteral("two\nlines and\r\nthree"),
        QStringLiteral("مرحبا بالعالم، كيف الحال؟"),
        QStringLiteral("漢字とかな 🙂"),
        QStringLiteral("\"\"starts and ends with quotes\"\""),
    };
    SMSUIMainDlg *w = windowWith(contents);
    QVERIFY(w);
    m_answer = m_dir->filePath(QStringLiteral("all.csv"));
    w->onClickExportAllSMS();
    QCOMPARE(m_chooserCalls, 1);
    // Accepting the proposal as it stands makes a useful file, not one named "*.csv".
    QCOMPARE(QFileInfo(m_proposed).fileName(),
             QStringLiteral("messages-Inbox-%1.csv")
                 .arg(QDate::currentDate().toString(Qt::ISODate)));
    QVERIFY(m_filter.contains(QStringLiteral("*.csv")));
    QCOMPARE(m_host.promptTexts(), QStringList{ids("IDS_SMS_BACKUPSUCCESS")});
    QCOMPARE(m_host.prompts.first().title, ids("IDS_STR_EXPORT_TITLE"));

    const QJsonObject csv = readCsv(m_answer);
    QVERIFY(csv.value(QStringLiteral("bom")).toBool());
    QVERIFY(csv.value(QStringLiteral("endsWithLineFeed")).toBool());
    const QJsonArray rows = csv.value(QStringLiteral("rows")).toArray();
    QCOMPARE(rows.size(), contents.size() + 1);
    QCOMPARE(row(rows.at(0).toArray()),
             (QStringList{ids("IDS_LST_NAME") + QLatin1Char('/') + ids("IDS_LST_TEL"),
                          ids("IDS_LST_CONTENT"), ids("IDS_LST_TIME")}));
    // In table order (newest first), each message one record of three fields.
    SMSUITableWidget *table = w->currentTable();
    for (int r = 0; r < table->rowCount(); ++r) {
        const SmsRecord *record = table->recordAt(r);
        QCOMPARE(row(rows.at(r + 1).toArray()),
                 (QStringList{QLatin1Char('\'') + record->strNumber, record->strContent,
                              SmsTimeFromText(record->strTime)
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}));
    }
    QCOMPARE(row(rows.at(1).toArray()).at(1), contents.last());
}

// The whole file as a spreadsheet receives it: byte-order mark, header, every field quoted,
// line feeds only, sortable times, and texts a spreadsheet would run as formulas defused.
void tst_Export::smallExportByteForByte()
{
    SMSUIMainDlg *w = windowWith({QStringLiteral("=HYPERLINK(\"http://x.example\",\"win\")"),
                                  QStringLiteral("-1+2"), QStringLiteral("@SUM(A1)"),
                                  QStringLiteral("\tindented"), QStringLiteral("\rreturn"),
                                  QStringLiteral("a = b, \"c\"\nd")});
    QVERIFY(w);
    m_answer = m_dir->filePath(QStringLiteral("small.csv"));
    w->onClickExportAllSMS();
    QFile file(m_answer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + "Name/Number,Message,Time\n"
          "\"'+49605\",\"a = b, \"\"c\"\"\nd\",\"2026-01-15 12:00:00\"\n"
          "\"'+49604\",\"'\rreturn\",\"2026-01-14 12:00:00\"\n"
          "\"'+49603\",\"'\tindented\",\"2026-01-13 12:00:00\"\n"
          "\"'+49602\",\"'@SUM(A1)\",\"2026-01-12 12:00:00\"\n"
          "\"'+49601\",\"'-1+2\",\"2026-01-11 12:00:00\"\n"
          "\"'+49600\",\"'=HYPERLINK(\"\"http://x.example\"\",\"\"win\"\")\",\"2026-01-10 12:00:00\"\n";
    QCOMPARE(file.readAll(), expected);
}

void tst_Export::selectionOnlyAndNothingSelected()
{
    SMSUIMainDlg *w = windowWith({QStringLiteral("first"), QStringLiteral("second"),
                                  QStringLiteral("third")});
    QVERIFY(w);
    SMSUITableWidget *table = w->currentTable();
    m_answer = m_dir->filePath(QStringLiteral("none.csv"));
    w->onClickExportSMS();
    QCOMPARE(readCsv(m_answer).value(QStringLiteral("rows")).toArray().size(), 1);
    QCOMPARE(m_host.promptTexts(), QStringList{ids("IDS_SMS_BACKUPSUCCESS")});

    clickRow(table, 2);
    clickRow(table, 0, Qt::ControlModifier);
    m_answer = m_dir->filePath(QStringLiteral("two.csv"));
    w->onClickExportSMS();
    QCOMPARE(w->exportMode(), 1);
    const QJsonArray rows = readCsv(m_answer).value(QStringLiteral("rows")).toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(row(rows.at(1).toArray()).at(1), table->recordAt(0)->strContent);
    QCOMPARE(row(rows.at(2).toArray()).at(1), table->recordAt(2)->strContent);
}

void tst_Export::cancelledOrUnwritableWritesNothing()
{
    SMSUIMainDlg *w = windowWith({QStringLiteral("x")});
    QVERIFY(w);
    w->onClickExportAllSMS();  // the chooser answers a null name: cancelled
    QCOMPARE(m_chooserCalls, 1);
    QVERIFY(m_host.prompts.isEmpty());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());

    m_answer = m_dir->filePath(QStringLiteral("missing/folder/out.csv"));
    w->onClickExportAllSMS();
    QCOMPARE(m_host.promptTexts(), QStringList{ids("IDS_SMS_BACKUPFAILURE")});
    QCOMPARE(m_host.prompts.first().title, ids("IDS_ERROR_CAPTION"));
    QVERIFY(!QFile::exists(m_answer));
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
