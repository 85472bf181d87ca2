// SPDX-License-Identifier: GPL-3.0-or-later
// Names for assistive technology: the folder tree, each folder's table and the preview have
// no visible label, so a screen reader would announce them as bare "tree", "table" and
// "text". Named again after a language change.
#include "SMSUIMainDlg.h"

#include <QTextBrowser>

#include "SMSUITableWidget.h"
#include "SMSUITreeWidget.h"

void SMSUIMainDlg::nameControls()
{
    if (m_pTreeWidget) {
        m_pTreeWidget->setAccessibleName(tr(QStringLiteral("IDS_ACC_FOLDERS")));
        m_pTreeWidget->setAccessibleDescription(tr(QStringLiteral("IDS_ACC_FOLDERS_DESC")));
    }
    nameTables();
    if (m_pTextPreview)
        m_pTextPreview->setAccessibleName(tr(QStringLiteral("IDS_ACC_PREVIEW")));
}

void SMSUIMainDlg::nameTables()
{
    const QString description = tr(QStringLiteral("IDS_ACC_MESSAGES_DESC"));
    for (auto it = m_tableMap.cbegin(); it != m_tableMap.cend(); ++it) {
        if (!it.value())
            continue;
        // "Inbox: messages", so that moving between folders says where one is.
        it.value()->setAccessibleName(
            tr(QStringLiteral("IDS_ACC_MESSAGES")).arg(folderTitle(it.key())));
        it.value()->setAccessibleDescription(description);
    }
}
