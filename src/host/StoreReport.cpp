// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreReport.h"

#include "CommonUtils.h"
#include "HostLog.h"
#include "HostText.h"
#include "utps_sdk.h"

#include <QMessageBox>

namespace StoreReport {

namespace {

QString fromSdk(UTPS_WCHAR *text)
{
    const QString out = text ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text)) : QString();
    delete[] text;
    return out;
}

// What is wrong and what the user can do, by the SDK's condition; %1 is the database file.
QString problemText(int state)
{
    switch (state) {
    case UTPS_STORE_NO_SPACE:
        return HostText::text("IDS_HOST_STORE_NO_SPACE",
                              "The disk that holds the message database is full:\n%1\n\nFree some space "
                              "on that disk. Until then no message can be saved or received; the "
                              "messages saved so far are kept.");
    case UTPS_STORE_NO_PERMISSION:
        return HostText::text("IDS_HOST_STORE_NO_PERMISSION",
                              "The message database may not be written:\n%1\n\nGive your user write "
                              "access to that folder, or start the application with --data and a "
                              "folder you may write. Until then no message can be saved or received.");
    case UTPS_STORE_LOCKED:
        return HostText::text("IDS_HOST_STORE_LOCKED",
                              "Another program is using the message database:\n%1\n\nClose the other "
                              "copy of the application. Until then no message can be saved or received.");
    case UTPS_STORE_IO_ERROR:
        return HostText::text("IDS_HOST_STORE_IO_ERROR",
                              "The disk reported an error while reading or writing the message "
                              "database:\n%1\n\nThe file was left where it is. Check the disk; until the "
                              "error is gone no message can be saved or received.");
    default:
        return HostText::text("IDS_HOST_STORE_FAILED",
                              "The message database cannot be used:\n%1\n\nThe file was left where it "
                              "is. Until it can be used, no message can be saved or received.");
    }
}

} // namespace

int tellUser(QWidget *parent)
{
    int state = UTPS_STORE_OK;
    UTPS_WCHAR *pathText = nullptr;
    UTPS_WCHAR *asideText = nullptr;
    const long result = UTPS_SMSSrv_GetStoreState(&state, &pathText, &asideText);
    const QString path = fromSdk(pathText);
    const QString aside = fromSdk(asideText);
    if (result != 0) {
        qCWarning(lcHost) << "UTPS_SMSSrv_GetStoreState returned" << result;
        return 0;
    }
    int shown = 0;
    if (!aside.isEmpty()) {
        qCWarning(lcHost) << "damaged message database moved to" << aside;
        CommonUtils::ShowMessage(
            QMessageBox::Warning, parent,
            HostText::text("IDS_HOST_STORE_MOVED_TITLE", "Message database damaged"),
            HostText::text("IDS_HOST_STORE_MOVED",
                           "The message database was damaged and could not be read. It was moved "
                           "to:\n%1\n\nA new, empty database was started. Keep the old file if you "
                           "want to try to recover its messages.")
                .arg(aside),
            QStringLiteral("IDS_BTN_CLOSE"));
        ++shown;
    }
    const QString settingsAside = CommonUtils::SettingsMovedAside();
    if (!settingsAside.isEmpty()) {
        CommonUtils::ShowMessage(
            QMessageBox::Warning, parent,
            HostText::text("IDS_HOST_SETTINGS_MOVED_TITLE", "Settings damaged"),
            HostText::text("IDS_HOST_SETTINGS_MOVED",
                           "The settings file was damaged and could not be read. It was moved "
                           "to:\n%1\n\nThe default settings are used; change them again where "
                           "you had changed them. Keep the old file if you want to look into it.")
                .arg(settingsAside),
            QStringLiteral("IDS_BTN_CLOSE"));
        ++shown;
    }
    if (state != UTPS_STORE_OK) {
        qCWarning(lcHost) << "message database cannot be written, condition" << state << path;
        CommonUtils::ShowMessage(QMessageBox::Critical, parent,
                                 HostText::text("IDS_HOST_STORE_TITLE", "Messages cannot be saved"),
                                 problemText(state).arg(path), QStringLiteral("IDS_BTN_CLOSE"));
        ++shown;
    }
    return shown;
}

} // namespace StoreReport
