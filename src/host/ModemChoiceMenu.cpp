// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModemChoiceMenu.h"

#include "CommonUtils.h"
#include "HostLog.h"
#include "HostText.h"
#include "sdk_backend.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

const QString kGroup = QStringLiteral("modem");
const QString kKey = QStringLiteral("chosen");

std::vector<SdkModemInfo> listed()
{
    // Two passes: a modem may come between counting and listing.
    int count = 0;
    std::vector<SdkModemInfo> modems(4);
    for (int pass = 0; pass < 2; ++pass) {
        if (SdkBackend_ListModems(modems.data(), int(modems.size()), &count) != UTPS_OK)
            return {};
        if (size_t(count) <= modems.size())
            break;
        modems.resize(size_t(count));
    }
    modems.resize(std::min(modems.size(), size_t(std::max(count, 0))));
    return modems;
}

} // namespace

ModemChoiceMenu::ModemChoiceMenu(QMenu *parentMenu, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_menu(parentMenu->addMenu(QString()))
    , m_group(new QActionGroup(m_menu))
{
    m_menu->setObjectName(QStringLiteral("dialcrest_MenuModemChoice"));
    HostText::bind(m_menu, "IDS_HOST_MODEM_CHOICE", "Modem in &use");
    m_group->setExclusive(true);
    connect(m_menu, &QMenu::aboutToShow, this, &ModemChoiceMenu::refresh);
    refresh();
}

void ModemChoiceMenu::refresh()
{
    const std::vector<SdkModemInfo> modems = listed();
    QStringList now;
    for (const SdkModemInfo &m : modems)
        now << QString::fromUtf8(m.identity) << QString::fromUtf8(m.label) << QString::number(m.inUse);
    if (now == m_shown && !m_menu->isEmpty())
        return;
    m_shown = now;
    m_menu->clear();
    if (modems.empty()) {
        QAction *none = m_menu->addAction(QString());
        none->setObjectName(QStringLiteral("dialcrest_ModemChoiceNone"));
        none->setEnabled(false);
        HostText::bind(none, "IDS_HOST_MODEM_NONE", "No modem found");
        return;
    }
    for (const SdkModemInfo &m : modems) {
        const QString identity = QString::fromUtf8(m.identity);
        QString label = QString::fromUtf8(m.label);
        // A label is the modem's own text: an & in it is a character, not a shortcut.
        QAction *entry = m_menu->addAction(label.replace(QLatin1Char('&'), QStringLiteral("&&")));
        entry->setObjectName(QStringLiteral("dialcrest_ModemChoice_") + identity);
        entry->setCheckable(true);
        entry->setChecked(m.inUse != 0);
        entry->setToolTip(identity);
        m_group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, identity] { choose(identity); });
    }
}

long ModemChoiceMenu::choose(const QString &identity)
{
    const long rc = SdkBackend_UseModem(identity.toUtf8().constData());
    if (rc == UTPS_OK) {
        qCInfo(lcHost) << "modem chosen:" << identity;
        CommonUtils::SetSettings(kGroup, kKey, identity);
    } else {
        qCWarning(lcHost) << "switching to modem" << identity << "failed:" << rc;
        const QString text = rc == UTPS_E_BUSY
                                 ? HostText::text("IDS_HOST_MODEM_CHOICE_BUSY",
                                                  "A message is being sent or messages are being moved. "
                                                  "Choose the other modem once that is done.")
                                 : HostText::text("IDS_HOST_MODEM_CHOICE_GONE", "That modem is no longer there.");
        if (m_window && m_window->isVisible())
            QMessageBox::warning(m_window, HostText::text("IDS_HOST_MENU_MODEM", "&Modem").remove(QLatin1Char('&')),
                                 text);
    }
    // The check mark follows the modem in use, whatever the answer.
    m_shown.clear();
    refresh();
    return rc;
}

QString ModemChoiceMenu::remembered()
{
    return CommonUtils::GetSettings(kGroup, kKey);
}

bool ModemChoiceMenu::useRemembered(const QString &commandLineChoice)
{
    const QString identity = remembered();
    if (commandLineChoice != QLatin1String("modemmanager") || identity.isEmpty())
        return false;
    for (const SdkModemInfo &m : listed()) {
        if (identity == QString::fromUtf8(m.identity)) {
            qCInfo(lcHost) << "using the modem chosen last time:" << identity;
            return SdkBackend_UseModem(m.identity) == UTPS_OK;
        }
    }
    qCInfo(lcHost) << "the modem chosen last time is not there:" << identity;
    return false;
}
