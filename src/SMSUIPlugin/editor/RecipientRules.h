// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the editor's recipient line takes: keystrokes checked against the store's number
// rules, and numbers picked from the address book, which stores them as people write
// them ("+44 7700 900123", "(030) 1234-56.78").
#include <QString>
#include <QStringList>

class SMSStatusUILogic;

namespace RecipientRules {

// number without the spaces, dashes, dots and parentheses people write into numbers.
QString normalisedNumber(const QString &number);

struct Pick
{
    QStringList accepted;  // for the line, in the order picked
    QStringList refused;   // as the address book gave them
};

// Sorts the address book's answer. Numbers that were in the line before (kept) stay as
// they are, valid or not: the user put them there. Every other number is normalised and
// accepted only when the store takes it as one recipient; duplicates go.
Pick sortPicked(SMSStatusUILogic &store, const QStringList &picked, const QStringList &kept);

// Whether the line may go from before to after. Only what the edit inserted is checked
// against the number characters, so that a recipient filled in by the application that is
// no number ("Bank Info" on a reply) can still be edited or deleted; the ";" and "+"
// placement rules hold for the whole line.
bool acceptsEdit(SMSStatusUILogic &store, const QString &before, const QString &after);

} // namespace RecipientRules
