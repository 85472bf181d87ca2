// SPDX-License-Identifier: GPL-3.0-or-later
// The SMS window's hold on the settings page: fetched with the window's logic objects,
// destroyed with the window.
#include "SMSUIMainDlg.h"

#include "settings/SmsSettingUIPlugin.h"

void SMSUIMainDlg::fetchSettingsPage()
{
    if (!m_pSettingsPage)
        m_pSettingsPage = SmsSettingUIPlugin::GetInstance();
}

void SMSUIMainDlg::destroySettingsPage()
{
    // The page destroys the settings logic with it; the window's pointer to that logic
    // is not used after this point.
    if (m_pSettingsPage) {
        SmsSettingUIPlugin::Destroy();
        m_pSettingsPage = nullptr;
        m_pSettingLogic = nullptr;
    }
}
