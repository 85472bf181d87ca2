// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells the user, once at start, what became of the message database: where a damaged one
// was moved, or why it cannot be written and what to do about it.
class QWidget;

namespace StoreReport {

// Asks the SDK and shows at most two boxes (damaged file moved aside; cannot be written).
// Returns how many it showed.
int tellUser(QWidget *parent);

} // namespace StoreReport
