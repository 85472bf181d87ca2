// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS window as a new user meets it: text in a right-to-left window, Tab's way through
// the window, empty folders, cut cells, and sizes that survive a restart.
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSplitter>
#include <QGlyphRun>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>

#include "Change.h"
#include "CommonUtils.h"
#include "window/SMSUITableWidget.h"
#include "window/SMSUITreeWidget.h"
#include "WindowFixture.h"

namespace {
// Where the character at position sits on screen in the preview, from its text layout:
// its visual order, whatever font draws it.
// Where the character at position is drawn in the preview (the middle of its glyph, from
// the text layout): its visual order, whatever font draws it.
qreal xOf(QTextBrowser *preview, int position)
{
    const QTextBlock block = preview->document()->findBlock(position);
    const int inBlock = position - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    const QList<QGlyphRun> runs = line.isValid() ? line.glyphRuns(inBlock, 1) : QList<QGlyphRun>();
    return runs.isEmpty() ? -1 : runs.first().boundingRect().center().x();
}
} // namespace

class tst_Layout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_fixture.tearDown();
        Change::SetLanguage(QStringLiteral("en"));
    }

    void previewReadsCorrectlyRightToLeft();
    void tabGoesTreeTablePreview();
    void emptyFolderSaysSo();
    void cutCellsExplainThemselves();
    void messageColumnTakesTheSpareWidth();
    void sizesSurviveARestart();
    void linkWithoutBrowserIsReported();

private:
    WindowFixture m_fixture;
};

void tst_Layout::previewReadsCorrectlyRightToLeft()
{
    m_fixture.setUp();
    const int id = WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+447700900123"),
                                       QStringLiteral("Running late (ten minutes)"),
                                       QStringLiteral("20261207013246"));
    QVERIFY(id >= 0);
    QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *table = w->tableAt(EN_LOCAL_INBOX);
    QCOMPARE(table->rowCount(), 1);
    const QRect cell = table->visualItemRect(table->item(0, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTextBrowser *preview = w->previewPane();
    QTRY_VERIFY(preview->document()->toPlainText().contains(QLatin1Char('+')));
    const QString text = preview->document()->toPlainText();

    // The number keeps its plus sign in front: left of its digits.
    int plus = text.indexOf(QLatin1Char('+'));
    QVERIFY2(plus >= 0, qPrintable(text));
    for (int i = 0; i < 2; ++i) {  // the sender's name (no contact: its number), the number
        QVERIFY(xOf(preview, plus) >= 0);
        QVERIFY2(xOf(preview, plus) < xOf(preview, plus + 1), qPrintable(QString::number(i)));
        plus = text.indexOf(QLatin1Char('+'), plus + 1);
    }
    // A Latin message reads left to right, its bracket after the words.
    const int running = text.indexOf(QStringLiteral("Running"));
    const int bracket = text.indexOf(QLatin1Char('('), running);
    QVERIFY(running >= 0 && bracket > running);
    QVERIFY(xOf(preview, running) >= 0);
    QVERIFY(xOf(preview, running) < xOf(preview, running + 1));
    QVERIFY(xOf(preview, running) < xOf(preview, bracket));
    // The time is written in the interface language, not in English.
    QVERIFY2(!text.contains(QStringLiteral("Dec")), qPrintable(text));
    QVERIFY(text.contains(QLocale(QStringLiteral("ar")).toString(7)));
}

void tst_Layout::tabGoesTreeTablePreview()
{
    m_fixture.setUp();
    WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550100"), QStringLiteral("one"));
    WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550101"), QStringLiteral("two"));
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    SMSUITableWidget *table = w->currentTable();
    w->treeWidget()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w->treeWidget()->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(table));
    // Tab leaves the table at once, not after walking its cells.
    QTest::keyClick(table, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->previewPane()));

    // The same order holds for a folder shown later.
    w->onClickSMSTreeNode(w->treeItem(EN_LOCAL_OUTBOX), 0);
    w->treeWidget()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->treeWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->currentTable()));
}

void tst_Layout::emptyFolderSaysSo()
{
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *drafts = w->tableAt(EN_LOCAL_DRAFT);
    QCOMPARE(drafts->rowCount(), 0);
    QCOMPARE(drafts->emptyText(), SMSUIMainDlg::tr(QStringLiteral("IDS_LST_EMPTYFOLDER")));
    QVERIFY(!drafts->emptyText().startsWith(QLatin1String("IDS_")));
    // It follows the language.
    QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
    w->SetLanguage(false);
    QCOMPARE(drafts->emptyText(), SMSUIMainDlg::tr(QStringLiteral("IDS_LST_EMPTYFOLDER")));
}

void tst_Layout::cutCellsExplainThemselves()
{
    m_fixture.setUp();
    const QString longText = QStringLiteral("A long message ").repeated(20);
    WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550100"), longText);
    WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550101"), QStringLiteral("short"));
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    SMSUITableWidget *table = w->currentTable();
    QCOMPARE(table->rowCount(), 2);
    const auto tooltipAt = [table](int row) {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000))
            return QStringLiteral("(an earlier tooltip stayed open)");
        const QRect cell = table->visualItemRect(table->item(row, 1));
        QHelpEvent event(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(table->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const int longRow = table->item(0, 1)->text() == longText ? 0 : 1;
    // Rich text that shows the message literally, isolated from the tip's own layout.
    QTextDocument tip;
    tip.setHtml(tooltipAt(longRow));
    QCOMPARE(tip.toPlainText(), QChar(0x2068) + longText + QChar(0x2069));
    QCOMPARE(tooltipAt(1 - longRow), QString());
}

void tst_Layout::messageColumnTakesTheSpareWidth()
{
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    // Folders out of sight until scrolled to: the tree can be scrolled.
    QCOMPARE(w->treeWidget()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    SMSUITableWidget *table = w->currentTable();
    for (int width : {900, 1380}) {
        w->resize(width, 600);
        QTRY_COMPARE(table->horizontalHeader()->length(), table->viewport()->width());
        QCOMPARE(table->columnWidth(0), 150);
        QVERIFY(table->columnWidth(2) >= 140);
    }
}

void tst_Layout::sizesSurviveARestart()
{
    m_fixture.setUp();
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    auto *vertical = w->findChild<QSplitter *>(QStringLiteral("SMSUIPlugin_SplitSmsWidgetMsgPreview"));
    QVERIFY(vertical);
    w->currentTable()->setColumnWidth(0, 211);
    QCOMPARE(w->tableAt(EN_LOCAL_OUTBOX)->columnWidth(0), 211);  // every folder alike
    vertical->setSizes({300, 200});
    w->onSplitterMoved(0, 0);
    const QList<int> previewSizes = vertical->sizes();
    SMSUIMainDlg::Destroy();

    w = WindowFixture::createWindow();
    QVERIFY(w);
    QCOMPARE(w->currentTable()->columnWidth(0), 211);
    QCOMPARE(w->tableAt(EN_LOCAL_TRASH)->columnWidth(0), 211);
    vertical = w->findChild<QSplitter *>(QStringLiteral("SMSUIPlugin_SplitSmsWidgetMsgPreview"));
    QTRY_COMPARE(vertical->sizes(), previewSizes);

    // Damaged values fall back to the built-in sizes.
    SMSUIMainDlg::Destroy();
    CommonUtils::SetSettings(QStringLiteral("SMSLayout"), QStringLiteral("ColumnWidths"),
                             QStringLiteral("abc,-4"));
    w = WindowFixture::createWindow();
    QVERIFY(w);
    QCOMPARE(w->currentTable()->columnWidth(0), 150);
}

void tst_Layout::linkWithoutBrowserIsReported()
{
    m_fixture.setUp();
    WindowFixture::save(EN_LOCAL_INBOX, QStringLiteral("+15550002"),
                        QStringLiteral("see http://example.com/x today"));
    QList<MessageRequest> boxes;
    const MessageResponder previousResponder =
        CommonUtils::SetMessageResponder([&boxes](const MessageRequest &request) {
            boxes << request;
            return int(QMessageBox::Ok);
        });
    const UrlOpener previousOpener = CommonUtils::SetUrlOpener([](const QUrl &) { return false; });
    const auto restore = qScopeGuard([&] {
        CommonUtils::SetUrlOpener(previousOpener);
        CommonUtils::SetMessageResponder(previousResponder);
    });
    SMSUIMainDlg *w = WindowFixture::createWindow();
    QVERIFY(w);
    const QRect cell = w->currentTable()->visualItemRect(w->currentTable()->item(0, 1));
    QTest::mouseClick(w->currentTable()->viewport(), Qt::LeftButton, {}, cell.center());
    const QString before = w->previewPane()->toPlainText();
    QVERIFY(before.contains(QStringLiteral("today")));

    w->openLink(QUrl(QStringLiteral("http://example.com/x")));
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first().text.contains(QStringLiteral("http://example.com/x")));
    QCOMPARE(w->previewPane()->toPlainText(), before);
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
