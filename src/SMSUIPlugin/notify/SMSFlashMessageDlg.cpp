// SPDX-License-Identifier: GPL-3.0-or-later
#include "SMSFlashMessageDlg.h"

#include <QPushButton>
#include <QTextEdit>

#include "Change.h"

namespace {
QString text(const char *key)
{
    return Change::tr(QString::fromLatin1(key), QStringLiteral("SMSUIPlugin"));
}
} // namespace

SMSFlashMessageDlg::SMSFlashMessageDlg()
    : ExtendDialog(nullptr, Qt::WindowCloseButtonHint, ExtendDialog::FramedTitle)
{
    setObjectName(QStringLiteral("SMSUIPlugin_FlashMessageDialog"));
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("SMSUIPlugin_FlashMessagePage"));
    m_pCloseButton = new QPushButton(page);
    m_pCloseButton->setObjectName(QStringLiteral("SMSUIPlugin_FlashMessageClose"));
    m_pCloseButton->setGeometry(305, 190, 75, 35);
    m_pTextEdit = new QTextEdit(page);
    m_pTextEdit->setObjectName(QStringLiteral("SMSUIPlugin_FlashMessageText"));
    m_pTextEdit->setGeometry(15, 15, 375, 160);
    m_pTextEdit->setReadOnly(true);
    m_pTextEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    AddMainWidget(page);
    setFixedSize(405, 275);
    retranslate();
}

void SMSFlashMessageDlg::setMessageHtml(const QString &html)
{
    m_pTextEdit->setHtml(html);
}

void SMSFlashMessageDlg::retranslate()
{
    setWindowTitle(text("IDS_STC_NEWMSG"));
    m_pCloseButton->setText(text("IDS_BTN_CLOSE"));
    m_pTextEdit->setAccessibleName(text("IDS_ACC_FLASH_TEXT"));
}

QString SMSFlashMessageDlg::messageHtml(const QString &name, const QString &number,
                                        const QString &content, const QString &time)
{
    // The name label is followed by a bare colon; the message text starts on its own line.
    return text("IDS_LST_NAME") + QLatin1Char(':') + name + QStringLiteral("<BR>")
        + text("IDS_LST_TEL") + QStringLiteral(": ") + number + QStringLiteral("<BR>")
        + text("IDS_LST_CONTENT") + QStringLiteral(": ") + QStringLiteral("<BR>") + content
        + QStringLiteral("<BR>") + text("IDS_LST_TIME") + QStringLiteral(": ") + time;
}
