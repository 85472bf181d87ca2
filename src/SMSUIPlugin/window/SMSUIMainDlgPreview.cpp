// SPDX-License-Identifier: GPL-3.0-or-later
// The preview pane below the message table: folder text, or the selected message as HTML.
#include "SMSUIMainDlg.h"

#include <QMessageBox>
#include <QTextBrowser>
#include <QTreeWidgetItem>

#include "CommonUtils.h"
#include "ShownText.h"
#include "store/SMSStatusUILogic.h"
#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"
#include "SmsLog.h"
#include "utps_sdk.h"

namespace {
// Product type whose modems carry a message priority worth showing.
constexpr int kProductWithPriority = 1;
constexpr int kDefaultProductType = 3;
} // namespace

QString SMSUIMainDlg::escapeForPreview(const QString &text)
{
    return ShownText::htmlField(text);
}

QString SMSUIMainDlg::linkedForPreview(const QString &text)
{
    // Escaped first, so that the anchors the host adds are the only markup in the text.
    return CommonUtils::ParseAndCreateHyperLinks(escapeForPreview(text))
        .replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
}

QString SMSUIMainDlg::buildMessageHtml(const QString &names, const QString &number,
                                       const QString &content, const QString &displayTime,
                                       const QString &priorityKey)
{
    QString html = tr(QStringLiteral("IDS_LST_NAME")) + QLatin1Char(':') + names
        + QStringLiteral("<BR>") + tr(QStringLiteral("IDS_LST_TEL")) + QStringLiteral(": ")
        + number + QStringLiteral("<BR>") + tr(QStringLiteral("IDS_LST_CONTENT"))
        + QStringLiteral(":  <BR>") + content + QStringLiteral(" <BR>")
        + tr(QStringLiteral("IDS_LST_TIME")) + QStringLiteral(": ") + displayTime;
    if (!priorityKey.isEmpty())
        html += QStringLiteral(" <BR>") + tr(QStringLiteral("IDS_STC_PRIORITY"))
            + QStringLiteral(": ") + tr(priorityKey);
    return html;
}

QString SMSUIMainDlg::showSMSConentInPreviewPane()
{
    return linkedForPreview(m_strSelectedContent);
}

void SMSUIMainDlg::previewRecord(SmsRecord *record, int selectedRows)
{
    m_strSelectedContent = record->strContent;
    m_strSelectedNumber = record->strNumber;
    m_iSelectedRecordId = record->iMsgId;
    // Every field is isolated in its own direction whichever way the window reads, so
    // brackets, numbers and overrides in a message stay inside it.
    const QString names = escapeForPreview(record->strPbNames);
    const QString content = showSMSConentInPreviewPane();
    record->strDisplayTime = m_pStatusLogicObject->getUIDisplayTime(record->strTime);
    fillTextPreviewPane(names, content, record, selectedRows);
}

QString SMSUIMainDlg::priorityKeyFor(const SmsRecord &record) const
{
    return m_pStatusLogicObject->getMessagePriority(record.iMessagePriority, m_bMultiModeCard,
                                                    m_bHideDualModeCard);
}

void SMSUIMainDlg::fillTextPreviewPane(const QString &names, const QString &content,
                                       SmsRecord *record, int selectedRows)
{
    if (!record || !m_pTextPreview || !m_pStatusLogicObject)
        return;
    int productType = kDefaultProductType;
    const long result = UTPS_DevSrv_GetProductType(&productType);
    if (result != 0) {
        qCWarning(lcSmsWindow) << "UTPS_DevSrv_GetProductType failed:" << result;
        return;
    }
    const QString priority =
        productType == kProductWithPriority ? priorityKeyFor(*record) : QString();
    // A sender from the network may be any text, markup included.
    QString html = buildMessageHtml(names, escapeForPreview(m_strSelectedNumber), content,
                                    escapeForPreview(record->strDisplayTime), priority);
    if (IsSendUnknown(*record))
        html += QStringLiteral(" <BR>") + escapeForPreview(tr(QStringLiteral("IDS_STR_SEND_UNKNOWN")));
    if (selectedRows <= 1) {
        m_pTextPreview->setHtml(html);
        m_strLastPreviewText = html;
    }
}

QString SMSUIMainDlg::folderText(const QString &nodeText) const
{
    if (m_bShowSMCount)
        return nodeText;
    const int rows = m_pCurrentTable ? m_pCurrentTable->rowCount() : 0;
    return nodeText + QLatin1Char('\n') + tr(QStringLiteral("IDS_STR_SMSCOUNT"))
        + QString::number(rows);
}

void SMSUIMainDlg::showFolderText(const QString &nodeText)
{
    m_pTextPreview->setPlainText(folderText(nodeText));
}

void SMSUIMainDlg::loadPreviewtextOnTreeNodeClick(const QString &nodeText)
{
    if (!m_pTextPreview || !m_pStatusLogicObject || !m_pCurrentTable)
        return;
    m_pTextPreview->setReadOnly(true);
    m_pTextPreview->selectAll();
    m_pTextPreview->clearFocus();
    showFolderText(nodeText);
}

void SMSUIMainDlg::reSetPreviewArea()
{
    if (!m_pTextPreview || !m_pCurrentTable || !m_pTreeWidget)
        return;
    m_pTextPreview->clear();
    m_pTextPreview->selectAll();
    m_pTextPreview->clearFocus();
    m_pCurrentTreeItem = m_pTreeWidget->currentItem();
    m_strNodeText = m_pCurrentTreeItem ? m_pCurrentTreeItem->text(0) : QString();
    showFolderText(m_strNodeText);
}

void SMSUIMainDlg::setLanguageForPreviewAtTableSelection()
{
    if (!m_pCurrentTable || !m_pCurrentTreeItem || !m_pTextPreview)
        return;
    const QList<int> rows = m_pCurrentTable->selectedRowNumbers();
    if (rows.size() == 1) {
        if (SmsRecord *record = m_pCurrentTable->recordAt(rows.first());
            record && m_pStatusLogicObject)
            previewRecord(record, 1);
        return;
    }
    if (rows.isEmpty()) {
        m_strNodeText = m_strNodeText.isEmpty() ? tr(QStringLiteral("IDS_TREE_LINBOX"))
                                                : m_pCurrentTreeItem->text(0);
    }
    showFolderText(m_strNodeText);
}

void SMSUIMainDlg::updatePreviewPaneForRightClick()
{
    enableToolBarItem(9001);
    m_strLastPreviewText.clear();
    if (!m_pCurrentTable || !m_pStatusLogicObject || !m_pTextPreview)
        return;
    const QList<int> rows = m_pCurrentTable->selectedRowNumbers();
    if (rows.isEmpty())
        return;
    if (SmsRecord *record = m_pCurrentTable->recordAt(rows.first()))
        previewRecord(record, rows.size());
}

void SMSUIMainDlg::openLink(const QUrl &url)
{
    if (!CommonUtils::LaunchBrowser(QUrl(url.toString()))) {
        // Nothing on this machine opens the address: say so instead of doing nothing.
        CommonUtils::ShowMessage(QMessageBox::Warning, this,
                                 tr(QStringLiteral("IDS_STR_OPENLINK_TITLE")),
                                 tr(QStringLiteral("IDS_STR_NOBROWSER")).arg(url.toString()),
                                 QStringLiteral("IDS_OK"), QString(), QString(),
                                 /* modal */ true, Qt::WindowCloseButtonHint);
    }
    if (!m_pTextPreview)
        return;
    // The browser widget has navigated to the link target by now; put the message back.
    m_pTextPreview->setHtml(m_strLastPreviewText);
}
