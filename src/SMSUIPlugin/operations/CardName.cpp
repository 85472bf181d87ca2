// SPDX-License-Identifier: GPL-3.0-or-later
#include "CardName.h"

#include "Change.h"
#include "CommonUtils.h"

namespace CardName {

QString forProduct(bool cdma)
{
    const QString configured = CommonUtils::GetSettings(
        QStringLiteral("customize"), cdma ? QStringLiteral("uimtype") : QStringLiteral("simtype"));
    if (!configured.trimmed().isEmpty())
        return configured;
    return Change::tr(cdma ? QStringLiteral("IDS_CARD_UIM") : QStringLiteral("IDS_CARD_SIM"),
                      QStringLiteral("SMSUIPlugin"));
}

} // namespace CardName
