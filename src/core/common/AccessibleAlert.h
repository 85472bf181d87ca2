// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows that pop up on their own (a new message, a full storage) without taking the
// keyboard focus: a screen reader says nothing about them unless they are alerts.
#include "CoreExport.h"

class QWidget;

namespace AccessibleAlert {

// Gives window the alert role for assistive technology. Call before the window is first
// shown: its accessible interface is made once and kept.
DIALCREST_CORE_EXPORT void mark(QWidget *window);
// Tells assistive technology that window, now shown, is an alert to read out.
DIALCREST_CORE_EXPORT void announce(QWidget *window);

} // namespace AccessibleAlert
