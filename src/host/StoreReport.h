// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells the user, once at start, what became of the files that hold their data: where a
// damaged message database or settings file was moved, or why the database cannot be
// written and what to do about it.
class QWidget;

namespace StoreReport {

// Asks the SDK and the settings and shows at most three boxes (damaged database moved
// aside; damaged settings moved aside; database cannot be written).
// Returns how many it showed.
int tellUser(QWidget *parent);

} // namespace StoreReport
