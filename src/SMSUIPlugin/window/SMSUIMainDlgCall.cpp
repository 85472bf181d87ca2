// SPDX-License-Identifier: GPL-3.0-or-later
// Calling the sender of the selected message through the host's call plug-in, and saving
// that number in the host's address book. Both act on exactly one number.
#include "SMSUIMainDlg.h"

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

namespace {
constexpr QChar kSeparator = QLatin1Char(';');
constexpr int kVoiceCall = 0;
// SIM types the modem reports and the product type that changes what they may hold.
constexpr int kSimTypeRestricted = 4;  // usable for messages only on product type 1
constexpr int kSimTypeAlways = 3;
constexpr int kProductType1 = 1;
} // namespace

bool SMSUIMainDlg::simTypeAcceptsMessages(int simType, int productType)
{
    if (simType == kSimTypeRestricted)
        return productType == kProductType1;
    if (simType == kSimTypeAlways)
        return true;
    return productType != kProductType1;
}

int SMSUIMainDlg::getNumberCount(const QString &numbers)
{
    const int separators = int(numbers.count(kSeparator));
    return numbers.endsWith(kSeparator) ? separators : separators + 1;
}

void SMSUIMainDlg::showPrompt(QMessageBox::Icon icon, const QString &titleKey,
                              const QString &textKey)
{
    CommonUtils::ShowMessage(icon, this, tr(titleKey), tr(textKey),
                             QStringLiteral("IDS_OK"), QString(), QString(), true,
                             Qt::WindowFlags(), &m_pMessageBox);
    m_pMessageBox = nullptr;
}

void SMSUIMainDlg::onButtonClickCall()
{
    onButtonClickCallHandler(false);
}

void SMSUIMainDlg::OnCallKeyPress()
{
    if (!m_bCallEnabled) {
        qCDebug(lcSmsWindow) << "Call shortcut ignored: the Call command is disabled";
        return;
    }
    onButtonClickCallHandler(true);
}

void SMSUIMainDlg::onButtonClickCallHandler(bool fromShortcut)
{
    // The shortcut calls the selected message's sender only while the user is in the
    // table; from the tree or the search box it would call a message they are not on.
    if (fromShortcut && m_pCurrentTable && !m_pCurrentTable->hasFocus())
        return;
    if (m_strSelectedNumber.isEmpty()) {
        showPrompt(QMessageBox::Question, QStringLiteral("IDS_STR_CALL_TITLE"),
                   QStringLiteral("IDS_STR_CALLNUMBERISNULL"));
        return;
    }
    if (getNumberCount(m_strSelectedNumber) != 1) {
        showPrompt(QMessageBox::Question, QStringLiteral("IDS_STR_CALL_TITLE"),
                   QStringLiteral("IDS_STR_CALLNUMBERONLYONE"));
        return;
    }
    // A single recipient may be stored with its separator ("+4930...;"): dial the number.
    QString number = m_strSelectedNumber;
    if (number.endsWith(kSeparator))
        number.chop(1);
    if (CommonUtils::MakeCall(number, kVoiceCall) == 0)
        showPrompt(QMessageBox::Information, QStringLiteral("IDS_STR_CALL_TITLE"),
                   QStringLiteral("IDS_STR_MAKECALLFAILED"));
}

IAddrBookUIPlugin *SMSUIMainDlg::GetAddrBookPlugin()
{
    IAddrBookUIPlugin *book = addressBook();
    if (!book)
        qCDebug(lcSmsWindow) << "the address book plug-in is not available";
    return book;
}

void SMSUIMainDlg::SetAddrBookPluginFlag()
{
    m_bAddrBookAvailable = GetAddrBookPlugin() != nullptr;
}

void SMSUIMainDlg::onButtonClickedSaveNumber()
{
    IAddrBookUIPlugin *book = GetAddrBookPlugin();
    if (!book)
        return;
    if (m_strSelectedNumber.isEmpty()) {
        showPrompt(QMessageBox::Question, QStringLiteral("IDS_STR_SAVENUMBER_TITLE"),
                   QStringLiteral("IDS_STR_SAVENUMBERISNULL"));
        return;
    }
    if (m_strSelectedNumber.contains(kSeparator)) {
        showPrompt(QMessageBox::Warning, QStringLiteral("IDS_STR_SAVENUMBER_TITLE"),
                   QStringLiteral("IDS_STR_SAVENUMBERONLYONE"));
        return;
    }
    m_bSaveNumberFlag = true;
    book->SaveNumber(m_strSelectedNumber, parentWidget());
}
