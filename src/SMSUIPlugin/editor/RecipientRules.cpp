// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecipientRules.h"

#include <algorithm>

#include "store/SMSStatusUILogic.h"

QString RecipientRules::normalisedNumber(const QString &number)
{
    static const QString separators = QStringLiteral("-.()");
    QString out;
    out.reserve(number.size());
    for (QChar c : number) {
        if (!c.isSpace() && !separators.contains(c))
            out += c;
    }
    return out;
}

RecipientRules::Pick RecipientRules::sortPicked(SMSStatusUILogic &store, const QStringList &picked,
                                                const QStringList &kept)
{
    Pick pick;
    for (const QString &number : picked) {
        if (kept.contains(number)) {
            if (!pick.accepted.contains(number))
                pick.accepted << number;
            continue;
        }
        QString normalised = normalisedNumber(number);
        const bool one = !normalised.isEmpty() && !normalised.contains(QLatin1Char(';'));
        if (!one || !store.IsInputNumberValid(normalised))
            pick.refused << number;
        else if (!pick.accepted.contains(normalised))
            pick.accepted << normalised;
    }
    return pick;
}

bool RecipientRules::acceptsEdit(SMSStatusUILogic &store, const QString &before, const QString &after)
{
    const auto shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    const QStringView inserted = QStringView(after).mid(prefix, after.size() - prefix - suffix);
    const QString allowed = store.GetNumberCharacters();
    const bool charactersValid = std::all_of(inserted.cbegin(), inserted.cend(),
                                             [&allowed](QChar c) { return allowed.contains(c); });
    QString line = after;
    return charactersValid && store.IsLimitSemicolon(line) && store.IsLimitPlusPos(line);
}
