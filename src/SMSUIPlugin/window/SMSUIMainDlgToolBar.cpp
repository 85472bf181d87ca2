// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar above the message table: built from the configuration, items enabled and
// disabled by command id. What each command does is connected with the commands.
#include "SMSUIMainDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QShortcut>

#include "Change.h"
#include "MenuKeyShortcuts.h"
#include "CommonUtils.h"
#include "PluginIds.h"
#include "SmsLog.h"
#include "settings/SmsSettingXMLParse.h"

namespace {
const QString kPluginName = QStringLiteral("SMSUIPlugin");
constexpr int kSend = 9002;
constexpr int kReply = 9003;
constexpr int kForward = 9004;
constexpr int kDelete = 9001;
constexpr int kCall = 9005;
} // namespace

QWidget *SMSUIMainDlg::initToolBar(QWidget *parent)
{
    m_toolItems.clear();
    if (SmsSettingXMLParse *parser = SmsSettingXMLParse::GetInstance()) {
        const int result = parser->GetToolBarFromXML(&m_toolItems);
        if (result != 0)
            qCWarning(lcSmsWindow) << "no toolbar items in the configuration, result" << result;
    }
    return ToolBarLogic::CreateToolBar(kPluginName, parent, m_toolItems, &m_pButtonGroup,
                                       &m_pToolBarLayout, &m_pSearchBox, &m_pToolBarLabel);
}

int SMSUIMainDlg::enableToolBarItem(int id)
{
    switch (id) {
    case kSend: m_bSendEnabled = true; break;
    case kForward: m_bForwardEnabled = true; break;
    case kReply: m_bReplyEnabled = true; break;
    case kCall: m_bCallEnabled = true; break;
    default: break;
    }
    return ToolBarLogic::EnableDisableItem(kPluginName, m_toolItems, id, true);
}

int SMSUIMainDlg::disableToolBarItem(int id)
{
    if (m_toolItems.isEmpty())
        return 23;
    switch (id) {
    case kSend: m_bSendEnabled = false; break;
    case kForward: m_bForwardEnabled = false; break;
    case kReply: m_bReplyEnabled = false; break;
    case kCall: m_bCallEnabled = false; break;
    default: break;
    }
    return ToolBarLogic::EnableDisableItem(kPluginName, m_toolItems, id, false);
}

void SMSUIMainDlg::enableAllToolbarItems()
{
    for (int id : {kSend, kReply, kForward})
        enableToolBarItem(id);
}

void SMSUIMainDlg::disableAllToolbarItems()
{
    for (int id : {kSend, kReply, kForward, kDelete, kCall})
        disableToolBarItem(id);
}

void SMSUIMainDlg::supportShortcutsKeys()
{
    const auto apply = [](QShortcut *shortcut, const char *key) {
        if (!shortcut)
            return;
        QString text;
        QKeySequence sequence;
        Change::tr(QString::fromLatin1(key), kPluginName, text, sequence);
        shortcut->setKey(sequence);
    };
    apply(m_pNewShortcut, "IDS_MENU_NEW");
    apply(m_pEditShortcut, "IDS_MENU_EDIT");
    apply(m_pSendShortcut, "IDS_MENU_SEND");
    apply(m_pReplyShortcut, "IDS_MENU_REPLY");
    apply(m_pForwardShortcut, "IDS_MENU_FORWARD");
    apply(m_pDeleteShortcut, "IDS_MENU_DELETE");
    if (CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi)))
        apply(m_pCallShortcut, "IDS_MENU_CALL");
    apply(m_pSearchShortcut, "IDS_MENU_SEARCH");
    if (m_pMenuKeys)
        m_pMenuKeys->retranslate();
}

void SMSUIMainDlg::destroyToolBar()
{
    ToolBarLogic::DestroyToolButtonGroup(kPluginName);
    m_pButtonGroup = nullptr;
}

void SMSUIMainDlg::appendShortcuts()
{
    if (!m_pButtonGroup)
        return;
    const bool callAvailable =
        CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi));
    for (const ToolItem &item : std::as_const(m_toolItems)) {
        QAbstractButton *button = m_pButtonGroup->button(item.id);
        if (!button || item.tooltip.isEmpty() || (item.id == kCall && !callAvailable))
            continue;
        QString text;
        QKeySequence sequence;
        Change::tr(item.tooltip, kPluginName, text, sequence);
        button->setAccessibleName(text);
        if (!sequence.isEmpty())
            text += QStringLiteral("  (") + sequence.toString(QKeySequence::NativeText)
                + QLatin1Char(')');
        button->setToolTip(text);
    }
}
